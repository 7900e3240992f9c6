// Reads the largest 32-bit picture of an icon file (the program's icon resource) into
// 0xAARRGGBB pixels, for a host that shows the icon on its window.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace platform {

struct IconImage {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;  // top row first
};

bool DecodeIcon(const uint8_t* data, size_t size, IconImage& icon);

}  // namespace platform
