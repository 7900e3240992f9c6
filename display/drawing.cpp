#include "display/drawing.h"

#include "display/display_state.h"
#include "display/image_assets.h"
#include "shell/shell_state.h"

RECT& MakeRect(RECT& rect, int top, int left, int right, int bottom) {
    rect.left = static_cast<int16_t>(left);
    rect.top = static_cast<int16_t>(top);
    rect.right = static_cast<int16_t>(right);
    rect.bottom = static_cast<int16_t>(bottom);
    return rect;
}

void BlitImage(ImageId image, int x, int y, const RECT& source) {
    IDirectDrawSurface7* from = display.images[static_cast<int>(image)];
    if (display.frameSurface == nullptr || from == nullptr) return;
    RECT rect = source;
    // Waits while a flip keeps the blitter busy: a refused copy would be missing from one page.
    display.frameSurface->BltFast(static_cast<DWORD>(x + kFrameOriginX),
                                  static_cast<DWORD>(y + kFrameOriginY), from, &rect,
                                  DDBLTFAST_SRCCOLORKEY | DDBLTFAST_WAIT);
}

void FillRect(const RECT* rect, uint32_t value) {
    if (display.frameSurface == nullptr) return;
    display.fillEffects.dwFillColor = value;
    RECT area;
    if (rect != nullptr) area = *rect;
    display.frameSurface->Blt(rect != nullptr ? &area : nullptr, nullptr, nullptr,
                              DDBLT_COLORFILL | DDBLT_WAIT, &display.fillEffects);
}

uint32_t ColorValue(int index, int red, int green, int blue) {
    if (!display.windowed) return static_cast<uint32_t>(index);
    if (display.frameDepth16.depth == 16) return PackRgb16(red, green, blue);
    return static_cast<uint32_t>(red * 65536 + green * 256 + blue);
}

uint32_t PackRgb16(int red, int green, int blue) {
    const FrameDepth16& d = display.frameDepth16;
    auto r = static_cast<uint32_t>(red), g = static_cast<uint32_t>(green),
         b = static_cast<uint32_t>(blue);
    return ((r >> (8 - d.red)) << (d.green + d.blue)) | ((g >> (8 - d.green)) << d.blue) |
           (b >> (8 - d.blue));
}

int SplitDigits(int32_t* digits, uint32_t value) {
    int count = 1;
    for (uint32_t rest = value / 10; rest != 0; rest /= 10) ++count;
    uint32_t power = 1;
    for (int i = 0; i < count; ++i) {
        digits[i] = static_cast<int32_t>((value / power) % 10);
        if (i + 1 < count) power *= 10;
    }
    return count;
}

namespace {

// Restored memory holds garbage, and some screens draw only the play area (the rankings, the
// settings): both pages start black again, as they were when the display started. In a
// window the primary surface is the desktop, which is not the game's to fill.
void ClearRestoredPages() {
    FillRect(nullptr, 0);
    if (!display.windowed) {
        display.primary->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT,
                             &display.fillEffects);
    }
}

}  // namespace

HRESULT PresentFrame() {
    if (display.primary == nullptr || display.frameSurface == nullptr) return DDERR_GENERIC;
    for (;;) {
        HRESULT result;
        if (!display.windowed) {
            result = display.primary->Flip(nullptr, 0);
        } else {
            RECT dest = display.clientScreenRect;
            RECT playArea = {kFrameOriginX, kFrameOriginY, kFrameOriginX + kPlayWidth,
                             kFrameOriginY + kPlayHeight};
            // The clipper keeps the copy inside the window.
            result =
                display.primary->Blt(&dest, display.frameSurface, &playArea, DDBLT_WAIT, nullptr);
        }
        if (result == DD_OK) return DD_OK;
        if (result == DDERR_SURFACELOST) {
            HRESULT restored = display.primary->Restore();
            if (FAILED(restored)) return restored;
            if (display.windowed) {
                restored = display.frameSurface->Restore();
                if (FAILED(restored)) return restored;
            }
            RestoreLostImages();
            ClearRestoredPages();
            // This frame is not shown, and what was drawn while the surfaces were lost went
            // nowhere: the restored pages hold garbage until the whole screen is drawn again.
            shell.screenDirty = true;
            shell.displayRestored = true;
            shell.phraseDirty = true;
            return DD_OK;
        }
        if (result != DDERR_WASSTILLDRAWING) return result;
    }
}
