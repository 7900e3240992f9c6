// Builds BMP files in memory for tests: 8-bit with a colour table, plain or run-length coded at
// 8 or 4 bits, or 24-bit.
#pragma once

#include <algorithm>
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

// An indexed BMP of `bits` (8 or 4) a pixel around `pixels`, given as they go in the file.
inline std::vector<uint8_t> IndexedFile(int width, int height, int bits, uint32_t compression,
                                        const std::vector<uint32_t>& colors,
                                        const std::vector<uint8_t>& pixels) {
    uint32_t offset = 14 + 40 + 4 * static_cast<uint32_t>(colors.size());
    std::vector<uint8_t> out;
    out.push_back('B');
    out.push_back('M');
    Put32(out, offset + static_cast<uint32_t>(pixels.size()));
    Put32(out, 0);
    Put32(out, offset);
    Put32(out, 40);
    Put32(out, static_cast<uint32_t>(width));
    Put32(out, static_cast<uint32_t>(height));
    Put16(out, 1);
    Put16(out, static_cast<uint32_t>(bits));
    Put32(out, compression);
    Put32(out, static_cast<uint32_t>(pixels.size()));
    Put32(out, 0);
    Put32(out, 0);
    Put32(out, static_cast<uint32_t>(colors.size()));
    Put32(out, 0);
    for (uint32_t c : colors) Put32(out, c);  // blue, green, red, 0 in file order
    out.insert(out.end(), pixels.begin(), pixels.end());
    return out;
}

// An 8-bit bottom-up BMP; `colors` are 0x00RRGGBB, `pixel(x, y)` gives the index at a point
// (y from the top).
inline std::vector<uint8_t> Indexed(int width, int height, const std::vector<uint32_t>& colors,
                                    const std::function<int(int, int)>& pixel) {
    int stride = (width + 3) & ~3;
    std::vector<uint8_t> pixels;
    for (int y = height - 1; y >= 0; --y) {
        for (int x = 0; x < stride; ++x) {
            pixels.push_back(x < width ? static_cast<uint8_t>(pixel(x, y)) : 0);
        }
    }
    return IndexedFile(width, height, 8, 0, colors, pixels);
}

// The same picture run-length coded at 8 or 4 bits, with every kind of code: runs (of one index,
// or at 4 bits of two alternating), literals of odd and even length, index 0 inside a line
// skipped by a delta and at its end by an early end of line, blank lines skipped by a delta, and
// blank lines at the top left to the end code.
inline std::vector<uint8_t> Rle(int width, int height, int bits,
                                const std::vector<uint32_t>& colors,
                                const std::function<int(int, int)>& pixel) {
    std::vector<uint8_t> out;
    auto code = [&](int a, int b) {
        out.push_back(static_cast<uint8_t>(a));
        out.push_back(static_cast<uint8_t>(b));
    };
    int blankLines = 0;
    for (int y = height - 1; y >= 0; --y) {
        std::vector<int> line(width);
        for (int x = 0; x < width; ++x) line[x] = pixel(x, y);
        int used = width;
        while (used > 0 && line[used - 1] == 0) --used;
        if (used == 0) {
            ++blankLines;
            continue;
        }
        for (; blankLines > 0; blankLines -= std::min(blankLines, 255)) {
            code(0, 2);
            code(0, std::min(blankLines, 255));
        }
        // How many indices from `at` a run codes: one repeated, or at 4 bits two alternating.
        auto runAt = [&](int at) {
            int n = 1;
            while (at + n < used && n < 255 && line[at + n] == line[at + (bits == 4 ? n % 2 : 0)]) {
                ++n;
            }
            return n;
        };
        auto zerosAt = [&](int at) {
            int n = 0;
            while (at + n < used && line[at + n] == 0 && n < 255) ++n;
            return n;
        };
        for (int x = 0; x < used;) {
            if (zerosAt(x) >= 4) {
                int n = zerosAt(x);
                code(0, 2);
                code(n, 0);
                x += n;
            } else if (int run = runAt(x); run >= 3) {
                code(run, bits == 8 ? line[x] : line[x] << 4 | line[x + 1]);
                x += run;
            } else {
                int n = 0;
                while (x + n < used && n < 255 && runAt(x + n) < 3 && zerosAt(x + n) < 4) ++n;
                if (n < 3) {
                    code(1, bits == 8 ? line[x] : line[x] << 4);
                    x += 1;
                    continue;
                }
                code(0, n);
                size_t start = out.size();
                for (int i = 0; i < n; i += bits == 8 ? 1 : 2) {
                    out.push_back(static_cast<uint8_t>(
                        bits == 8 ? line[x + i]
                                  : line[x + i] << 4 | (i + 1 < n ? line[x + i + 1] : 0)));
                }
                if ((out.size() - start) % 2 != 0) out.push_back(0);
                x += n;
            }
        }
        code(0, 0);
    }
    code(0, 1);
    return IndexedFile(width, height, bits, bits == 8 ? 1 : 2, colors, out);
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
