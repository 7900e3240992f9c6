#include "display/text_drawing.h"

#include <ddraw.h>
#include <windows.h>

#include <cstdint>

#include "display/display_state.h"

namespace {

// "ＭＳ ゴシック" in Shift-JIS.
constexpr char kFaceName[] = "\x82\x6c\x82\x72\x20\x83\x53\x83\x56\x83\x62\x83\x4e";

// The light grey a shadow is drawn in, one pixel right and down.
constexpr COLORREF kShadowColor = RGB(230, 230, 230);

struct TextRun {
    const char* text;
    int x;
    int y;
    int length;
    COLORREF color;
};

// Draws the text (and its shadow) in a font made for this one call.
void DrawRun(const TextRun& run, int fontHeight, int weight, bool shadow) {
    if (display.frameSurface == nullptr) return;
    HDC dc = nullptr;
    if (FAILED(display.frameSurface->GetDC(&dc))) return;
    HFONT font = CreateFontA(fontHeight, 0, 0, 0, weight, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET,
                             OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                             FIXED_PITCH | FF_ROMAN, kFaceName);
    HGDIOBJ previous = SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    // Positions and lengths are 16-bit values.
    int x = static_cast<int16_t>(run.x) + kFrameOriginX;
    int y = static_cast<int16_t>(run.y) + kFrameOriginY;
    int length = static_cast<int16_t>(run.length);
    if (shadow) {
        SetTextColor(dc, kShadowColor);
        TextOutA(dc, x + 1, y + 1, run.text, length);
    }
    SetTextColor(dc, run.color);
    TextOutA(dc, x, y, run.text, length);
    SelectObject(dc, previous);
    DeleteObject(font);
    display.frameSurface->ReleaseDC(dc);
}

COLORREF LowBytes(int red, int green, int blue) {
    return RGB(red & 0xFF, green & 0xFF, blue & 0xFF);
}

}  // namespace

void DrawTextShadowed(const char* text, int x, int y, int length, int red, int green, int blue) {
    DrawRun({text, x, y, length, LowBytes(red, green, blue)}, 20, FW_MEDIUM, true);
}

void DrawTextBold(const char* text, int x, int y, int length, int red, int green, int blue) {
    DrawRun({text, x, y, length, LowBytes(red, green, blue)}, 15, FW_BOLD, false);
}
