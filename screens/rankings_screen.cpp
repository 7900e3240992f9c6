// The rankings: the best five scores on the left, the best five speeds on the right.
#include "screens/glyphs.h"
#include "screens/hisco_frames.h"
#include "screens/numbers.h"
#include "screens/table_screens.h"

namespace {

constexpr Piece kTitle{ImageId::Hisco, 0, 80, 80, 96};
constexpr Piece kScoresHeading{ImageId::Hisco, 80, 80, 128, 96};
constexpr Piece kSpeedsHeading{ImageId::Hisco, 64, 32, 128, 48};

constexpr int kTableShift = 224;  // from the scores table to the speeds table
constexpr int kRowPitch = 32;
constexpr int kFirstRowY = 112;
constexpr int kRuleCount = 6;

// The frame, the white inside and the rules of one table.
void DrawTable(int dx) {
    FillPlay(32 + dx, 48, 224 + dx, 288, kWhite);
    DrawPanel(14, 16 + dx, 32, 288);
    for (int i = 0; i < kRuleCount; ++i) {
        FillPlay(48 + dx, 101 + kRowPitch * i, 208 + dx, 102 + kRowPitch * i, kGrey);
    }
}

}  // namespace

void DrawRankingsScreen(Rankings& rankings) {
    FillPlay(0, 0, 480, 320, kCream);
    DrawOuterFrame();

    DrawTable(0);
    DrawPiece(kScoresHeading, 98, 52);
    for (int r = 0; r < kRankingCount; ++r) {
        // A value too great for the screen is lowered in the rankings themselves, and a later
        // save writes the lowered value.
        int32_t& score = rankings.scores[r];
        if (score > kScoreLimit) score = kScoreLimit;
        DrawNumber(score, kScoreLimit, DigitSet::Small, 162, kSmallPitch,
                   kFirstRowY + kRowPitch * r);
    }
    for (int r = 0; r < kRankingCount; ++r) DrawScoreUnit(178, 115 + kRowPitch * r);

    DrawTable(kTableShift);
    DrawPiece(kSpeedsHeading, 322, 52);
    for (int r = 0; r < kRankingCount; ++r) {
        float& speed = rankings.speeds[r];
        speed = LimitSpeed(speed);
        DrawSpeed(speed, 386, kFirstRowY + kRowPitch * r);
    }
    for (int r = 0; r < kRankingCount; ++r) DrawSpeedUnit(402, kFirstRowY + kRowPitch * r);

    DrawPiece(kTitle, 199, 16);
    FillPlay(184, 34, 295, 35, kVermilion);
    DrawEnterPrompt(368, 24);
}
