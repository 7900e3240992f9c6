// The play screen's pieces, each drawn alone on the windowed 32-bit frame and read back as the
// copies and fills it made, in order.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "screens/glyphs.h"
#include "screens/play_layout.h"
#include "screens/play_screen.h"
#include "tests/screens/recording_surface.h"
#include "tests/screens/screen_fixture.h"

namespace {

using play_layout::kLivesSlot;
using play_layout::kTimerSlot;

struct PieceCase {
    const char* what;
    std::function<void()> draw;
    std::vector<Drawn> expected;
};

Drawn Large(int digit, int x) {
    return CopyOf(ImageId::Parts, 16 * digit, 0, 16 * digit + 16, 32, x, 12);
}
Drawn Small(int digit, int x, int y) {
    return CopyOf(ImageId::Hisco, 8 * digit, 48, 8 * digit + 8, 64, x, y);
}
Drawn Life(int place) {
    int left = place % 2 == 0 ? 32 : 48;
    return CopyOf(ImageId::Parts, left, 32, left + 16, 48, kLivesSlot.left + 16 * place,
                  kLivesSlot.top);
}
// The first `width` pixels of the bar, in its slot.
Drawn Bar(int width) {
    return CopyOf(ImageId::Bar, 0, 0, width, 16, kTimerSlot.left, kTimerSlot.top);
}
Drawn WhiteSlot(const play_layout::Area& slot) {
    return FillOf(slot.left, slot.top, slot.right, slot.bottom, kWhiteValue);
}
Drawn Words(int left, int top, int right, int bottom, int x, int y) {
    return CopyOf(ImageId::Words, left, top, right, bottom, x, y);
}

class PlayPieces : public ScreenFixture {
protected:
    void Check(const std::vector<PieceCase>& cases) {
        StartIn(ScreenMode::Window32);
        for (const auto& c : cases) {
            RecordingFrame frame;
            c.draw();
            EXPECT_EQ(frame.Log(), c.expected) << c.what << "\ndrew:" << Describe(frame.Log())
                                               << "\nexpected:" << Describe(c.expected);
        }
    }
};

TEST_F(PlayPieces, NumbersAreRightAlignedAndLimited) {
    Check({
        {"score 0: one large 0 at 416", [] { DrawScore(0); }, {Large(0, 416)}},
        {"score 1000000 shows 999999 reaching left to 306",
         [] { DrawScore(1000000); },
         {Large(9, 416), Large(9, 394), Large(9, 372), Large(9, 350), Large(9, 328),
          Large(9, 306)}},
        {"score 1203",
         [] { DrawScore(1203); },
         {Large(3, 416), Large(0, 394), Large(2, 372), Large(1, 350)}},
        {"a negative score shows 0", [] { DrawScore(-1); }, {Large(0, 416)}},
        {"the lowest score shows 0", [] { DrawScore(INT32_MIN); }, {Large(0, 416)}},
        {"bonus 0", [] { DrawBonus(0); }, {Small(0, 246, 16)}},
        {"bonus 50", [] { DrawBonus(50); }, {Small(0, 246, 16), Small(5, 235, 16)}},
        {"bonus above the limit",
         [] { DrawBonus(INT32_MAX); },
         {Small(9, 246, 16), Small(9, 235, 16), Small(9, 224, 16), Small(9, 213, 16),
          Small(9, 202, 16), Small(9, 191, 16)}},
        {"a negative bonus shows 0", [] { DrawBonus(-50); }, {Small(0, 246, 16)}},
        {"no glyph beyond 9",
         [] {
             DrawLargeDigit(10, 0, 0);
             DrawSmallDigit(10, 0, 0);
         },
         {}},
        {"no glyph below 0",
         [] {
             DrawLargeDigit(-1, 0, 0);
             DrawSmallDigit(-1, 0, 0);
         },
         {}},
    });
}

TEST_F(PlayPieces, LivesAndTimerBar) {
    Check({
        {"no lives", [] { DrawLives(0); }, {}},
        {"fewer than none", [] { DrawLives(-2); }, {}},
        {"three lives", [] { DrawLives(3); }, {Life(0), Life(1), Life(2)}},
        {"eight lives fill half the slot",
         [] { DrawLives(8); },
         {Life(0), Life(1), Life(2), Life(3), Life(4), Life(5), Life(6), Life(7)}},
        {"a count far beyond the frame stops at its edge",
         [] { DrawLives(INT32_MAX); },
         {Life(0), Life(1), Life(2), Life(3), Life(4), Life(5), Life(6), Life(7), Life(8), Life(9),
          Life(10), Life(11), Life(12), Life(13), Life(14), Life(15)}},
        {"full bar", [] { DrawTimerBar(0); }, {Bar(208)}},
        {"one tick", [] { DrawTimerBar(1); }, {Bar(204)}},
        {"51 ticks: 4 pixels", [] { DrawTimerBar(51); }, {Bar(4)}},
        {"52 ticks: empty", [] { DrawTimerBar(52); }, {}},
        {"53 ticks: empty", [] { DrawTimerBar(53); }, {}},
        {"a negative count never reaches past the image", [] { DrawTimerBar(-3); }, {Bar(208)}},
        {"the greatest count overflows nothing", [] { DrawTimerBar(INT32_MAX); }, {Bar(208)}},
        {"a count that wraps in 16 bits to a wide bar",
         [] { DrawTimerBar(16384 + 1); },
         {Bar(204)}},
    });
}

TEST_F(PlayPieces, ClearingFillsEachAreaInTheColourBeneath) {
    auto clear = [](int piece) {
        return [piece] { ClearPlayPiece(static_cast<PlayPiece>(piece)); };
    };
    Check({
        {"dialect line", clear(0), {FillOf(144, 64, 432, 128, kWhiteValue)}},
        {"standard line", clear(1), {FillOf(48, 192, 336, 256, kWhiteValue)}},
        {"timer bar", clear(2), {WhiteSlot(kTimerSlot)}},
        {"lives", clear(3), {WhiteSlot(kLivesSlot)}},
        {"score", clear(4), {FillOf(302, 12, 432, 44, kCreamValue)}},
        {"result mark", clear(5), {FillOf(160, 140, 336, 181, kCreamValue)}},
        {"bonus", clear(6), {FillOf(224, 16, 254, 32, kCreamValue)}},
        {"7 is no piece", clear(7), {}},
        {"-1 is no piece", clear(-1), {}},
    });
}

TEST_F(PlayPieces, WindowsAndMarksOutsideTheirRangesDrawNothing) {
    auto mark = [](int m) { return [m] { DrawPlayMark(static_cast<PlayMark>(m)); }; };
    Check({
        {"upper window",
         [] { DrawReadyWindow(0); },
         {CopyOf(ImageId::Win1, 0, 0, 320, 96, 128, 48)}},
        {"lower window",
         [] { DrawReadyWindow(1); },
         {CopyOf(ImageId::Win2, 0, 0, 320, 96, 32, 176)}},
        {"window 2 is none", [] { DrawReadyWindow(2); }, {}},
        {"window -1 is none", [] { DrawReadyWindow(-1); }, {}},
        {"second ready mark takes the prompt away first",
         mark(1),
         {FillOf(352, 120, 424, 128, kWhiteValue), Words(0, 278, 170, 316, 102, 207)}},
        {"mark 2 is none", mark(2), {}},
        {"mark 7 is none", mark(7), {}},
        {"mark -1 is none", mark(-1), {}},
    });
}

}  // namespace
