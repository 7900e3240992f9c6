#include "platform/music/instruments.h"

#include <gtest/gtest.h>

using platform::music::Instrument;
using platform::music::InstrumentsOf;
using platform::music::MidiSong;

namespace {

TEST(Instruments, EachBankAndProgramOnceWithTheDrumChannelsKitsInBank128) {
    MidiSong song;
    // The bank's low byte (controller 32) is not how FluidSynth picks banks.
    song.events = {{0, 0xC0, 40, 0}, {0, 0xB1, 0, 8},  {0, 0xC1, 40, 0}, {5, 0xB9, 0, 3},
                   {5, 0xC9, 25, 0}, {9, 0xC0, 40, 0}, {9, 0xB1, 32, 5}, {9, 0xC1, 81, 0}};
    std::vector<Instrument> expected = {{0, 0}, {0, 40}, {8, 40}, {8, 81}, {128, 0}, {128, 25}};
    EXPECT_EQ(InstrumentsOf(song), expected);
}

}  // namespace
