#include "screens/hisco_frames.h"

using namespace hisco;

namespace {

constexpr int kOuterColumns = 30;
constexpr int kOuterRows = 20;
// Where the panels' side edges begin, whatever the panel's top.
constexpr int kPanelSidesTop = 48;

}  // namespace

void DrawTileRow(int columns, int x, int y, const Piece& first, const Piece& middle,
                 const Piece& last) {
    for (int c = 0; c < columns; ++c) {
        const Piece& piece = c == 0 ? first : c == columns - 1 ? last : middle;
        DrawPiece(piece, x + kTile * c, y);
    }
}

void DrawOuterFrame() {
    const int bottom = kTile * (kOuterRows - 1);
    const int right = kTile * (kOuterColumns - 1);
    DrawTileRow(kOuterColumns, 0, 0, kOuterTopLeft, kOuterTop, kOuterTopRight);
    DrawTileRow(kOuterColumns, 0, bottom, kOuterBottomLeft, kOuterBottom, kOuterBottomRight);
    for (int r = 1; r < kOuterRows - 1; ++r) {
        DrawPiece(kOuterLeft, 0, kTile * r);
        DrawPiece(kOuterRight, right, kTile * r);
    }
}

void DrawPanel(int columns, int x, int y, int yBottom) {
    DrawTileRow(columns, x, y, kPanelTopLeft, kPanelTop, kPanelTopRight);
    DrawTileRow(columns, x, y + kTile, kPanelLeft, kPanelBand, kPanelRight);
    DrawTileRow(columns, x, y + 2 * kTile, kPanelLeft, kPanelRule, kPanelRight);
    DrawTileRow(columns, x, yBottom, kPanelBottomLeft, kPanelBottom, kPanelBottomRight);
    for (int row = kPanelSidesTop; row < yBottom; row += kTile) {
        DrawPiece(kPanelLeft, x, row);
        DrawPiece(kPanelRight, x + kTile * (columns - 1), row);
    }
}
