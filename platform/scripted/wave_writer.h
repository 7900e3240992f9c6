// Writes what the scripted host's sound output played as a RIFF WAVE file: PCM, 16-bit,
// stereo, with a plain 44-byte header.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace platform {

// `samples` holds left and right interleaved. False when the file can't be written.
bool WriteWaveFile(const std::string& path, const std::vector<int16_t>& samples, int rate);

}  // namespace platform
