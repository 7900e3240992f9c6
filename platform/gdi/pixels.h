// Pixel formats and views of pixel memory, shared by GDI (bitmaps, device contexts) and
// DirectDraw (surfaces): reading and writing raw pixels, and turning GDI colours into a
// format's raw values and back. An 8-bit format takes colours through its palette.
#pragma once

#include <windows.h>

#include <cstdint>

namespace platform {

struct PixelFormat {
    int bits = 32;     // 8, 16 or 32 bits per pixel
    uint32_t red = 0;  // channel masks; all 0 for palette indices
    uint32_t green = 0;
    uint32_t blue = 0;

    bool Indexed() const { return red == 0 && green == 0 && blue == 0; }
    int BytesPerPixel() const { return bits / 8; }
    bool operator==(const PixelFormat&) const = default;
};

PixelFormat IndexedFormat();
PixelFormat Rgb565Format();
PixelFormat Rgb555Format();
PixelFormat Xrgb8888Format();
// The format of a desktop of 32, 16 (5-6-5) or 15 (5-5-5) bits.
PixelFormat DesktopFormat(int desktopBits);

// A rectangle of pixel memory in one format; rows run top to bottom. For indexed formats the
// palette (256 entries) gives the colours; without one every index is black.
struct PixelView {
    uint8_t* bits = nullptr;
    int width = 0;
    int height = 0;
    int pitch = 0;  // bytes from one row to the next
    PixelFormat format;
    const PALETTEENTRY* palette = nullptr;

    bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }
};

uint32_t ReadPixel(const PixelView& view, int x, int y);
void WritePixel(const PixelView& view, int x, int y, uint32_t value);

// The raw value of a GDI colour in the view's format: the nearest palette entry (the first of
// equals) for indexed formats, the colour cut to the channel widths otherwise.
uint32_t ColorToPixel(const PixelView& view, COLORREF color);
// The GDI colour of a raw value: the palette entry, or the channels widened to 8 bits.
COLORREF PixelToColor(const PixelView& view, uint32_t value);
// 0x00RRGGBB of a raw value, as a screen shows it.
uint32_t PixelToXrgb(const PixelView& view, uint32_t value);

// The index of the palette entry nearest to a colour; the lowest index among equals.
int NearestPaletteIndex(const PALETTEENTRY* palette, int red, int green, int blue);

}  // namespace platform
