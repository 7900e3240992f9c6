#include "platform/resources/icon_image.h"

#include "platform/core/byte_order.h"

namespace platform {

bool DecodeIcon(const uint8_t* data, size_t size, IconImage& icon) {
    if (data == nullptr || size < 6 || U16(data) != 0 || U16(data + 2) != 1) return false;
    size_t count = U16(data + 4);
    if (6 + count * 16 > size) return false;
    size_t best = count;
    int bestWidth = 0;
    for (size_t i = 0; i < count; ++i) {
        const uint8_t* entry = data + 6 + i * 16;
        uint32_t length = U32(entry + 8), offset = U32(entry + 12);
        if (offset > size || length > size - offset || length < 40) continue;
        const uint8_t* bmp = data + offset;
        int width = static_cast<int>(U32(bmp + 4));
        int height = static_cast<int>(U32(bmp + 8)) / 2;
        if (U32(bmp) != 40 || U16(bmp + 14) != 32 || width <= 0 || width > 256 || height != width ||
            40 + static_cast<size_t>(width) * height * 4 > length) {
            continue;
        }
        if (width > bestWidth) {
            best = i;
            bestWidth = width;
        }
    }
    if (best == count) return false;
    const uint8_t* bmp = data + U32(data + 6 + best * 16 + 12);
    icon.width = icon.height = bestWidth;
    icon.pixels.assign(static_cast<size_t>(bestWidth) * bestWidth, 0);
    for (int y = 0; y < bestWidth; ++y) {
        const uint8_t* row = bmp + 40 + static_cast<size_t>(bestWidth - 1 - y) * bestWidth * 4;
        for (int x = 0; x < bestWidth; ++x)
            icon.pixels[static_cast<size_t>(y) * bestWidth + x] = U32(row + 4 * x);
    }
    return true;
}

}  // namespace platform
