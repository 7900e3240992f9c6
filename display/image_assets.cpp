#include "display/image_assets.h"

#include <cstring>

#include "display/display_device.h"
#include "display/display_state.h"

namespace {

struct ImageFile {
    const char* path;
    int width;
    int height;
};

// In ImageId order. The surface size is fixed here; a larger file is cut to it.
constexpr ImageFile kImageFiles[kImageCount] = {
    {"images/zubi1-1.bmp", 96, 144},    {"images/yama1-1.bmp", 96, 144},
    {"images/parts1-2.bmp", 160, 48},   {"images/back1-1.bmp", 224, 128},
    {"images/bar1-1.bmp", 208, 16},     {"images/words1-1.bmp", 208, 528},
    {"images/title1-1.bmp", 224, 224},  {"images/hisco1-1.bmp", 128, 160},
    {"images/win1-1.bmp", 320, 96},     {"images/win1-2.bmp", 320, 96},
    {"images/timewin1-1.bmp", 240, 48}, {"images/timewin1-2.bmp", 176, 48},
};

// Pure blue marks the transparent parts of every image.
constexpr COLORREF kKeyColor = RGB(0, 0, 255);

// The messages, in Shift-JIS.
// "パレットをロードできませんでした" / "エラー"
constexpr char kPaletteFailed[] =
    "\x83\x70\x83\x8c\x83\x62\x83\x67\x82\xf0\x83\x8d\x81\x5b\x83\x68\x82\xc5\x82\xab\x82\xdc"
    "\x82\xb9\x82\xf1\x82\xc5\x82\xb5\x82\xbd";
constexpr char kError[] = "\x83\x47\x83\x89\x81\x5b";
// "BMPをロードできませんでした"
constexpr char kImageFailed[] =
    "BMP\x82\xf0\x83\x8d\x81\x5b\x83\x68\x82\xc5\x82\xab\x82\xdc\x82\xb9\x82\xf1\x82\xc5\x82\xb5"
    "\x82\xbd";
// "リソースがありませんでした" / "検索失敗"
constexpr char kNoResource[] =
    "\x83\x8a\x83\x5c\x81\x5b\x83\x58\x82\xaa\x82\xa0\x82\xe8\x82\xdc\x82\xb9\x82\xf1\x82\xc5"
    "\x82\xb5\x82\xbd";
constexpr char kSearchFailed[] = "\x8c\x9f\x8d\xf5\x8e\xb8\x94\x73";
// "リソースをロードできませんでした" / "ロード失敗"
constexpr char kResourceNotLoaded[] =
    "\x83\x8a\x83\x5c\x81\x5b\x83\x58\x82\xf0\x83\x8d\x81\x5b\x83\x68\x82\xc5\x82\xab\x82\xdc"
    "\x82\xb9\x82\xf1\x82\xc5\x82\xb5\x82\xbd";
constexpr char kLoadFailed[] = "\x83\x8d\x81\x5b\x83\x68\x8e\xb8\x94\x73";
// "BMPは256色ではありません"
constexpr char kNot256Colors[] =
    "BMP\x82\xcd"
    "256"
    "\x90\x46\x82\xc5\x82\xcd\x82\xa0\x82\xe8\x82\xdc\x82\xb9\x82\xf1";
// "サイズが一致しません" / "失敗"
constexpr char kSizeMismatch[] =
    "\x83\x54\x83\x43\x83\x59\x82\xaa\x88\xea\x92\x76\x82\xb5\x82\xdc\x82\xb9\x82\xf1";
constexpr char kFailed[] = "\x8e\xb8\x94\x73";

constexpr DWORD kInfoHeaderSize = 40;

uint32_t ReadU32(const BYTE* p) {
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

// Loads a bitmap file and copies its top-left part onto the surface; false when the file can't
// be loaded or is smaller than the surface (which would leave part of the surface unset).
bool FillImageSurface(LPCSTR path, IDirectDrawSurface7* surface, int width, int height) {
    auto bitmap = static_cast<HBITMAP>(
        LoadImageA(nullptr, path, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION));
    if (bitmap == nullptr) return false;
    BITMAP info = {};
    GetObjectA(bitmap, sizeof info, &info);
    LONG bitmapHeight = info.bmHeight < 0 ? -info.bmHeight : info.bmHeight;
    if (info.bmWidth < width || bitmapHeight < height) {
        DeleteObject(bitmap);
        return false;
    }
    CopyBitmapToSurface(bitmap, surface, 0, 0, width, height);
    DeleteObject(bitmap);
    return true;
}

}  // namespace

int StartDisplay(HWND window) {
    if (!CreateDisplayDevice(window)) return 0;
    if (!LoadPalette("MYPALLET", window)) {
        MessageBoxA(window, kPaletteFailed, kError, MB_OK);
        return 0;
    }
    for (int i = 0; i < kImageCount; ++i) {
        const ImageFile& file = kImageFiles[i];
        if (!LoadImageSurface(file.path, display.images[i], file.width, file.height)) {
            MessageBoxA(window, kImageFailed, kError, MB_OK);
            return 0;
        }
    }
    for (IDirectDrawSurface7* image : display.images) SetSurfaceColorKey(image, kKeyColor);
    if (display.palette == nullptr ||
        FAILED(display.palette->GetEntries(0, 0, 256, display.paletteReadBack.data()))) {
        return 0;
    }
    return 1;
}

int LoadPalette(LPCSTR name, HWND window) {
    HMODULE module = GetModuleHandleA(nullptr);
    HRSRC resource = FindResourceA(module, name, RT_BITMAP);
    if (resource == nullptr) {
        MessageBoxA(window, kNoResource, kSearchFailed, MB_OK);
        return 0;
    }
    HGLOBAL loaded = LoadResource(module, resource);
    const BYTE* data = loaded != nullptr ? static_cast<const BYTE*>(LockResource(loaded)) : nullptr;
    if (data == nullptr) {
        MessageBoxA(window, kResourceNotLoaded, kLoadFailed, MB_OK);
        return 0;
    }
    // Nothing is read beyond the resource: one too short for its header or its colour table
    // is reported as a size that does not match.
    DWORD size = SizeofResource(module, resource);
    if (size < 16) {
        MessageBoxA(window, kSizeMismatch, kFailed, MB_OK);
        return 0;
    }
    unsigned bitsPerPixel = data[14] | (data[15] << 8);
    if (bitsPerPixel > 8) {
        MessageBoxA(window, kNot256Colors, kLoadFailed, MB_OK);
        return 0;
    }
    if (ReadU32(data) != kInfoHeaderSize || size < kInfoHeaderSize) {
        MessageBoxA(window, kSizeMismatch, kFailed, MB_OK);
        return 0;
    }
    uint32_t count = ReadU32(data + 32);
    if (count == 0) count = 1u << bitsPerPixel;
    if (count > 256) count = 256;
    if ((size - kInfoHeaderSize) / 4 < count) {
        MessageBoxA(window, kSizeMismatch, kFailed, MB_OK);
        return 0;
    }
    const BYTE* table = data + kInfoHeaderSize;
    for (uint32_t i = 0; i < count; ++i) {
        display.paletteTable[i] = PALETTEENTRY{table[4 * i + 2], table[4 * i + 1], table[4 * i], 0};
    }
    display.directDraw->CreatePalette(DDPCAPS_8BIT, display.paletteTable.data(), &display.palette,
                                      nullptr);
    display.primary->SetPalette(display.palette);
    return 1;
}

int LoadImageSurface(LPCSTR path, IDirectDrawSurface7*& slot, int width, int height) {
    DDSURFACEDESC2 desc = {};
    desc.dwSize = sizeof desc;
    desc.dwFlags = DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH;
    desc.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN;
    desc.dwWidth = static_cast<DWORD>(width);
    desc.dwHeight = static_cast<DWORD>(height);
    if (FAILED(display.directDraw->CreateSurface(&desc, &slot, nullptr))) return 0;
    // A failed file leaves the surface in its slot; it is released with the others.
    return FillImageSurface(path, slot, width, height) ? 1 : 0;
}

void CopyBitmapToSurface(HBITMAP bitmap, IDirectDrawSurface7* surface, int x, int y, int width,
                         int height) {
    BITMAP info = {};
    GetObjectA(bitmap, sizeof info, &info);
    if (width == 0) width = info.bmWidth;
    if (height == 0) height = info.bmHeight;
    HDC memory = CreateCompatibleDC(nullptr);
    SelectObject(memory, bitmap);
    HDC surfaceDc = nullptr;
    if (SUCCEEDED(surface->GetDC(&surfaceDc))) {
        BitBlt(surfaceDc, 0, 0, width, height, memory, x, y, SRCCOPY);
        surface->ReleaseDC(surfaceDc);
    }
    DeleteDC(memory);
}

uint32_t MatchSurfaceColor(IDirectDrawSurface7* surface, COLORREF color) {
    // GDI puts the colour into the surface's own format; reading the pixel back gives its value.
    COLORREF saved = CLR_INVALID;
    bool written = false;
    HDC dc = nullptr;
    if (color != CLR_INVALID && SUCCEEDED(surface->GetDC(&dc))) {
        saved = GetPixel(dc, 0, 0);
        SetPixel(dc, 0, 0, color);
        surface->ReleaseDC(dc);
        written = true;
    }
    DDSURFACEDESC2 desc = {};
    desc.dwSize = sizeof desc;
    HRESULT locked;
    while ((locked = surface->Lock(nullptr, &desc, 0, nullptr)) == DDERR_WASSTILLDRAWING) {
    }
    uint32_t value = 0xFFFFFFFF;
    if (locked == DD_OK) {
        std::memcpy(&value, desc.lpSurface, sizeof value);
        DWORD bits = desc.ddpfPixelFormat.dwRGBBitCount;
        if (bits < 32) value &= (uint32_t{1} << bits) - 1;
        surface->Unlock(nullptr);
    }
    if (written && SUCCEEDED(surface->GetDC(&dc))) {
        SetPixel(dc, 0, 0, saved);
        surface->ReleaseDC(dc);
    }
    return value;
}

void SetSurfaceColorKey(IDirectDrawSurface7* surface, COLORREF color) {
    DDCOLORKEY key = {};
    key.dwColorSpaceLowValue = MatchSurfaceColor(surface, color);
    key.dwColorSpaceHighValue = key.dwColorSpaceLowValue;
    surface->SetColorKey(DDCKEY_SRCBLT, &key);
}

void RestoreLostImages() {
    // The platform gives back the memory of a lost surface but not what it held.
    for (int i = 0; i < kImageCount; ++i) {
        IDirectDrawSurface7* image = display.images[i];
        if (image == nullptr || image->IsLost() != DDERR_SURFACELOST) continue;
        if (SUCCEEDED(image->Restore())) {
            FillImageSurface(kImageFiles[i].path, image, kImageFiles[i].width,
                             kImageFiles[i].height);
        }
    }
}
