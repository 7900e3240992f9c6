#include "platform/music/tempo_map.h"

#include <algorithm>

namespace platform::music {
namespace {

__extension__ typedef unsigned __int128 Wide;

uint64_t RoundedQuotient(Wide numerator, uint64_t denominator) {
    return static_cast<uint64_t>((numerator + denominator / 2) / denominator);
}

}  // namespace

TempoMap::TempoMap(const MidiSong& song) {
    if (song.ticksPerQuarter > 0) {
        // A unit is a microsecond divided by the ticks to the quarter note, so that a tick at
        // a tempo of T microseconds to the quarter lasts exactly T units.
        unitsPerSecond_ = 1000000ull * static_cast<uint64_t>(song.ticksPerQuarter);
        uint64_t units = 0;
        for (size_t i = 0; i < song.tempos.size(); ++i) {
            const TempoChange& tempo = song.tempos[i];
            if (i > 0) {
                const Span& previous = spans_.back();
                units += static_cast<uint64_t>(tempo.tick - previous.tick) * previous.unitsPerTick;
            }
            spans_.push_back({tempo.tick, units, tempo.microsecondsPerQuarter});
        }
        if (spans_.empty()) spans_.push_back({0, 0, 500000});
        musicTimeNumerator_ = kMusicTimePerQuarter;
        musicTimeDenominator_ = static_cast<uint64_t>(song.ticksPerQuarter);
        return;
    }
    // SMPTE: drop-frame 29.97 frames a second is 30000 frames in 1001 seconds.
    int frames = std::max(song.framesPerSecond, 1);
    int ticksPerFrame = std::max(song.ticksPerFrame, 1);
    uint64_t ticksPerSecondTimes1001 =
        (frames == 29 ? 30000ull : 1001ull * static_cast<uint64_t>(frames)) *
        static_cast<uint64_t>(ticksPerFrame);
    unitsPerSecond_ = ticksPerSecondTimes1001;
    spans_.push_back({0, 0, 1001});
    // Two quarter notes a second.
    musicTimeNumerator_ = 2 * kMusicTimePerQuarter * 1001;
    musicTimeDenominator_ = ticksPerSecondTimes1001;
}

SongTime TempoMap::TimeAt(uint32_t tick) const {
    auto after = std::upper_bound(spans_.begin(), spans_.end(), tick,
                                  [](uint32_t t, const Span& span) { return t < span.tick; });
    const Span& span = *(after - 1);
    return span.units + static_cast<Wide>(tick - span.tick) * span.unitsPerTick;
}

int64_t TempoMap::FrameAtTime(SongTime time, int rate) const {
    Wide scaled = time * static_cast<uint64_t>(rate);
    // Rounded up: the frame at which the moment has arrived.
    return static_cast<int64_t>((scaled + unitsPerSecond_ - 1) / unitsPerSecond_);
}

uint32_t TempoMap::TickAtMusicTime(int64_t musicTime) const {
    if (musicTime <= 0) return 0;
    uint64_t tick =
        RoundedQuotient(static_cast<Wide>(musicTime) * musicTimeDenominator_, musicTimeNumerator_);
    return static_cast<uint32_t>(std::min<uint64_t>(tick, 0xFFFFFFFFu));
}

int64_t TempoMap::MusicTimeAtTick(uint32_t tick) const {
    return static_cast<int64_t>(
        RoundedQuotient(static_cast<Wide>(tick) * musicTimeNumerator_, musicTimeDenominator_));
}

}  // namespace platform::music
