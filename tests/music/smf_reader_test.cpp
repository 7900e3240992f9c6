#include "platform/music/smf_reader.h"

#include <gtest/gtest.h>

#include "tests/music/midi_bytes.h"
#include "tests/case_names.h"

using namespace midi_bytes;
using platform::music::MidiEvent;
using platform::music::MidiSong;
using platform::music::ReadStandardMidiFile;
using platform::music::SmfError;

namespace {

MidiSong Read(const std::string& file) {
    MidiSong song;
    EXPECT_EQ(ReadStandardMidiFile(Data(file), file.size(), song), SmfError::None);
    return song;
}

std::vector<std::vector<int>> Events(const MidiSong& song) {
    std::vector<std::vector<int>> events;
    for (const MidiEvent& e : song.events) {
        events.push_back({static_cast<int>(e.tick), e.status, e.data1, e.data2});
    }
    return events;
}

TEST(SmfReader, RunningStatusCarriesOverUntilAMetaOrSysexEvent) {
    MidiSong song =
        Read(File(0, 96,
                  {At(0, {0x90, 60, 100}) + At(10, {62, 90}) + At(5, {0xC1, 7}) +
                   At(0, {8}) +  // one data byte
                   At(1, {0xF0, 0x02, 0x7E, 0xF7}) + At(1, {0xB2, 7, 99}) + EndOfTrack(4)}));
    EXPECT_EQ(song.ticksPerQuarter, 96);
    EXPECT_EQ(Events(song), (std::vector<std::vector<int>>{{0, 0x90, 60, 100},
                                                           {10, 0x90, 62, 90},
                                                           {15, 0xC1, 7, 0},
                                                           {15, 0xC1, 8, 0},
                                                           {17, 0xB2, 7, 99}}));
    EXPECT_EQ(song.lengthTicks, 21u);
}

TEST(SmfReader, FormatOneMergesTracksByTickThenTrackOrder) {
    MidiSong song = Read(File(1, 480,
                              {Tempo(0, 400000) + EndOfTrack(960),
                               At(0, {0x90, 60, 1}) + At(480, {0x80, 60, 0}) + EndOfTrack(),
                               At(480, {0x91, 64, 2}) + At(100, {0x81, 64, 0}) + EndOfTrack(10)}));
    EXPECT_EQ(Events(song),
              (std::vector<std::vector<int>>{
                  {0, 0x90, 60, 1}, {480, 0x80, 60, 0}, {480, 0x91, 64, 2}, {580, 0x81, 64, 0}}));
    EXPECT_EQ(song.lengthTicks, 960u);  // the longest track, counted to its end
}

TEST(SmfReader, TempoChangesAreSortedWithADefaultAtTheStartAndTheLastWinningATick) {
    MidiSong song = Read(File(1, 480,
                              {Tempo(960, 250000) + Tempo(0, 300000) + EndOfTrack(),
                               Tempo(480, 600000) + Tempo(480, 1000000) + EndOfTrack()}));
    ASSERT_EQ(song.tempos.size(), 3u);
    EXPECT_EQ(song.tempos[0].tick, 0u);
    EXPECT_EQ(song.tempos[0].microsecondsPerQuarter, 500000u);
    EXPECT_EQ(song.tempos[1].tick, 480u);
    EXPECT_EQ(song.tempos[1].microsecondsPerQuarter, 600000u);
    // Track 0 sets two at 960 and track 1 one more: the last read wins.
    EXPECT_EQ(song.tempos[2].tick, 960u);
    EXPECT_EQ(song.tempos[2].microsecondsPerQuarter, 1000000u);
}

TEST(SmfReader, SmptePartsAndOtherChunksAreRead) {
    std::string file = Header(0, 1, 0xE728) + Chunk("XFIH", "abc") +  // -25 fps, 40 ticks
                       Track(At(3, {0x90, 1, 2}) + EndOfTrack());
    MidiSong song = Read(file);
    EXPECT_EQ(song.ticksPerQuarter, 0);
    EXPECT_EQ(song.framesPerSecond, 25);
    EXPECT_EQ(song.ticksPerFrame, 40);
    EXPECT_EQ(song.events.size(), 1u);
}

TEST(SmfReader, FormatZeroReadsOnlyItsOneTrack) {
    MidiSong song = Read(File(0, 96, {At(0, {0x90, 1, 2}), At(0, {0x90, 3, 4})}));
    EXPECT_EQ(song.events.size(), 1u);
}

struct BadFile {
    const char* name;
    std::string bytes;
    SmfError error;
};

class SmfReaderRefuses : public testing::TestWithParam<BadFile> {};

TEST_P(SmfReaderRefuses, CleanlyWithoutReadingPastTheEnd) {
    const BadFile& bad = GetParam();
    // The bytes live in a buffer of exactly their size, so a read past the end is caught by
    // the address sanitizer.
    std::vector<uint8_t> exact(bad.bytes.begin(), bad.bytes.end());
    MidiSong song;
    EXPECT_EQ(ReadStandardMidiFile(exact.data(), exact.size(), song), bad.error);
}

const std::string kNote = At(0, {0x90, 60, 100});

INSTANTIATE_TEST_SUITE_P(
    Damaged, SmfReaderRefuses,
    testing::Values(
        BadFile{"Empty", "", SmfError::NotMidi},
        BadFile{"RiffFile", "RIFF\0\0\0\0", SmfError::NotMidi},
        BadFile{"ShortHeader", Chunk("MThd", Bytes({0, 0, 0, 1})), SmfError::Damaged},
        BadFile{"HeaderPastEnd", Header(0, 1, 96).substr(0, 12), SmfError::Damaged},
        BadFile{"FormatTwo", File(2, 96, {kNote}), SmfError::Unsupported},
        BadFile{"NoTracks", Header(1, 0, 96), SmfError::Unsupported},
        BadFile{"DivisionZero", File(0, 0, {kNote}), SmfError::Unsupported},
        BadFile{"SmpteRateUnknown", File(0, 0xE000 | 0x1000 | 4, {kNote}), SmfError::Unsupported},
        BadFile{"TrackMissing", Header(0, 1, 96), SmfError::Damaged},
        BadFile{"TrackPastEnd", Header(0, 1, 96) + "MTrk" + BigEndian(100, 4) + kNote,
                SmfError::Damaged},
        BadFile{"DataWithoutStatus", File(0, 96, {At(0, {60, 100})}), SmfError::Damaged},
        BadFile{"MetaEndsRunningStatus", File(0, 96, {kNote + Tempo(0, 500000) + At(0, {61, 100})}),
                SmfError::Damaged},
        BadFile{"EventCutShort", File(0, 96, {At(0, {0x90, 60})}), SmfError::Damaged},
        BadFile{"DataByteWithTopBit", File(0, 96, {At(0, {0x90, 60, 0x80})}), SmfError::Damaged},
        BadFile{"SystemMessageInFile", File(0, 96, {At(0, {0xF8})}), SmfError::Damaged},
        BadFile{"DeltaOfFiveBytes",
                File(0, 96, {Bytes({0x81, 0x81, 0x81, 0x81, 0x01, 0x90, 60, 1})}),
                SmfError::Damaged},
        BadFile{"DeltaCutShort", File(0, 96, {Bytes({0x81})}), SmfError::Damaged},
        BadFile{"MetaLongerThanTrack", File(0, 96, {At(0, {0xFF, 0x01, 0x10, 'a'})}),
                SmfError::Damaged},
        BadFile{"SysexLongerThanTrack", File(0, 96, {At(0, {0xF0, 0x7F, 1})}), SmfError::Damaged},
        BadFile{"TooManyTicks", File(0, 96, {At(0x0FFFFFFF, {0x90, 1, 1}) + At(1, {0x90, 1, 1})}),
                SmfError::TooLong}),
    CaseName());

}  // namespace
