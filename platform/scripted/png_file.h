// Pictures as PNG files: the scripted host writes what the player would see, and tests read
// reference pictures back. Pixels are 0x00RRGGBB, row by row.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace platform {

bool WritePng(const std::string& path, const uint32_t* pixels, int width, int height);
bool ReadPng(const std::string& path, std::vector<uint32_t>& pixels, int& width, int& height);

}  // namespace platform
