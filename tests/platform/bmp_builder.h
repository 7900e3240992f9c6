// Builds BMP files in memory for tests: 8-bit with a colour table, or 24-bit.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace testbmp {

inline void Put16(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}
inline void Put32(std::vector<uint8_t>& out, uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

// An 8-bit bottom-up BMP; `colors` are 0x00RRGGBB, `pixel(x, y)` gives the index at a point
// (y from the top).
inline std::vector<uint8_t> Indexed(int width, int height, const std::vector<uint32_t>& colors,
                                    const std::function<int(int, int)>& pixel) {
    int stride = (width + 3) & ~3;
    uint32_t offset = 14 + 40 + 4 * static_cast<uint32_t>(colors.size());
    std::vector<uint8_t> out;
    out.push_back('B');
    out.push_back('M');
    Put32(out, offset + stride * height);
    Put32(out, 0);
    Put32(out, offset);
    Put32(out, 40);
    Put32(out, static_cast<uint32_t>(width));
    Put32(out, static_cast<uint32_t>(height));
    Put16(out, 1);
    Put16(out, 8);
    Put32(out, 0);
    Put32(out, static_cast<uint32_t>(stride * height));
    Put32(out, 0);
    Put32(out, 0);
    Put32(out, static_cast<uint32_t>(colors.size()));
    Put32(out, 0);
    for (uint32_t c : colors) Put32(out, c);  // blue, green, red, 0 in file order
    for (int y = height - 1; y >= 0; --y) {
        for (int x = 0; x < stride; ++x) {
            out.push_back(x < width ? static_cast<uint8_t>(pixel(x, y)) : 0);
        }
    }
    return out;
}

// A 24-bit bottom-up BMP; `pixel(x, y)` gives 0x00RRGGBB.
inline std::vector<uint8_t> Rgb(int width, int height,
                                const std::function<uint32_t(int, int)>& pixel) {
    int stride = (width * 3 + 3) & ~3;
    std::vector<uint8_t> out;
    out.push_back('B');
    out.push_back('M');
    Put32(out, 54 + stride * height);
    Put32(out, 0);
    Put32(out, 54);
    Put32(out, 40);
    Put32(out, static_cast<uint32_t>(width));
    Put32(out, static_cast<uint32_t>(height));
    Put16(out, 1);
    Put16(out, 24);
    for (int i = 0; i < 6; ++i) Put32(out, 0);
    for (int y = height - 1; y >= 0; --y) {
        int written = 0;
        for (int x = 0; x < width; ++x) {
            uint32_t c = pixel(x, y);
            out.push_back(static_cast<uint8_t>(c));
            out.push_back(static_cast<uint8_t>(c >> 8));
            out.push_back(static_cast<uint8_t>(c >> 16));
            written += 3;
        }
        for (; written < stride; ++written) out.push_back(0);
    }
    return out;
}

}  // namespace testbmp
