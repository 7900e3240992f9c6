// DirectDraw and GDI: the windowed frame in the desktop's format and the 8-bit flip chain of
// full screen, with fills, colour keys, copies through GDI, pixels and text.
#include <windows.h>

#include <ddraw.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "tests/conformance/facts.h"

namespace {

IDirectDraw7* directDraw = nullptr;

unsigned Hr(HRESULT result) {
    return static_cast<unsigned>(result);
}

IDirectDrawSurface7* PlainSurface(int width, int height) {
    DDSURFACEDESC2 desc = {};
    desc.dwSize = sizeof desc;
    desc.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT;
    desc.dwWidth = width;
    desc.dwHeight = height;
    desc.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN;
    IDirectDrawSurface7* surface = nullptr;
    HRESULT result = directDraw->CreateSurface(&desc, &surface, nullptr);
    Fact("CreateSurface %dx%d %08x", width, height, Hr(result));
    return surface;
}

// The raw pixel values of a row of a surface, from x for count pixels.
void PixelRow(IDirectDrawSurface7* surface, const char* what, int x, int y, int count) {
    DDSURFACEDESC2 desc = {};
    desc.dwSize = sizeof desc;
    HRESULT result = surface->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr);
    if (result != DD_OK) {
        Fact("%s Lock %08x", what, Hr(result));
        return;
    }
    int bytes = static_cast<int>(desc.ddpfPixelFormat.dwRGBBitCount / 8);
    std::string line;
    for (int i = 0; i < count; ++i) {
        const auto* at =
            static_cast<const unsigned char*>(desc.lpSurface) + y * desc.lPitch + (x + i) * bytes;
        DWORD value = 0;
        std::memcpy(&value, at, bytes);
        if (bytes == 4) value &= 0xFFFFFF;
        char text[16];
        std::snprintf(text, sizeof text, i ? " %x" : "%x", static_cast<unsigned>(value));
        line += text;
    }
    surface->Unlock(nullptr);
    Fact("%s pixels at %d,%d: %s", what, x, y, line.c_str());
}

// Ink of the text drawn into a white area: the box around every pixel that is not white, and
// how many pixels have exactly the text's colour.
void TextInk(IDirectDrawSurface7* surface, const char* what, RECT area, DWORD white, DWORD ink) {
    DDSURFACEDESC2 desc = {};
    desc.dwSize = sizeof desc;
    if (surface->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr) != DD_OK) return;
    int bytes = static_cast<int>(desc.ddpfPixelFormat.dwRGBBitCount / 8);
    LONG left = area.right, top = area.bottom, right = area.left, bottom = area.top;
    int exact = 0;
    for (LONG y = area.top; y < area.bottom; ++y) {
        for (LONG x = area.left; x < area.right; ++x) {
            DWORD value = 0;
            std::memcpy(
                &value,
                static_cast<const unsigned char*>(desc.lpSurface) + y * desc.lPitch + x * bytes,
                bytes);
            if (bytes == 4) value &= 0xFFFFFF;
            if (value == white) continue;
            if (value == ink) ++exact;
            if (x < left) left = x;
            if (x >= right) right = x + 1;
            if (y < top) top = y;
            if (y >= bottom) bottom = y + 1;
        }
    }
    surface->Unlock(nullptr);
    Fact("%s ink %d,%d,%d,%d with %s pixels of the text colour", what, int(left - area.left),
         int(top - area.top), int(right - area.left), int(bottom - area.top),
         exact > 0 ? "some" : "no");
}

void Fill(IDirectDrawSurface7* surface, RECT* rect, DWORD value, const char* what) {
    DDBLTFX fx = {};
    fx.dwSize = sizeof fx;
    fx.dwFillColor = value;
    Fact("%s Blt COLORFILL %08x", what,
         Hr(surface->Blt(rect, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &fx)));
}

// A 16 x 4 bitmap file of 8 bits with a 4-colour table (black, pure blue, red, white); each
// row holds the colours 0, 1, 2, 3 four times, shifted by the row.
void WriteBitmapFile(const char* path) {
    std::vector<unsigned char> file(14 + 40 + 16 + 64, 0);
    auto put32 = [&](size_t at, DWORD value) { std::memcpy(&file[at], &value, 4); };
    auto put16 = [&](size_t at, WORD value) { std::memcpy(&file[at], &value, 2); };
    file[0] = 'B';
    file[1] = 'M';
    put32(2, static_cast<DWORD>(file.size()));
    put32(10, 14 + 40 + 16);
    put32(14, 40);
    put32(18, 16);
    put32(22, 4);
    put16(26, 1);
    put16(28, 8);
    put32(46, 4);
    const unsigned char colours[4][4] = {
        {0, 0, 0, 0}, {255, 0, 0, 0}, {0, 0, 255, 0}, {255, 255, 255, 0}};
    std::memcpy(&file[54], colours, 16);
    for (int row = 0; row < 4; ++row) {
        for (int x = 0; x < 16; ++x)
            file[70 + row * 16 + x] = static_cast<unsigned char>((x + row) % 4);
    }
    std::FILE* out = std::fopen(path, "wb");
    std::fwrite(file.data(), 1, file.size(), out);
    std::fclose(out);
}

// Loads the bitmap file as the game loads its images and copies it into the surface through GDI.
void CopyBitmapFile(IDirectDrawSurface7* surface, const char* what) {
    HBITMAP bitmap = static_cast<HBITMAP>(LoadImageA(nullptr, "conformance.bmp", IMAGE_BITMAP, 0, 0,
                                                     LR_LOADFROMFILE | LR_CREATEDIBSECTION));
    Fact("%s LoadImageA %d", what, bitmap != nullptr ? 1 : 0);
    if (bitmap == nullptr) return;
    BITMAP info = {};
    int size = GetObjectA(bitmap, sizeof info, &info);
    Fact("%s GetObjectA %d: %dx%d, %u bits", what, size > 0 ? 1 : 0, int(info.bmWidth),
         int(info.bmHeight), unsigned{info.bmBitsPixel});
    HDC memory = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(memory, bitmap);
    HDC dc = nullptr;
    HRESULT result = surface->GetDC(&dc);
    Fact("%s GetDC %08x", what, Hr(result));
    if (result == DD_OK) {
        Fact("%s BitBlt %d", what, BitBlt(dc, 0, 0, 16, 4, memory, 0, 0, SRCCOPY) ? 1 : 0);
        surface->ReleaseDC(dc);
    }
    SelectObject(memory, old);
    DeleteDC(memory);
    DeleteObject(bitmap);
}

// SetPixel and GetPixel through the surface's DC, then the raw value that landed.
void GdiPixel(IDirectDrawSurface7* surface, const char* what, int x, COLORREF colour) {
    HDC dc = nullptr;
    if (surface->GetDC(&dc) != DD_OK) return;
    COLORREF set = SetPixel(dc, x, 0, colour);
    COLORREF got = GetPixel(dc, x, 0);
    surface->ReleaseDC(dc);
    Fact("%s SetPixel %06lx gives %06lx, GetPixel %06lx", what, static_cast<unsigned long>(colour),
         static_cast<unsigned long>(set), static_cast<unsigned long>(got));
    PixelRow(surface, what, x, 0, 1);
}

void Text(IDirectDrawSurface7* surface, const char* what, int x, int y, const char* text,
          int height, int weight) {
    HDC dc = nullptr;
    if (surface->GetDC(&dc) != DD_OK) return;
    HFONT font =
        CreateFontA(height, 0, 0, 0, weight, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET,
                    OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                    FIXED_PITCH | FF_ROMAN, "\x82\x6c\x82\x72 \x83\x53\x83\x56\x83\x62\x83\x4e");
    HGDIOBJ old = SelectObject(dc, font);
    int mode = SetBkMode(dc, TRANSPARENT);
    COLORREF colour = SetTextColor(dc, RGB(255, 0, 0));
    BOOL drawn = TextOutA(dc, x, y, text, static_cast<int>(std::strlen(text)));
    SelectObject(dc, old);
    DeleteObject(font);
    surface->ReleaseDC(dc);
    Fact("%s font %d, previous background mode %d, previous text colour %06lx, TextOutA %d", what,
         font != nullptr ? 1 : 0, mode, static_cast<unsigned long>(colour), drawn ? 1 : 0);
}

void ColourKeyCopy(IDirectDrawSurface7* frame, IDirectDrawSurface7* image, DWORD key,
                   const char* what) {
    DDCOLORKEY colourKey = {key, key};
    Fact("%s SetColorKey %08x", what, Hr(image->SetColorKey(DDCKEY_SRCBLT, &colourKey)));
    RECT source = {0, 0, 16, 4};
    Fact("%s BltFast SRCCOLORKEY %08x", what,
         Hr(frame->BltFast(100, 100, image, &source, DDBLTFAST_SRCCOLORKEY)));
    PixelRow(frame, what, 100, 100, 8);
    PixelRow(frame, what, 100, 103, 8);
}

void DescribeFormat(IDirectDrawSurface7* surface, const char* what) {
    DDPIXELFORMAT format = {};
    format.dwSize = sizeof format;
    HRESULT result = surface->GetPixelFormat(&format);
    Fact("%s GetPixelFormat %08x bits %lu masks %lx %lx %lx palette-indexed %d", what, Hr(result),
         static_cast<unsigned long>(format.dwRGBBitCount),
         static_cast<unsigned long>(format.dwRBitMask),
         static_cast<unsigned long>(format.dwGBitMask),
         static_cast<unsigned long>(format.dwBBitMask),
         (format.dwFlags & DDPF_PALETTEINDEXED8) != 0 ? 1 : 0);
}

}  // namespace

void ProbeWindowedDisplay(HWND window) {
    Fact("CoInitialize %08x", Hr(CoInitialize(nullptr)));
    HRESULT result = CoCreateInstance(CLSID_DirectDraw, nullptr, CLSCTX_ALL, IID_IDirectDraw7,
                                      reinterpret_cast<void**>(&directDraw));
    Fact("CoCreateInstance DirectDraw %08x", Hr(result));
    if (directDraw == nullptr) return;
    Fact("Initialize %08x", Hr(directDraw->Initialize(nullptr)));
    Fact("SetCooperativeLevel NORMAL %08x",
         Hr(directDraw->SetCooperativeLevel(window, DDSCL_NORMAL)));

    DDSURFACEDESC2 desc = {};
    desc.dwSize = sizeof desc;
    desc.dwFlags = DDSD_CAPS;
    desc.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE;
    IDirectDrawSurface7* primary = nullptr;
    Fact("CreateSurface primary %08x", Hr(directDraw->CreateSurface(&desc, &primary, nullptr)));
    IDirectDrawSurface7* frame = PlainSurface(640, 480);
    if (primary == nullptr || frame == nullptr) return;
    DescribeFormat(frame, "windowed frame");
    IDirectDrawClipper* clipper = nullptr;
    Fact("CreateClipper %08x", Hr(directDraw->CreateClipper(0, &clipper, nullptr)));
    Fact("SetClipper %08x", Hr(primary->SetClipper(clipper)));
    Fact("SetHWnd %08x", Hr(clipper->SetHWnd(0, window)));

    Fill(frame, nullptr, 0, "windowed clear");
    RECT box = {10, 10, 20, 20};
    Fill(frame, &box, 0xE86A46, "windowed box");
    PixelRow(frame, "windowed fill", 8, 10, 4);
    GdiPixel(frame, "windowed", 1, RGB(0, 0, 255));
    GdiPixel(frame, "windowed", 2, RGB(255, 255, 196));

    WriteBitmapFile("conformance.bmp");
    IDirectDrawSurface7* image = PlainSurface(16, 4);
    if (image != nullptr) {
        CopyBitmapFile(image, "windowed image");
        PixelRow(image, "windowed image", 0, 0, 8);
        ColourKeyCopy(frame, image, 0x0000FF, "windowed key");
        image->Release();
    }

    RECT white = {200, 200, 400, 260};
    Fill(frame, &white, 0xFFFFFF, "windowed text area");
    Text(frame, "windowed latin", 200, 200, "Parrun 0123", 20, 500);
    Text(frame, "windowed kana", 200, 230, "\x82\xa0\x82\xa2\x82\xa4", 15, 700);
    TextInk(frame, "windowed latin", {200, 200, 400, 228}, 0xFFFFFF, 0xFF0000);
    TextInk(frame, "windowed kana", {200, 230, 400, 260}, 0xFFFFFF, 0xFF0000);

    RECT client = {0, 0, 480, 320};
    RECT area = {80, 80, 560, 400};
    Fact("windowed present Blt %08x", Hr(primary->Blt(&client, frame, &area, DDBLT_WAIT, nullptr)));
    Fact("IsLost %08x", Hr(frame->IsLost()));
    clipper->Release();
    frame->Release();
    primary->Release();
}

void ProbeFullScreenDisplay(HWND window) {
    if (directDraw == nullptr) return;
    Fact("SetCooperativeLevel FULLSCREEN EXCLUSIVE %08x",
         Hr(directDraw->SetCooperativeLevel(window, DDSCL_FULLSCREEN | DDSCL_EXCLUSIVE)));
    Fact("SetDisplayMode 640x480x8 %08x", Hr(directDraw->SetDisplayMode(640, 480, 8, 0, 0)));
    Pump(200);
    Fact("full screen SM_CXSCREEN %d SM_CYSCREEN %d", GetSystemMetrics(SM_CXSCREEN),
         GetSystemMetrics(SM_CYSCREEN));

    DDSURFACEDESC2 desc = {};
    desc.dwSize = sizeof desc;
    desc.dwFlags = DDSD_CAPS | DDSD_BACKBUFFERCOUNT;
    desc.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE | DDSCAPS_FLIP | DDSCAPS_COMPLEX;
    desc.dwBackBufferCount = 1;
    IDirectDrawSurface7* primary = nullptr;
    Fact("CreateSurface flip chain %08x", Hr(directDraw->CreateSurface(&desc, &primary, nullptr)));
    if (primary == nullptr) return;
    DDSCAPS2 caps = {};
    caps.dwCaps = DDSCAPS_BACKBUFFER;
    IDirectDrawSurface7* back = nullptr;
    Fact("GetAttachedSurface %08x", Hr(primary->GetAttachedSurface(&caps, &back)));
    if (back == nullptr) return;
    DescribeFormat(back, "full screen back");

    // The game's palette, from its resource.
    PALETTEENTRY entries[256] = {};
    HRSRC found = FindResourceA(nullptr, "MYPALLET", RT_BITMAP);
    const auto* bytes =
        found ? static_cast<const unsigned char*>(LockResource(LoadResource(nullptr, found)))
              : nullptr;
    for (int i = 0; bytes != nullptr && i < 256; ++i) {
        entries[i] = {bytes[40 + 4 * i + 2], bytes[40 + 4 * i + 1], bytes[40 + 4 * i], 0};
    }
    IDirectDrawPalette* palette = nullptr;
    Fact("CreatePalette %08x",
         Hr(directDraw->CreatePalette(DDPCAPS_8BIT, entries, &palette, nullptr)));
    if (palette != nullptr) {
        Fact("SetPalette %08x", Hr(primary->SetPalette(palette)));
        PALETTEENTRY back256[256] = {};
        Fact("GetEntries %08x", Hr(palette->GetEntries(0, 0, 256, back256)));
        Fact("entries read back equal %d",
             std::memcmp(back256, entries, sizeof entries) == 0 ? 1 : 0);
    }

    Fill(back, nullptr, 0, "full screen clear");
    RECT box = {10, 10, 20, 20};
    Fill(back, &box, 41, "full screen box");
    PixelRow(back, "full screen fill", 8, 10, 4);
    GdiPixel(back, "full screen", 1, RGB(0, 0, 255));
    GdiPixel(back, "full screen", 2, RGB(255, 255, 196));
    GdiPixel(back, "full screen", 3, RGB(128, 128, 128));
    GdiPixel(back, "full screen", 4, RGB(250, 10, 10));

    IDirectDrawSurface7* image = PlainSurface(16, 4);
    if (image != nullptr) {
        CopyBitmapFile(image, "full screen image");
        PixelRow(image, "full screen image", 0, 0, 8);
        ColourKeyCopy(back, image, 43, "full screen key");
        image->Release();
    }
    RECT white = {200, 200, 400, 260};
    Fill(back, &white, 45, "full screen text area");
    Text(back, "full screen latin", 200, 200, "Parrun 0123", 20, 500);
    TextInk(back, "full screen latin", {200, 200, 400, 228}, 45, 249);

    // What was drawn into the back page is in front after a flip; the back page then holds
    // the old front page.
    RECT marker = {0, 100, 4, 101};
    Fill(back, &marker, 21, "full screen marker");
    Fact("Flip %08x", Hr(primary->Flip(nullptr, 0)));
    PixelRow(primary, "after flip front", 0, 100, 4);
    PixelRow(back, "after flip back", 0, 100, 4);

    if (palette != nullptr) palette->Release();
    back->Release();
    primary->Release();
    Fact("RestoreDisplayMode %08x", Hr(directDraw->RestoreDisplayMode()));
    Fact("SetCooperativeLevel NORMAL again %08x",
         Hr(directDraw->SetCooperativeLevel(window, DDSCL_NORMAL)));
    Pump(200);
    Fact("windowed again SM_CXSCREEN %d SM_CYSCREEN %d", GetSystemMetrics(SM_CXSCREEN),
         GetSystemMetrics(SM_CYSCREEN));
    Fact("Release DirectDraw %lu", static_cast<unsigned long>(directDraw->Release()));
    directDraw = nullptr;
}
