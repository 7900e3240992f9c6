// What every screen is made of: a rectangle of one of the images placed at a play-area point,
// and fills of play-area rectangles in the named colours of the palette.
#pragma once

#include <windows.h>

#include <cstdint>

#include "display/image_id.h"

// A rectangle of an image: left, top, right, bottom, right and bottom exclusive.
struct Piece {
    ImageId image;
    int left, top, right, bottom;
};

// Copies the piece, colour-keyed, with its top-left corner at (x, y) of the play area.
void DrawPiece(const Piece& piece, int x, int y);

// A palette entry and the colour it stands for.
struct PaletteColor {
    int index;
    int red, green, blue;
};

constexpr PaletteColor kVermilion{21, 232, 106, 70};
constexpr PaletteColor kLavender{37, 162, 159, 219};
constexpr PaletteColor kSalmon{38, 248, 146, 113};
constexpr PaletteColor kCream{41, 255, 255, 196};
constexpr PaletteColor kGrey{42, 128, 128, 128};
constexpr PaletteColor kWhite{45, 255, 255, 255};
constexpr PaletteColor kPink{48, 255, 196, 196};

// The raw fill value of a colour in the current mode. White is 0xFFFFFF in a window at every
// depth, 16 bits included, and its index in full screen.
uint32_t FillValue(const PaletteColor& color);
// Fills a play-area rectangle, moved into the frame by the play area's origin.
void FillPlay(int left, int top, int right, int bottom, const PaletteColor& color);
// Fills the whole frame, border included, with black.
void ClearFrame();
