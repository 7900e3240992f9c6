// The instruments a song plays: each bank and program that its channels select, with the
// drum channel's kits in bank 128, as a General MIDI synthesiser finds them.
#pragma once

#include <vector>

#include "platform/music/midi_song.h"

namespace platform::music {

struct Instrument {
    int bank;
    int program;
    bool operator==(const Instrument&) const = default;
    auto operator<=>(const Instrument&) const = default;
};

constexpr int kDrumBank = 128;
constexpr int kDrumChannel = 9;

// Sorted, each once; every channel's starting instrument (program 0) is among them.
std::vector<Instrument> InstrumentsOf(const MidiSong& song);

}  // namespace platform::music
