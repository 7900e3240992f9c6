#include "screens/settings_screen.h"

#include <initializer_list>

#include "display/text_drawing.h"
#include "screens/hisco_frames.h"

using namespace hisco;

namespace {

constexpr int kRows = 9;

struct Text {
    const char* bytes;  // Shift-JIS
    int length;
    int x;
};

struct SettingsRow {
    Text kana;
    Text spellings[2];  // value 0, value 1
    int y;
};

// Rows 0 to 5 form the left column, 6 to 8 the right one.
constexpr SettingsRow kRowTexts[kRows] = {
    {{"\x82\xb5", 2, 48}, {{"si", 2, 128}, {"shi", 3, 176}}, 80},             // し
    {{"\x82\xbf", 2, 48}, {{"ti", 2, 128}, {"chi", 3, 176}}, 112},            // ち
    {{"\x82\xc2", 2, 48}, {{"tu", 2, 128}, {"tsu", 3, 176}}, 144},            // つ
    {{"\x82\xd3", 2, 48}, {{"fu", 2, 128}, {"hu", 2, 176}}, 176},             // ふ
    {{"\x82\xb6", 2, 48}, {{"ji", 2, 128}, {"zi", 2, 176}}, 208},             // じ
    {{"\x82\xb5\x82\xe1", 4, 48}, {{"sha", 3, 128}, {"sya", 3, 176}}, 240},   // しゃ
    {{"\x82\xb6\x82\xe1", 4, 276}, {{"jya", 3, 354}, {"zya", 3, 402}}, 80},   // じゃ
    {{"\x82\xbf\x82\xe1", 4, 276}, {{"cha", 3, 354}, {"tya", 3, 402}}, 112},  // ちゃ
    {{"\x82\xf1", 2, 276}, {{"n", 1, 354}, {"nn", 2, 402}}, 144},             // ん
};

struct TextColor {
    int red, green, blue;
};
constexpr TextColor kBlack{0, 0, 0};
constexpr TextColor kHighlight{232, 106, 70};

void DrawText(const Text& text, int y, const TextColor& color) {
    DrawTextShadowed(text.bytes, text.x, y, text.length, color.red, color.green, color.blue);
}

bool IsRow(int32_t row) {
    return row >= 0 && row < kRows;
}

constexpr Piece kRowMark{ImageId::Hisco, 80, 144, 88, 152};      // 8 x 8
constexpr Piece kRightCaption{ImageId::Hisco, 0, 144, 80, 160};  // 80 x 16
constexpr Piece kHeading{ImageId::Hisco, 0, 128, 96, 144};       // 96 x 16
constexpr Piece kInnerBottom{ImageId::Hisco, 16, 32, 32, 48};

// The frame of the white panel inside the outer frame: 28 tiles wide, 15 rows of sides.
void DrawInnerFrame() {
    DrawTileRow(28, 16, 32, kPanelTopLeft, kPanelTop, kPanelTopRight);
    DrawTileRow(28, 16, 288, kPanelBottomLeft, kInnerBottom, kPanelBottomRight);
    for (int r = 0; r < 15; ++r) {
        DrawPiece(kPanelLeft, 16, 48 + kTile * r);
        DrawPiece(kPanelRight, 448, 48 + kTile * r);
    }
}

void DrawRules() {
    for (int i = 0; i < 7; ++i) FillPlay(48, 69 + 32 * i, 208, 70 + 32 * i, kGrey);
    // The right column's rules skip the one just above the caption at (343, 208).
    for (int i : {0, 1, 2, 3, 5}) FillPlay(272, 69 + 32 * i, 432, 70 + 32 * i, kGrey);
    FillPlay(240, 64, 241, 272, kGrey);
}

void DrawPictures() {
    for (int i = 0; i < 6; ++i) DrawPiece(kRowMark, 103, 84 + 32 * i);
    for (int j = 0; j < 3; ++j) DrawPiece(kRowMark, 327, 84 + 32 * j);
    DrawPiece(kRightCaption, 343, 208);
    DrawPiece(kHeading, 192, 16);
}

}  // namespace

void DrawSettingsBackground() {
    FillPlay(0, 0, 480, 320, kCream);
    DrawOuterFrame();
    FillPlay(32, 48, 448, 288, kWhite);
    DrawInnerFrame();
    DrawRules();
    DrawPictures();
    FillPlay(184, 34, 295, 35, kVermilion);
}

void DrawSettingsLabels() {
    for (const SettingsRow& row : kRowTexts) {
        DrawText(row.kana, row.y, kBlack);
        DrawText(row.spellings[0], row.y, kBlack);
        DrawText(row.spellings[1], row.y, kBlack);
    }
}

void DrawSettingsCursor(int32_t row) {
    if (!IsRow(row)) return;
    // The rows form a ring; the neighbours turn black again as the cursor leaves them.
    const int before = (row + kRows - 1) % kRows, after = (row + 1) % kRows;
    DrawText(kRowTexts[before].kana, kRowTexts[before].y, kBlack);
    DrawText(kRowTexts[row].kana, kRowTexts[row].y, kHighlight);
    DrawText(kRowTexts[after].kana, kRowTexts[after].y, kBlack);
}

void DrawSettingsChoice(int32_t row, const int32_t (&values)[9]) {
    if (!IsRow(row)) return;
    const SettingsRow& r = kRowTexts[row];
    // Any value but 0 chooses the second spelling.
    const bool second = values[row] != 0;
    DrawText(r.spellings[0], r.y, second ? kBlack : kHighlight);
    DrawText(r.spellings[1], r.y, second ? kHighlight : kBlack);
}
