// The GDI functions the game calls: bitmaps from BMP files, device contexts, pixel access,
// copies that convert between formats, and text.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

#include "platform/core/codepage.h"
#include "platform/faults/fault_points.h"
#include "platform/gdi/font_renderer.h"
#include "platform/gdi/gdi_objects.h"

using platform::FindGdiObject;
using platform::GdiKind;
using platform::GdiObject;

namespace {

// The pixels a device context draws into: its bitmap's, or the outside memory of a view DC.
bool DcView(GdiObject* dc, platform::PixelView& view) {
    if (dc->viewDc) {
        view = dc->view;
        return view.bits != nullptr;
    }
    GdiObject* bitmap = FindGdiObject(dc->bitmap, GdiKind::Bitmap);
    if (bitmap == nullptr) return false;
    view = bitmap->image.View();
    return view.bits != nullptr;
}

bool ReadFile(const char* path, std::vector<uint8_t>& bytes) {
    std::FILE* file = std::fopen(path, "rb");
    if (file == nullptr) return false;
    bytes.clear();
    uint8_t buffer[65536];
    size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
        bytes.insert(bytes.end(), buffer, buffer + got);
        // No picture a game loads is anywhere near this; refuse rather than exhaust memory.
        if (bytes.size() > (size_t{256} << 20)) {
            std::fclose(file);
            return false;
        }
    }
    bool ok = !std::ferror(file);
    std::fclose(file);
    return ok;
}

}  // namespace

HANDLE WINAPI LoadImageA(HINSTANCE instance, LPCSTR name, UINT type, int width, int height,
                         UINT flags) {
    // Only bitmap files at their own size, which is all the game asks for.
    if (name == nullptr || type != IMAGE_BITMAP || !(flags & LR_LOADFROMFILE) || width != 0 ||
        height != 0 || platform::FaultFires("LoadImageA")) {
        return nullptr;
    }
    std::vector<uint8_t> bytes;
    if (!ReadFile(name, bytes)) return nullptr;
    auto object = std::make_unique<GdiObject>();
    object->kind = GdiKind::Bitmap;
    if (!platform::ParseBmp(bytes.data(), bytes.size(), object->image)) return nullptr;
    return platform::AddGdiObject(std::move(object));
}

int WINAPI GetObjectA(HANDLE object, int size, LPVOID buffer) {
    GdiObject* bitmap = FindGdiObject(object, GdiKind::Bitmap);
    if (bitmap == nullptr) return 0;
    if (buffer == nullptr) return sizeof(BITMAP);
    if (size < static_cast<int>(sizeof(BITMAP))) return 0;
    BITMAP info = {};
    info.bmType = 0;
    info.bmWidth = bitmap->image.width;
    info.bmHeight = bitmap->image.height;
    info.bmWidthBytes = ((bitmap->image.width * bitmap->image.fileBits + 15) / 16) * 2;
    info.bmPlanes = 1;
    info.bmBitsPixel = static_cast<WORD>(bitmap->image.fileBits);
    info.bmBits = bitmap->image.pixels.data();
    std::memcpy(buffer, &info, sizeof info);
    return sizeof(BITMAP);
}

BOOL WINAPI DeleteObject(HGDIOBJ object) {
    auto& objects = platform::Gdi().objects;
    auto it = objects.find(reinterpret_cast<uintptr_t>(object));
    if (it == objects.end() || it->second->kind == GdiKind::Dc) return FALSE;
    if (it->second->stock) return TRUE;
    // An object still selected into a device context stays.
    if (it->second->selections > 0) return FALSE;
    objects.erase(it);
    return TRUE;
}

HDC WINAPI CreateCompatibleDC(HDC dc) {
    if (dc != nullptr && FindGdiObject(dc, GdiKind::Dc) == nullptr) return nullptr;
    auto object = std::make_unique<GdiObject>();
    object->kind = GdiKind::Dc;
    object->bitmap = platform::Gdi().defaultBitmap;
    object->selectedFont = platform::Gdi().defaultFont;
    return static_cast<HDC>(platform::AddGdiObject(std::move(object)));
}

BOOL WINAPI DeleteDC(HDC dc) {
    GdiObject* object = FindGdiObject(dc, GdiKind::Dc);
    // A surface's context goes back to the surface with ReleaseDC.
    if (object == nullptr || object->viewDc) return FALSE;
    if (GdiObject* bitmap = FindGdiObject(object->bitmap, GdiKind::Bitmap)) --bitmap->selections;
    if (GdiObject* font = FindGdiObject(object->selectedFont, GdiKind::Font)) --font->selections;
    platform::Gdi().objects.erase(reinterpret_cast<uintptr_t>(dc));
    return TRUE;
}

HGDIOBJ WINAPI SelectObject(HDC dc, HGDIOBJ object) {
    GdiObject* context = FindGdiObject(dc, GdiKind::Dc);
    if (context == nullptr) return nullptr;
    if (GdiObject* bitmap = FindGdiObject(object, GdiKind::Bitmap)) {
        // Only a memory DC takes a bitmap, and a bitmap goes into one DC at a time.
        if (context->viewDc || (bitmap->selections > 0 && context->bitmap != object)) {
            return nullptr;
        }
        HGDIOBJ previous = context->bitmap;
        if (previous == object) return previous;
        if (GdiObject* old = FindGdiObject(previous, GdiKind::Bitmap)) --old->selections;
        ++bitmap->selections;
        context->bitmap = object;
        return previous;
    }
    if (GdiObject* font = FindGdiObject(object, GdiKind::Font)) {
        HGDIOBJ previous = context->selectedFont;
        if (previous == object) return previous;
        if (GdiObject* old = FindGdiObject(previous, GdiKind::Font)) --old->selections;
        ++font->selections;
        context->selectedFont = object;
        return previous;
    }
    return nullptr;
}

BOOL WINAPI BitBlt(HDC dest, int x, int y, int width, int height, HDC source, int sourceX,
                   int sourceY, DWORD rop) {
    GdiObject* destDc = FindGdiObject(dest, GdiKind::Dc);
    GdiObject* sourceDc = FindGdiObject(source, GdiKind::Dc);
    platform::PixelView to, from;
    if (rop != SRCCOPY || destDc == nullptr || sourceDc == nullptr || !DcView(destDc, to) ||
        !DcView(sourceDc, from)) {
        return FALSE;
    }
    // GDI clips the copy to both bitmaps: what lies outside either is left alone.
    int left = std::max({0, x, x - sourceX});
    int top = std::max({0, y, y - sourceY});
    int right = std::min({to.width, x + width, x - sourceX + from.width});
    int bottom = std::min({to.height, y + height, y - sourceY + from.height});
    bool same = to.format == from.format &&
                (!to.format.Indexed() ||
                 (to.palette != nullptr && from.palette != nullptr &&
                  std::memcmp(to.palette, from.palette, 256 * sizeof(PALETTEENTRY)) == 0));
    // Each source colour is matched once: indexed sources have at most 256 of them.
    std::vector<int64_t> mapped(from.format.Indexed() ? 256 : 0, -1);
    for (int dy = top; dy < bottom; ++dy) {
        for (int dx = left; dx < right; ++dx) {
            uint32_t raw = platform::ReadPixel(from, dx - x + sourceX, dy - y + sourceY);
            uint32_t value;
            if (same) {
                value = raw;
            } else if (!mapped.empty()) {
                int64_t& cached = mapped[raw & 0xFF];
                if (cached < 0)
                    cached = platform::ColorToPixel(to, platform::PixelToColor(from, raw));
                value = static_cast<uint32_t>(cached);
            } else {
                value = platform::ColorToPixel(to, platform::PixelToColor(from, raw));
            }
            platform::WritePixel(to, dx, dy, value);
        }
    }
    return TRUE;
}

COLORREF WINAPI GetPixel(HDC dc, int x, int y) {
    GdiObject* context = FindGdiObject(dc, GdiKind::Dc);
    platform::PixelView view;
    if (context == nullptr || !DcView(context, view) || !view.Contains(x, y)) return CLR_INVALID;
    return platform::PixelToColor(view, platform::ReadPixel(view, x, y));
}

COLORREF WINAPI SetPixel(HDC dc, int x, int y, COLORREF color) {
    GdiObject* context = FindGdiObject(dc, GdiKind::Dc);
    platform::PixelView view;
    if (context == nullptr || !DcView(context, view) || !view.Contains(x, y)) return CLR_INVALID;
    uint32_t value = platform::ColorToPixel(view, color);
    platform::WritePixel(view, x, y, value);
    return platform::PixelToColor(view, value);
}

HFONT WINAPI CreateFontA(int height, int width, int escapement, int orientation, int weight,
                         DWORD italic, DWORD underline, DWORD strikeOut, DWORD charSet,
                         DWORD outPrecision, DWORD clipPrecision, DWORD quality,
                         DWORD pitchAndFamily, LPCSTR faceName) {
    auto object = std::make_unique<GdiObject>();
    object->kind = GdiKind::Font;
    object->font.height = height;
    object->font.width = width;
    object->font.weight = weight == FW_DONTCARE ? FW_NORMAL : weight;
    object->font.italic = italic != 0;
    object->font.charSet = charSet;
    object->font.pitchAndFamily = pitchAndFamily;
    // Every face name, "ＭＳ ゴシック" included, is drawn with the one Japanese gothic we have.
    object->font.faceName = faceName != nullptr ? faceName : "";
    return static_cast<HFONT>(platform::AddGdiObject(std::move(object)));
}

int WINAPI SetBkMode(HDC dc, int mode) {
    GdiObject* context = FindGdiObject(dc, GdiKind::Dc);
    if (context == nullptr || (mode != TRANSPARENT && mode != OPAQUE)) return 0;
    int previous = context->bkMode;
    context->bkMode = mode;
    return previous;
}

COLORREF WINAPI SetTextColor(HDC dc, COLORREF color) {
    GdiObject* context = FindGdiObject(dc, GdiKind::Dc);
    if (context == nullptr) return CLR_INVALID;
    COLORREF previous = context->textColor;
    context->textColor = color;
    return previous;
}

BOOL WINAPI TextOutA(HDC dc, int x, int y, LPCSTR text, int length) {
    GdiObject* context = FindGdiObject(dc, GdiKind::Dc);
    platform::PixelView view;
    if (context == nullptr || length < 0 || (text == nullptr && length > 0) ||
        !DcView(context, view)) {
        return FALSE;
    }
    if (length == 0) return TRUE;
    GdiObject* font = FindGdiObject(context->selectedFont, GdiKind::Font);
    platform::TextStyle style =
        platform::StyleForFont(font != nullptr ? font->font : platform::GdiFontRequest{});
    std::u32string codePoints =
        platform::DecodeUtf8(platform::Cp932ToUtf8(text, static_cast<size_t>(length)));
    uint32_t color = platform::ColorToPixel(view, context->textColor);
    uint32_t background = platform::ColorToPixel(view, context->bkColor);
    platform::DrawTextRun(view, x, y, codePoints, style, color,
                          context->bkMode == OPAQUE ? &background : nullptr);
    return TRUE;
}
