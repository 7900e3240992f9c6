// The results panel, laid over the finished play screen.
#include "screens/glyphs.h"
#include "screens/hisco_frames.h"
#include "screens/numbers.h"
#include "screens/table_screens.h"

namespace {

constexpr Piece kTitle{ImageId::Hisco, 96, 64, 128, 80};
constexpr Piece kScoreLabel{ImageId::Hisco, 0, 96, 48, 112};
constexpr Piece kSpeedLabel{ImageId::Hisco, 0, 112, 48, 128};
constexpr Piece kMistakesLabel{ImageId::Hisco, 48, 96, 112, 112};
constexpr Piece kMistakesUnit{ImageId::Hisco, 80, 64, 96, 80};
constexpr Piece kFirstBullet{ImageId::Hisco, 48, 112, 56, 120};
constexpr Piece kSecondBullet{ImageId::Hisco, 56, 112, 64, 120};

struct At {
    const Piece& piece;
    int x, y;
};

// Rows from the top: score, speed, mistakes, then the places the score and the speed reached,
// whose texts the state machine writes beside the second bullets.
const At kLabels[] = {
    {kTitle, 224, 35},         {kScoreLabel, 179, 96},  {kScoreLabel, 189, 192},
    {kSpeedLabel, 179, 128},   {kSpeedLabel, 189, 224}, {kMistakesLabel, 179, 160},
    {kMistakesUnit, 290, 160},
};
const At kBullets[] = {
    {kFirstBullet, 166, 100},  {kFirstBullet, 166, 132},  {kFirstBullet, 166, 164},
    {kSecondBullet, 178, 197}, {kSecondBullet, 178, 229},
};

constexpr int kRuleCount = 6;
constexpr int kNumbersRight = 274;  // where the units glyph of every number starts
constexpr int32_t kMistakesLimit = 999;

}  // namespace

void DrawResultsScreen(int32_t score, float speed, int32_t mistakes) {
    FillPlay(144, 32, 336, 272, kWhite);
    DrawPanel(14, 128, 16, 272);
    for (int i = 0; i < kRuleCount; ++i) FillPlay(160, 85 + 32 * i, 320, 86 + 32 * i, kGrey);
    for (const At& a : kLabels) DrawPiece(a.piece, a.x, a.y);
    DrawScoreUnit(290, 99);
    DrawSpeedUnit(290, 128);
    DrawEnterPrompt(240, 264);
    for (const At& a : kBullets) DrawPiece(a.piece, a.x, a.y);
    // The limits act on what is drawn only.
    DrawNumber(score, kScoreLimit, DigitSet::Small, kNumbersRight, kSmallPitch, 96);
    DrawSpeed(LimitSpeed(speed), kNumbersRight, 128);
    DrawNumber(mistakes, kMistakesLimit, DigitSet::Small, kNumbersRight, kSmallPitch, 160);
}
