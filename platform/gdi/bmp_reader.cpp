#include "platform/gdi/bmp_reader.h"

#include <algorithm>
#include <cstring>

#include "platform/core/byte_order.h"

namespace platform {

namespace {

constexpr size_t kFileHeaderSize = 14;

struct ChannelMask {
    uint32_t mask = 0;
    int shift = 0;
    int width = 0;

    explicit ChannelMask(uint32_t m) : mask(m) {
        if (m == 0) return;
        while ((m & 1) == 0) {
            m >>= 1;
            ++shift;
        }
        while (m & 1) {
            m >>= 1;
            ++width;
        }
    }
    uint32_t Extract(uint32_t value) const {
        if (width == 0) return 0;
        uint32_t v = (value & mask) >> shift;
        if (width >= 8) return v >> (width - 8);
        uint32_t max = (1u << width) - 1;
        return (v * 255 + max / 2) / max;
    }
};

// Decodes run-length coded indices (8 or 4 bits a pixel) from `data[at, end)` into an image of
// one byte a pixel, bottom row first. Pixels the stream skips (by a delta, or an end of line or
// of the bitmap that comes early) keep index 0. A run or a literal past the end of a line is cut
// there; a delta or an end of line past the top row, or the end of the data, ends the decoding.
void DecodeRle(const uint8_t* data, size_t at, size_t end, int bits, DibImage& image) {
    const int width = image.width;
    int x = 0;
    int row = 0;  // from the bottom
    auto put = [&](uint8_t index) {
        if (x >= width) return;
        image.pixels[static_cast<size_t>(image.height - 1 - row) * image.pitch + x] = index;
        ++x;
    };
    while (end - at >= 2 && row < image.height) {
        const uint8_t count = data[at];
        const uint8_t value = data[at + 1];
        at += 2;
        if (count > 0) {
            // An encoded run: one index repeated, or two alternating in the two nibbles.
            for (int i = 0; i < count && x < width; ++i) {
                put(bits == 8 ? value : (i & 1) ? value & 0xF : value >> 4);
            }
            continue;
        }
        if (value == 0) {  // end of line
            x = 0;
            ++row;
        } else if (value == 1) {  // end of bitmap
            return;
        } else if (value == 2) {  // delta: right and up
            if (end - at < 2) return;
            x = std::min(x + data[at], width);
            row += data[at + 1];
            at += 2;
        } else {
            // A literal of `value` indices, padded to a whole number of 16-bit words.
            size_t bytes = bits == 8 ? value : (value + 1) / 2;
            if (end - at < bytes) bytes = end - at;
            for (int i = 0; i < value && x < width; ++i) {
                size_t byte = bits == 8 ? i : i / 2;
                if (byte >= bytes) return;
                uint8_t packed = data[at + byte];
                put(bits == 8 ? packed : (i & 1) ? packed & 0xF : packed >> 4);
            }
            at += std::min((bytes + 1) & ~size_t{1}, end - at);
        }
    }
}

}  // namespace

bool ParseBmp(const uint8_t* data, size_t size, DibImage& image) {
    if (data == nullptr || size < kFileHeaderSize + 12 || data[0] != 'B' || data[1] != 'M') {
        return false;
    }
    uint32_t dataOffset = U32(data + 10);
    const uint8_t* info = data + kFileHeaderSize;
    uint32_t headerSize = U32(info);
    // The header kinds that exist: core, info, the two with masks, OS/2 2.x, versions 4 and 5.
    if (headerSize != 12 && headerSize != 40 && headerSize != 52 && headerSize != 56 &&
        headerSize != 64 && headerSize != 108 && headerSize != 124) {
        return false;
    }
    if (kFileHeaderSize + headerSize > size) return false;

    int64_t width, height;
    int planes, bits;
    uint32_t compression = 0, colorsUsed = 0;
    size_t tableEntrySize = 4;
    if (headerSize == 12) {
        width = U16(info + 4);
        height = static_cast<int16_t>(U16(info + 6));
        planes = U16(info + 8);
        bits = U16(info + 10);
        tableEntrySize = 3;
    } else {
        width = static_cast<int32_t>(U32(info + 4));
        height = static_cast<int32_t>(U32(info + 8));
        planes = U16(info + 12);
        bits = U16(info + 14);
        compression = U32(info + 16);
        colorsUsed = U32(info + 32);
    }
    bool topDown = height < 0;
    if (topDown) height = -height;
    if (planes != 1 || width <= 0 || height <= 0 || width > kMaxBitmapSide ||
        height > kMaxBitmapSide || width * height > kMaxBitmapPixels) {
        return false;
    }

    // Channel masks of 16- and 32-bit files: the defaults, or given after a 40-byte header or
    // inside a longer one.
    size_t tableStart = kFileHeaderSize + headerSize;
    uint32_t masks[3] = {0, 0, 0};
    if (bits == 16) {
        masks[0] = 0x7C00, masks[1] = 0x03E0, masks[2] = 0x001F;
    } else if (bits == 32) {
        masks[0] = 0xFF0000, masks[1] = 0x00FF00, masks[2] = 0x0000FF;
    }
    if (compression == BI_BITFIELDS) {
        if ((bits != 16 && bits != 32) || headerSize == 64) return false;
        const uint8_t* maskAt = info + 40;
        if (headerSize == 40) {
            if (tableStart + 12 > size) return false;
            tableStart += 12;
        }
        for (int i = 0; i < 3; ++i) masks[i] = U32(maskAt + 4 * i);
        if (masks[0] == 0 && masks[1] == 0 && masks[2] == 0) return false;
    } else if (compression == BI_RLE8 || compression == BI_RLE4) {
        // Run-length coding is only for bottom-up files of its own depth.
        if (bits != (compression == BI_RLE8 ? 8 : 4) || topDown) return false;
    } else if (compression != BI_RGB) {
        return false;
    }
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) {
        return false;
    }

    image = DibImage{};
    image.width = static_cast<int>(width);
    image.height = static_cast<int>(height);
    image.fileBits = bits;

    if (bits <= 8) {
        size_t maxColors = size_t{1} << bits;
        size_t count = colorsUsed == 0 || colorsUsed > maxColors ? maxColors : colorsUsed;
        if (tableStart + count * tableEntrySize > size) return false;
        image.palette.assign(256, PALETTEENTRY{0, 0, 0, 0});
        for (size_t i = 0; i < count; ++i) {
            const uint8_t* entry = data + tableStart + i * tableEntrySize;
            image.palette[i] = PALETTEENTRY{entry[2], entry[1], entry[0], 0};
        }
        image.format = IndexedFormat();
        if (dataOffset == 0)
            dataOffset = static_cast<uint32_t>(tableStart + count * tableEntrySize);
    } else {
        image.format = Xrgb8888Format();
        if (dataOffset == 0) dataOffset = static_cast<uint32_t>(tableStart);
    }

    if (compression == BI_RLE8 || compression == BI_RLE4) {
        if (dataOffset > size) return false;
        image.pitch = image.width;
        image.pixels.assign(static_cast<size_t>(image.pitch) * image.height, 0);
        DecodeRle(data, dataOffset, size, bits, image);
        return true;
    }

    size_t stride = ((static_cast<size_t>(width) * bits + 31) / 32) * 4;
    if (dataOffset > size || (size - dataOffset) / stride < static_cast<size_t>(height)) {
        return false;
    }

    image.pitch = image.width * image.format.BytesPerPixel();
    image.pixels.assign(static_cast<size_t>(image.pitch) * image.height, 0);
    PixelView view = image.View();
    ChannelMask red(masks[0]), green(masks[1]), blue(masks[2]);
    for (int y = 0; y < image.height; ++y) {
        int fileRow = topDown ? y : image.height - 1 - y;
        const uint8_t* row = data + dataOffset + static_cast<size_t>(fileRow) * stride;
        for (int x = 0; x < image.width; ++x) {
            uint32_t value;
            switch (bits) {
                case 1:
                    value = (row[x >> 3] >> (7 - (x & 7))) & 1;
                    break;
                case 4:
                    value = (row[x >> 1] >> ((x & 1) ? 0 : 4)) & 0xF;
                    break;
                case 8:
                    value = row[x];
                    break;
                case 16: {
                    uint32_t raw = U16(row + 2 * x);
                    value =
                        (red.Extract(raw) << 16) | (green.Extract(raw) << 8) | blue.Extract(raw);
                    break;
                }
                case 24:
                    value = (static_cast<uint32_t>(row[3 * x + 2]) << 16) | (row[3 * x + 1] << 8) |
                            row[3 * x];
                    break;
                default: {
                    uint32_t raw = U32(row + 4 * x);
                    value =
                        (red.Extract(raw) << 16) | (green.Extract(raw) << 8) | blue.Extract(raw);
                    break;
                }
            }
            WritePixel(view, x, y, value);
        }
    }
    return true;
}

}  // namespace platform
