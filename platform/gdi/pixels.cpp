#include "platform/gdi/pixels.h"

#include <cstring>

namespace platform {

namespace {

int LowestBit(uint32_t mask) {
    int shift = 0;
    while (mask != 0 && (mask & 1) == 0) {
        mask >>= 1;
        ++shift;
    }
    return shift;
}

int Width(uint32_t mask) {
    mask >>= LowestBit(mask);
    int width = 0;
    while (mask & 1) {
        mask >>= 1;
        ++width;
    }
    return width;
}

uint32_t PackChannel(int value, uint32_t mask) {
    int width = Width(mask);
    return (static_cast<uint32_t>(value) >> (8 - width)) << LowestBit(mask);
}

int UnpackChannel(uint32_t value, uint32_t mask) {
    int width = Width(mask);
    return static_cast<int>(((value & mask) >> LowestBit(mask)) << (8 - width));
}

}  // namespace

PixelFormat IndexedFormat() {
    return {8, 0, 0, 0};
}
PixelFormat Rgb565Format() {
    return {16, 0xF800, 0x07E0, 0x001F};
}
PixelFormat Rgb555Format() {
    return {16, 0x7C00, 0x03E0, 0x001F};
}
PixelFormat Xrgb8888Format() {
    return {32, 0xFF0000, 0x00FF00, 0x0000FF};
}

PixelFormat DesktopFormat(int desktopBits) {
    switch (desktopBits) {
        case 16:
            return Rgb565Format();
        case 15:
            return Rgb555Format();
        case 8:
            return IndexedFormat();
        default:
            return Xrgb8888Format();
    }
}

uint32_t ReadPixel(const PixelView& view, int x, int y) {
    const uint8_t* p = view.bits + static_cast<ptrdiff_t>(y) * view.pitch +
                       static_cast<ptrdiff_t>(x) * view.format.BytesPerPixel();
    switch (view.format.bits) {
        case 8:
            return p[0];
        case 16: {
            uint16_t v;
            std::memcpy(&v, p, 2);
            return v;
        }
        default: {
            uint32_t v;
            std::memcpy(&v, p, 4);
            return v;
        }
    }
}

void WritePixel(const PixelView& view, int x, int y, uint32_t value) {
    uint8_t* p = view.bits + static_cast<ptrdiff_t>(y) * view.pitch +
                 static_cast<ptrdiff_t>(x) * view.format.BytesPerPixel();
    switch (view.format.bits) {
        case 8:
            p[0] = static_cast<uint8_t>(value);
            break;
        case 16: {
            auto v = static_cast<uint16_t>(value);
            std::memcpy(p, &v, 2);
            break;
        }
        default:
            std::memcpy(p, &value, 4);
            break;
    }
}

int NearestPaletteIndex(const PALETTEENTRY* palette, int red, int green, int blue) {
    if (palette == nullptr) return 0;
    int best = 0;
    int bestDistance = 1 << 30;
    for (int i = 0; i < 256; ++i) {
        int dr = palette[i].peRed - red, dg = palette[i].peGreen - green,
            db = palette[i].peBlue - blue;
        int distance = dr * dr + dg * dg + db * db;
        if (distance < bestDistance) {
            best = i;
            bestDistance = distance;
            if (distance == 0) break;
        }
    }
    return best;
}

uint32_t ColorToPixel(const PixelView& view, COLORREF color) {
    int red = GetRValue(color), green = GetGValue(color), blue = GetBValue(color);
    const PixelFormat& f = view.format;
    if (f.Indexed())
        return static_cast<uint32_t>(NearestPaletteIndex(view.palette, red, green, blue));
    return PackChannel(red, f.red) | PackChannel(green, f.green) | PackChannel(blue, f.blue);
}

COLORREF PixelToColor(const PixelView& view, uint32_t value) {
    const PixelFormat& f = view.format;
    if (f.Indexed()) {
        if (view.palette == nullptr) return RGB(0, 0, 0);
        const PALETTEENTRY& e = view.palette[value & 0xFF];
        return RGB(e.peRed, e.peGreen, e.peBlue);
    }
    return RGB(UnpackChannel(value, f.red), UnpackChannel(value, f.green),
               UnpackChannel(value, f.blue));
}

uint32_t PixelToXrgb(const PixelView& view, uint32_t value) {
    const PixelFormat& f = view.format;
    // The usual 32-bit desktop needs no work: every present passes each pixel through here.
    if (f.red == 0xFF0000 && f.green == 0xFF00 && f.blue == 0xFF) return value & 0xFFFFFF;
    if (!f.Indexed()) {
        // A screen widens a channel by repeating its top bits, so that full intensity stays full.
        auto widen = [value](uint32_t mask) {
            int width = Width(mask);
            uint32_t v = (value & mask) >> LowestBit(mask);
            uint32_t wide = v << (8 - width);
            return width >= 8 ? v : wide | (wide >> width);
        };
        return (widen(f.red) << 16) | (widen(f.green) << 8) | widen(f.blue);
    }
    COLORREF color = PixelToColor(view, value);
    return (static_cast<uint32_t>(GetRValue(color)) << 16) |
           (static_cast<uint32_t>(GetGValue(color)) << 8) | GetBValue(color);
}

}  // namespace platform
