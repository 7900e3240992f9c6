// Scoring: a completed phrase's points, bonus and life step; the timer's speed-ups; wrong keys
// and lives; and whole short games with their typing speed, on either side of the clock's wrap.
#include <windows.h>

#include <string>

#include "game/game_state.h"
#include "game/play_core.h"
#include "game/play_state.h"
#include "tests/case_names.h"
#include "tests/game/play_fakes.h"

namespace {

// Dialect romaji "a", standard romaji "b": a phrase is three steps.
const std::vector<TestPhrase> kShortPhrases = {{"D", "a", "S", "b"}};

struct CompletionCase {
    const char* name;
    int32_t score, bonus, lives, lifeSteps, mistakes, points;  // before the last key
    int32_t endScore, endBonus, endLives, endLifeSteps;
    int mark;
};

class CompletionTest : public RulesTest, public testing::WithParamInterface<CompletionCase> {};

TEST_P(CompletionTest, ScoresThePhrase) {
    const CompletionCase& c = GetParam();
    StartGame(kShortPhrases);
    Step(16, 'A');
    play.score = c.score;
    play.bonus = c.bonus;
    play.lives = c.lives;
    play.lifeSteps = c.lifeSteps;
    play.lifeStepBase = c.lifeSteps * 1000;
    play.phraseMistakes = c.mistakes;
    play.lifeLostThisPhrase = c.mistakes > 0;
    play.phrasePoints = c.points;
    TakeKey('B');
    const LineEvents events = EndTypedLine(clock);
    EXPECT_EQ(events.end, LineEnd::Phrase);
    EXPECT_EQ(static_cast<int>(events.mark), c.mark);
    EXPECT_EQ(events.lifeGained, c.endLives > c.lives);
    EXPECT_EQ(play.score, c.endScore);
    EXPECT_EQ(play.bonus, c.endBonus);
    EXPECT_EQ(play.lives, c.endLives);
    EXPECT_EQ(play.lifeSteps, c.endLifeSteps);
    EXPECT_EQ(play.lifeStepBase, c.endLifeSteps * 1000);
    // The phrase's counters start over.
    EXPECT_EQ(play.phrasePoints, 0);
    EXPECT_EQ(play.phraseMistakes, 0);
    EXPECT_FALSE(play.lifeLostThisPhrase);
    EXPECT_FALSE(play.lifeGained);
    EXPECT_EQ(play.line, 0);
    EXPECT_EQ(play.position, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Phrases, CompletionTest,
    testing::Values(CompletionCase{"CleanPhrase", 0, 0, 5, 0, 0, 1, 7, 5, 5, 0, 4},
                    CompletionCase{"BonusCappedAt50", 0, 48, 5, 0, 0, 1, 52, 50, 5, 0, 4},
                    CompletionCase{"OneMistake", 0, 10, 5, 0, 1, 0, 12, 11, 5, 0, 5},
                    CompletionCase{"OneMistakeAtTheCap", 0, 50, 5, 0, 1, 0, 51, 50, 5, 0, 5},
                    CompletionCase{"TwoMistakesLoseTheBonus", 0, 30, 5, 0, 2, 0, 1, 0, 5, 0, 6},
                    CompletionCase{"MoreMistakesThanKeysAddNothing", 100, 0, 5, 0, 5, -4, 100, 0, 5,
                                   0, 6},
                    CompletionCase{"ZeroPointsAddNothing", 100, 20, 5, 0, 1, -1, 121, 21, 5, 0, 5},
                    CompletionCase{"LifeAt1000", 990, 5, 5, 0, 0, 1, 1002, 10, 6, 1, 4},
                    CompletionCase{"NoLifeAbove8ButCounted", 990, 5, 8, 0, 0, 1, 1002, 10, 8, 1, 4},
                    CompletionCase{"LifeFrom7To8", 1990, 5, 7, 1, 0, 1, 2002, 10, 8, 2, 4},
                    CompletionCase{"BelowTheNextStep", 1005, 5, 6, 1, 0, 1, 1017, 10, 6, 1, 4},
                    CompletionCase{"OneStepAPhrase", 2990, 5, 5, 0, 0, 1, 3002, 10, 6, 1, 4}),
    CaseName());

struct SpeedUpCase {
    const char* name;
    int32_t score;
    int steps;
    int32_t interval, speedSteps;
};

class SpeedUpTest : public RulesTest, public testing::WithParamInterface<SpeedUpCase> {};

TEST_P(SpeedUpTest, SpeedsUpOneStepAFrame) {
    const SpeedUpCase& c = GetParam();
    StartGame(kShortPhrases);
    play.score = c.score;
    for (int i = 0; i < c.steps; ++i) Step(16);
    EXPECT_EQ(play.tickInterval, c.interval);
    EXPECT_EQ(play.speedSteps, c.speedSteps);
    EXPECT_EQ(play.speedStepBase, c.speedSteps * 200);
}

INSTANTIATE_TEST_SUITE_P(Thresholds, SpeedUpTest,
                         testing::Values(SpeedUpCase{"Below200", 199, 5, 400, 0},
                                         SpeedUpCase{"At200", 200, 1, 380, 1},
                                         SpeedUpCase{"At200Later", 200, 5, 380, 1},
                                         SpeedUpCase{"PastThreeFirstStep", 600, 1, 380, 1},
                                         SpeedUpCase{"PastThreeCaughtUp", 600, 3, 340, 3},
                                         SpeedUpCase{"PastThreeStaysCaughtUp", 600, 9, 340, 3},
                                         SpeedUpCase{"JustBelowTheLast", 2599, 30, 160, 12},
                                         SpeedUpCase{"TheLastAt2600", 2600, 30, 140, 13},
                                         SpeedUpCase{"NeverBelow140", 90000, 100, 140, 13}),
                         CaseName());

struct WrongKeyCase {
    const char* name;
    int32_t lives;
    bool lifeAlreadyLost;
    int32_t endLives;
    bool gameOver;
};

class WrongKeyTest : public RulesTest, public testing::WithParamInterface<WrongKeyCase> {};

TEST_P(WrongKeyTest, CostsALifeOnceAPhrase) {
    const WrongKeyCase& c = GetParam();
    StartGame(kShortPhrases);
    play.lives = c.lives;
    play.lifeLostThisPhrase = c.lifeAlreadyLost;
    play.totalMistakes = 3;
    const KeyEvents events = TakeKey('X');
    EXPECT_FALSE(events.right);
    EXPECT_EQ(play.totalMistakes, 4);
    EXPECT_EQ(play.phraseMistakes, 1);
    EXPECT_EQ(play.phrasePoints, -1);
    EXPECT_EQ(play.lives, c.endLives);
    EXPECT_EQ(play.gameOverPending, c.gameOver);
    EXPECT_EQ(events.lifeLost, !c.lifeAlreadyLost);
    // Every wrong key sounds while the game goes on; the one that ends it is silent.
    EXPECT_EQ(events.missSounds, !c.gameOver);
}

INSTANTIATE_TEST_SUITE_P(Lives, WrongKeyTest,
                         testing::Values(WrongKeyCase{"FirstMistake", 5, false, 4, false},
                                         WrongKeyCase{"SecondMistake", 5, true, 5, false},
                                         WrongKeyCase{"LastLife", 1, false, 0, false},
                                         WrongKeyCase{"NoLifeLeft", 0, false, -1, true},
                                         WrongKeyCase{"NoLifeLeftAlreadyLost", 0, true, 0, false}),
                         CaseName());

class WholeGameTest : public RulesTest, public testing::WithParamInterface<uint32_t> {};

// Five phrases with one mistake each, then the sixth's mistake. Each phrase is three keys 16 ms
// apart; the pauses after the phrases are taken out of the playing time, so the game played
// 5 x 48 + 16 = 256 ms for 10 right keys: 39.0625 keys a second. Each phrase scores 2 - 1 = 1
// and its bonus, which rises by 1 a phrase: 5 + (1 + 2 + 3 + 4 + 5) = 20.
TEST_P(WholeGameTest, TheSixthPhraseWithAMistakeEndsTheGame) {
    StartGame(kShortPhrases, GetParam());
    for (int phrase = 0; phrase < 5; ++phrase) {
        Type("XAB");
        Step(1101);  // the pause after the phrase runs out
    }
    ASSERT_EQ(play.lives, 0);
    Type("X");
    EXPECT_EQ(game.currentPhase, GamePhase::GameOver);
    EXPECT_EQ(play.score, 20);
    EXPECT_EQ(play.totalMistakes, 6);
    EXPECT_EQ(play.playEndTime, GetParam() + 5 * (48 + 1101) + 16);
    EXPECT_EQ(play.elapsedSeconds, 0.256f);
    EXPECT_EQ(play.typingSpeed, 39.0625f);
    // The game's counters are back at their starting values.
    EXPECT_EQ(play.correctKeys, 0);
    EXPECT_EQ(play.lives, 5);
    EXPECT_EQ(play.bonus, 0);
    EXPECT_EQ(play.tickInterval, 400);
    EXPECT_EQ(play.lifeSteps, 0);
    EXPECT_EQ(play.ticks, 0);
}

INSTANTIATE_TEST_SUITE_P(Clocks, WholeGameTest,
                         testing::Values(10000u, 0xFFFFFF00u, 0xFFFFFFF8u, 0xFFFFFAAAu),
                         [](const auto& info) {
                             return "StartingAt" + std::to_string(info.param);
                         });

}  // namespace
