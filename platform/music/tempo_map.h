// Where each tick of a song falls in samples, worked out exactly from its tempo changes (or
// its SMPTE frame rate), and how DirectMusic's music time maps onto the song's ticks.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/music/midi_song.h"

namespace platform::music {

// DirectMusic's music time: 768 units to the quarter note.
constexpr int64_t kMusicTimePerQuarter = 768;

// A moment of a song in the tempo map's own units, exact (wide enough for endless loops).
__extension__ typedef unsigned __int128 SongTime;

class TempoMap {
public:
    explicit TempoMap(const MidiSong& song);

    // The first sample frame at or after the moment `tick` begins, at `rate` frames a second.
    int64_t FrameAt(uint32_t tick, int rate) const { return FrameAtTime(TimeAt(tick), rate); }
    SongTime TimeAt(uint32_t tick) const;
    int64_t FrameAtTime(SongTime time, int rate) const;

    // Music time to ticks and back, rounding to the nearest. An SMPTE-timed file has no
    // quarter notes; its music time runs at 120 quarter notes a minute.
    uint32_t TickAtMusicTime(int64_t musicTime) const;
    int64_t MusicTimeAtTick(uint32_t tick) const;

private:
    struct Span {
        uint32_t tick;
        uint64_t units;         // time at the span's start, in units
        uint64_t unitsPerTick;  // the span's tempo
    };
    std::vector<Span> spans_;
    uint64_t unitsPerSecond_ = 1;
    // Music time per tick as a fraction.
    uint64_t musicTimeNumerator_ = 1;
    uint64_t musicTimeDenominator_ = 1;
};

}  // namespace platform::music
