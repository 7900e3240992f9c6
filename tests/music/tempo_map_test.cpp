#include "platform/music/tempo_map.h"

#include <gtest/gtest.h>

using platform::music::MidiSong;
using platform::music::TempoMap;

namespace {

MidiSong Metrical(int ticksPerQuarter, std::vector<platform::music::TempoChange> tempos) {
    MidiSong song;
    song.ticksPerQuarter = ticksPerQuarter;
    song.tempos = std::move(tempos);
    return song;
}

struct FrameCase {
    uint32_t tick;
    int rate;
    int64_t frame;
};

TEST(TempoMap, FramesFollowEveryTempoChangeExactly) {
    // 120 a minute for two quarters, then 60 a minute, then 90 a minute from tick 1920.
    TempoMap map(Metrical(480, {{0, 500000}, {960, 1000000}, {1920, 666667}}));
    const FrameCase cases[] = {
        {0, 44100, 0},
        {480, 44100, 22050},
        {960, 44100, 44100},
        {1440, 44100, 88200},
        {1920, 44100, 132300},
        {1920, 48000, 144000},
        // 480 ticks at 666667 us: 0.666667 s, 29400.0147 frames, rounded up.
        {2400, 44100, 161701},
        {1, 44100, 46},  // 1/480 of half a second: 45.9375 frames
    };
    for (const FrameCase& c : cases) {
        EXPECT_EQ(map.FrameAt(c.tick, c.rate), c.frame) << c.tick << " at " << c.rate;
    }
}

TEST(TempoMap, SmpteTimingIgnoresTempoAndCountsFrames) {
    MidiSong song;
    song.framesPerSecond = 25;
    song.ticksPerFrame = 40;  // 1000 ticks a second
    song.tempos = {{0, 250000}};
    TempoMap map(song);
    EXPECT_EQ(map.FrameAt(1000, 44100), 44100);
    EXPECT_EQ(map.FrameAt(1, 48000), 48);
    song.framesPerSecond = 29;  // 29.97: 30000 frames in 1001 s
    song.ticksPerFrame = 1;
    EXPECT_EQ(TempoMap(song).FrameAt(30000, 44100), 1001 * 44100);
    // Music time runs at 120 quarters a minute: one quarter is half a second, 15 frames.
    EXPECT_EQ(TempoMap(song).TickAtMusicTime(768 * 1001), 15000u);
}

TEST(TempoMap, MusicTimeMapsOntoTicksOfAnyDivision) {
    struct Case {
        int ticksPerQuarter;
        int64_t musicTime;
        uint32_t tick;
    };
    const Case cases[] = {{768, 9216, 9216},
                          {480, 768, 480},
                          {96, 211968, 26496},
                          {480, 1, 1},  // 0.625 rounds to 1
                          {120, -5, 0}};
    for (const Case& c : cases) {
        TempoMap map(Metrical(c.ticksPerQuarter, {{0, 500000}}));
        EXPECT_EQ(map.TickAtMusicTime(c.musicTime), c.tick) << c.ticksPerQuarter;
        if (c.musicTime > 1) {
            EXPECT_EQ(map.MusicTimeAtTick(c.tick), c.musicTime);
        }
    }
}

}  // namespace
