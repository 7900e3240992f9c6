#include "screens/play_screen.h"

#include <iterator>

#include "display/display_state.h"
#include "screens/glyphs.h"
#include "screens/numbers.h"
#include "screens/play_layout.h"
#include "screens/screen_drawing.h"

using namespace play_layout;

namespace {

// The words every result mark is drawn at.
constexpr int kResultX = 160, kResultY = 140;
// The Enter prompt of the ready phase.
constexpr int kPromptX = 352, kPromptY = 120, kPromptWidth = 72, kPromptHeight = 8;

struct PieceArea {
    Area area;
    PaletteColor color;  // the colour beneath the piece
};

constexpr PieceArea kPieceAreas[] = {
    {{144, 64, 432, 128}, kWhite},   // DialectLine
    {{48, 192, 336, 256}, kWhite},   // StandardLine
    {kTimerSlot, kWhite},            // TimerBar
    {kLivesSlot, kWhite},            // Lives
    {{302, 12, 432, 44}, kCream},    // Score
    {{160, 140, 336, 181}, kCream},  // ResultMark
    {{224, 16, 254, 32}, kCream},    // Bonus
};

constexpr int kBarWidth = kTimerSlot.right - kTimerSlot.left;
constexpr int kBarHeight = kTimerSlot.bottom - kTimerSlot.top;
constexpr int kBarStep = 4;  // pixels the bar loses a tick
constexpr int kLifeWidth = 16;

}  // namespace

void DrawPlayScreen() {
    ClearFrame();
    FillPlay(0, 0, 480, 320, kCream);
    for (const Placed& p : kBackground) DrawPiece(p.piece, p.at.x, p.at.y);
}

void DrawReadyWindow(int32_t which) {
    if (which < 0 || which > 1) return;
    const Placed& window = kReadyWindows[which];
    DrawPiece(window.piece, window.at.x, window.at.y);
}

void DrawPlayMark(PlayMark mark) {
    switch (mark) {
        case PlayMark::ReadyFirst:
            DrawEnterPrompt(kPromptX, kPromptY);
            DrawPiece({ImageId::Words, 0, 240, 166, 278}, 195, 79);
            break;
        case PlayMark::ReadySecond:
            // Enter was pressed: the prompt goes.
            FillPlay(kPromptX, kPromptY, kPromptX + kPromptWidth, kPromptY + kPromptHeight, kWhite);
            DrawPiece({ImageId::Words, 0, 278, 170, 316}, 102, 207);
            break;
        case PlayMark::Finish:
            DrawPiece({ImageId::Words, 0, 320, 91, 360}, 200, 138);
            break;
        case PlayMark::ResultNoMiss:
            DrawPiece({ImageId::Words, 0, 368, 176, 409}, kResultX, kResultY);
            break;
        case PlayMark::ResultOneMiss:
            DrawPiece({ImageId::Words, 0, 409, 176, 450}, kResultX, kResultY);
            break;
        case PlayMark::ResultManyMisses:
            DrawPiece({ImageId::Words, 0, 450, 160, 491}, kResultX, kResultY);
            break;
    }
}

void ClearPlayPiece(PlayPiece piece) {
    auto index = static_cast<int32_t>(piece);
    if (index < 0 || index >= static_cast<int32_t>(std::size(kPieceAreas))) return;
    const auto& [a, color] = kPieceAreas[index];
    FillPlay(a.left, a.top, a.right, a.bottom, color);
}

void DrawScore(int32_t score) {
    DrawNumber(score, kScoreLimit, DigitSet::Large, 416, 22, 12);
}

void DrawBonus(int32_t bonus) {
    DrawNumber(bonus, kScoreLimit, DigitSet::Small, 246, kSmallPitch, 16);
}

void DrawLives(int32_t count) {
    // Icons that would start beyond the frame's right edge have nowhere to go.
    for (int32_t place = 0; place < count; ++place) {
        int x = kLivesSlot.left + kLifeWidth * place;
        if (x + kFrameOriginX >= kFrameWidth) break;
        DrawLifeIcon(place, x, kLivesSlot.top);
    }
}

void DrawTimerBar(int32_t ticks) {
    // Worked in 16 bits, as the bar's width always was; the product is taken modulo 2^32 so
    // that no count overflows, which leaves the low 16 bits as they would be.
    auto width =
        static_cast<int16_t>(static_cast<uint32_t>(kBarWidth) -
                             static_cast<uint32_t>(kBarStep) * static_cast<uint32_t>(ticks));
    if (width <= 0) return;
    // The image holds a full bar and no more, whatever count comes in.
    if (width > kBarWidth) width = kBarWidth;
    DrawPiece({ImageId::Bar, 0, 0, width, kBarHeight}, kTimerSlot.left, kTimerSlot.top);
}
