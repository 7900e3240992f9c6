// A standard MIDI file as the music player uses it: the channel messages of every track merged
// into playing order, the tempo changes, and the file's timing.
#pragma once

#include <cstdint>
#include <vector>

namespace platform::music {

struct MidiEvent {
    uint32_t tick;
    uint8_t status;  // a channel message: 0x80 to 0xEF
    uint8_t data1;
    uint8_t data2;  // 0 for messages with one data byte
};

struct TempoChange {
    uint32_t tick;
    uint32_t microsecondsPerQuarter;
};

struct MidiSong {
    // Metrical timing: ticks to the quarter note. 0 when the file counts in SMPTE frames.
    int ticksPerQuarter = 0;
    // SMPTE timing: 24, 25, 29 (drop-frame, 29.97) or 30 frames a second, ticks to the frame.
    int framesPerSecond = 0;
    int ticksPerFrame = 0;
    std::vector<MidiEvent> events;    // by tick; at one tick, in track order, then file order
    std::vector<TempoChange> tempos;  // by tick, the first at tick 0
    uint32_t lengthTicks = 0;         // the last event or end of track
};

}  // namespace platform::music
