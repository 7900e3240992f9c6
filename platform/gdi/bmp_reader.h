// Reads a BMP file held in memory into a device-independent bitmap: 1-, 4- and 8-bit files
// keep their colour indices and table (run-length coded 4- and 8-bit files are decoded to
// plain indices), 16-, 24- and 32-bit files become 32-bit 0x00RRGGBB. Anything malformed,
// truncated or absurdly large is refused, never read past its end; a run-length stream that
// runs out or strays outside the picture keeps what it drew inside, the rest index 0.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/gdi/pixels.h"

namespace platform {

struct DibImage {
    int width = 0;
    int height = 0;
    int fileBits = 0;  // bits per pixel in the file
    PixelFormat format;
    std::vector<PALETTEENTRY> palette;  // 256 entries for indexed images, unused ones black
    std::vector<uint8_t> pixels;        // top row first
    int pitch = 0;

    PixelView View() {
        return {pixels.data(), width,  height,
                pitch,         format, palette.empty() ? nullptr : palette.data()};
    }
};

// The largest side and area accepted, far beyond any picture a game ships.
constexpr int kMaxBitmapSide = 16384;
constexpr int64_t kMaxBitmapPixels = int64_t{1} << 24;

bool ParseBmp(const uint8_t* data, size_t size, DibImage& image);

}  // namespace platform
