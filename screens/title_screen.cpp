#include "screens/title_screen.h"

#include <iterator>

#include "display/display_state.h"
#include "screens/glyphs.h"
#include "screens/screen_drawing.h"

namespace {

struct Band {
    int left, top, right, bottom;
    PaletteColor color;
};

// The coloured bands round the title, in drawing order; the pink squares go where two meet.
constexpr Band kBands[] = {
    {0, 0, 480, 16, kLavender},      // top
    {448, 16, 464, 320, kLavender},  // right
    {16, 16, 32, 208, kSalmon},      // left
    {0, 288, 480, 304, kSalmon},     // bottom
    {16, 0, 32, 16, kPink},          // left meets top
    {448, 288, 464, 304, kPink},     // right meets bottom
};

constexpr Piece kCaption{ImageId::Words, 0, 160, 208, 176};
constexpr Piece kSubCaption{ImageId::Words, 0, 176, 160, 240};
constexpr Piece kTitlePicture{ImageId::Title, 0, 0, 224, 224};
constexpr Piece kWindowedLabel{ImageId::Words, 96, 352, 170, 357};    // 74 x 5
constexpr Piece kFullScreenLabel{ImageId::Words, 96, 360, 146, 365};  // 50 x 5

struct MenuItem {
    int x, y;
    Piece plain;
    Piece selected;
};

// Start a game, the rankings, the settings, quit.
constexpr MenuItem kMenu[] = {
    {48, 40, {ImageId::Words, 0, 0, 160, 32}, {ImageId::Words, 0, 96, 160, 128}},
    {59, 83, {ImageId::Words, 0, 32, 128, 64}, {ImageId::Words, 0, 128, 128, 160}},
    {66, 124, {ImageId::Words, 0, 496, 96, 528}, {ImageId::Words, 96, 496, 192, 528}},
    {77, 166, {ImageId::Words, 0, 64, 80, 96}, {ImageId::Words, 80, 64, 160, 96}},
};

}  // namespace

void DrawTitleScreen() {
    ClearFrame();
    FillPlay(0, 0, 480, 320, kCream);
    for (const Band& b : kBands) FillPlay(b.left, b.top, b.right, b.bottom, b.color);
    DrawPiece(kCaption, 4, 221);
    DrawPiece(kSubCaption, 17, 240);
    DrawPiece(kTitlePicture, 208, 48);
    DrawEnterPrompt(363, 31);
    DrawPiece(display.windowed ? kWindowedLabel : kFullScreenLabel, 362, 275);
}

void DrawTitleMenu(int32_t selected) {
    // Both states of an item cover the same pixels, so nothing is erased first.
    for (int32_t i = 0; i < static_cast<int32_t>(std::size(kMenu)); ++i) {
        const MenuItem& item = kMenu[i];
        DrawPiece(i == selected ? item.selected : item.plain, item.x, item.y);
    }
}
