// Reads a standard MIDI file (format 0 or 1) held in memory.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/music/midi_song.h"

namespace platform::music {

enum class SmfError {
    None,
    NotMidi,      // no "MThd" header
    Unsupported,  // format 2, or no tracks
    Damaged,      // a chunk or an event runs past its end, or a byte is out of place
    TooLong,      // more ticks than the player counts
};

// Fills `song` from the file's bytes. Never reads outside [data, data + size).
SmfError ReadStandardMidiFile(const uint8_t* data, size_t size, MidiSong& song);

const char* DescribeSmfError(SmfError error);

}  // namespace platform::music
