#include "screens/glyphs.h"

#include "screens/screen_drawing.h"

namespace {

constexpr Piece kSmallPoint{ImageId::Hisco, 80, 48, 88, 64};
constexpr Piece kEnterPrompt{ImageId::Hisco, 48, 120, 120, 128};
constexpr Piece kScoreUnit{ImageId::Hisco, 0, 64, 32, 80};
constexpr Piece kSpeedUnit{ImageId::Hisco, 32, 64, 80, 80};
constexpr Piece kLifeIcons[2] = {{ImageId::Parts, 32, 32, 48, 48},
                                 {ImageId::Parts, 48, 32, 64, 48}};

bool IsDigit(int32_t digit) {
    return digit >= 0 && digit <= 9;
}

}  // namespace

// Each digit set holds 0 to 9 side by side; anything else has no glyph and draws nothing.
void DrawLargeDigit(int32_t digit, int x, int y) {
    if (!IsDigit(digit)) return;
    DrawPiece({ImageId::Parts, 16 * digit, 0, 16 * digit + 16, 32}, x, y);
}

void DrawSmallDigit(int32_t digit, int x, int y) {
    if (!IsDigit(digit)) return;
    DrawPiece({ImageId::Hisco, 8 * digit, 48, 8 * digit + 8, 64}, x, y);
}

void DrawSmallPoint(int x, int y) {
    DrawPiece(kSmallPoint, x, y);
}

void DrawEnterPrompt(int x, int y) {
    DrawPiece(kEnterPrompt, x, y);
}

void DrawLifeIcon(int place, int x, int y) {
    DrawPiece(kLifeIcons[place % 2 == 0 ? 0 : 1], x, y);
}

void DrawScoreUnit(int x, int y) {
    DrawPiece(kScoreUnit, x, y);
}

void DrawSpeedUnit(int x, int y) {
    DrawPiece(kSpeedUnit, x, y);
}
