// The tiled frames of the table screens and the settings screen, all of 16 x 16 tiles of the
// high-score image.
#pragma once

#include "screens/screen_drawing.h"

namespace hisco {

// Outer frame tiles.
constexpr Piece kOuterTopLeft{ImageId::Hisco, 0, 0, 16, 16};
constexpr Piece kOuterTopRight{ImageId::Hisco, 16, 0, 32, 16};
constexpr Piece kOuterBottomLeft{ImageId::Hisco, 32, 0, 48, 16};
constexpr Piece kOuterBottomRight{ImageId::Hisco, 48, 0, 64, 16};
constexpr Piece kOuterTop{ImageId::Hisco, 64, 0, 80, 16};
constexpr Piece kOuterBottom{ImageId::Hisco, 80, 0, 96, 16};
constexpr Piece kOuterLeft{ImageId::Hisco, 96, 0, 112, 16};
constexpr Piece kOuterRight{ImageId::Hisco, 112, 0, 128, 16};

// Panel frame tiles.
constexpr Piece kPanelTopLeft{ImageId::Hisco, 0, 16, 16, 32};
constexpr Piece kPanelTopRight{ImageId::Hisco, 16, 16, 32, 32};
constexpr Piece kPanelBottomLeft{ImageId::Hisco, 32, 16, 48, 32};
constexpr Piece kPanelBottomRight{ImageId::Hisco, 48, 16, 64, 32};
constexpr Piece kPanelTop{ImageId::Hisco, 64, 16, 80, 32};
constexpr Piece kPanelRule{ImageId::Hisco, 80, 16, 96, 32};
constexpr Piece kPanelLeft{ImageId::Hisco, 96, 16, 112, 32};
constexpr Piece kPanelRight{ImageId::Hisco, 112, 16, 128, 32};
constexpr Piece kPanelBand{ImageId::Hisco, 0, 32, 16, 48};
constexpr Piece kPanelBottom{ImageId::Hisco, 16, 32, 32, 48};

constexpr int kTile = 16;

}  // namespace hisco

// One row of tiles at (x, y): the first piece in column 0, the last in the last column, the
// middle one between.
void DrawTileRow(int columns, int x, int y, const Piece& first, const Piece& middle,
                 const Piece& last);
// The frame round the whole play area: 30 tiles wide, 20 high.
void DrawOuterFrame();
// A panel of `columns` tiles with its top row at (x, y) and its bottom row at yBottom: a top
// row, a band, a rule, the bottom row, then side edges in every row from y = 48 down to the one
// above the bottom row, over the rows where they meet.
void DrawPanel(int columns, int x, int y, int yBottom);
