#include "screens/screen_drawing.h"

#include "display/display_state.h"
#include "display/drawing.h"

void DrawPiece(const Piece& piece, int x, int y) {
    RECT source;
    BlitImage(piece.image, x, y,
              MakeRect(source, piece.top, piece.left, piece.right, piece.bottom));
}

uint32_t FillValue(const PaletteColor& color) {
    if (color.index == kWhite.index && display.windowed) return 0xFFFFFF;
    return ColorValue(color.index, color.red, color.green, color.blue);
}

void FillPlay(int left, int top, int right, int bottom, const PaletteColor& color) {
    RECT rect;
    MakeRect(rect, top + kFrameOriginY, left + kFrameOriginX, right + kFrameOriginX,
             bottom + kFrameOriginY);
    FillRect(&rect, FillValue(color));
}

void ClearFrame() {
    // Palette entry 0 is black, so 0 is black in every mode.
    FillRect(nullptr, 0);
}
