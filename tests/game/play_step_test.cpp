// The play step's timing and drawing: the timer's ticks on the wrapping clock, the end by the
// timer, the pause after a phrase, and the phrase text in its colours, drawn in two passes.
#include <windows.h>

#include "game/game_state.h"
#include "game/play_state.h"
#include "shell/shell_state.h"
#include "tests/case_names.h"
#include "tests/game/play_fakes.h"

namespace {

// Dialect romaji "abc", standard romaji "de".
const std::vector<TestPhrase> kPhrases = {{"DIAL", "abc", "STD", "de"}};

using Calls = std::vector<std::string>;

Calls Twice(const Calls& pass) {
    Calls calls;
    for (int i = 0; i < 2; ++i) {
        calls.insert(calls.end(), pass.begin(), pass.end());
        calls.push_back("present");
    }
    return calls;
}

Calls Join(std::initializer_list<Calls> parts) {
    Calls calls;
    for (const Calls& part : parts) calls.insert(calls.end(), part.begin(), part.end());
    return calls;
}

struct TickCase {
    const char* name;
    uint32_t start;
    int32_t interval;
    uint32_t wait;
    int32_t ticks;
};

class TimerTest : public RulesTest, public testing::WithParamInterface<TickCase> {};

TEST_P(TimerTest, CountsAtMostOneTickAStep) {
    const TickCase& c = GetParam();
    StartGame(kPhrases, c.start);
    play.tickInterval = c.interval;
    Step(c.wait);
    EXPECT_EQ(play.ticks, c.ticks);
    EXPECT_EQ(game.phaseTime, c.ticks ? c.start + c.wait : c.start);
}

INSTANTIATE_TEST_SUITE_P(Ticks, TimerTest,
                         testing::Values(TickCase{"ExactlyTheInterval", 10000, 400, 400, 0},
                                         TickCase{"OneMillisecondMore", 10000, 400, 401, 1},
                                         TickCase{"FastestInterval", 10000, 140, 141, 1},
                                         TickCase{"LongAbsence", 10000, 400, 600000, 1},
                                         TickCase{"AcrossTheWrap", 0xFFFFFF00u, 400, 401, 1},
                                         TickCase{"JustBeforeTheWrap", 0xFFFFFF00u, 400, 400, 0}),
                         CaseName());

TEST_F(RulesTest, TheFiftyThirdTickEndsTheGame) {
    StartGame(kPhrases);
    play.ticks = 52;
    play.score = 7;
    play.totalMistakes = 2;
    Step(401);
    EXPECT_EQ(game.currentPhase, GamePhase::GameOver);
    EXPECT_EQ(play.ticks, 0);
    EXPECT_FALSE(play.gameOverPending);
    EXPECT_TRUE(shell.screenDirty);
    EXPECT_TRUE(shell.phraseDirty);
    // The score and the mistakes stay for the results screen.
    EXPECT_EQ(play.score, 7);
    EXPECT_EQ(play.totalMistakes, 2);
}

TEST_F(PlayStepTest, AKeyInTheStepOfTheLastTickCompletesThePhraseFirst) {
    StartGame(kPhrases);
    play.score = 990;  // five right keys and a clean phrase's bonus reach a life
    Type("ABCD");      // the dialect line and the first standard letter
    play.ticks = 52;
    TakeCalls();
    fakes.presentTakes = 3;
    Step(401, 'E');
    EXPECT_EQ(game.currentPhase, GamePhase::GameOver);
    EXPECT_EQ(play.score, 1000);
    // The result shows twice, the life-up sound with the mark's first drawing; the game ends last.
    const Calls shown = {"clear 3", "lives 6", "clear 4", "score 1000",
                         "clear 6", "bonus 5", "present"};
    EXPECT_EQ(TakeCalls(), Join({Twice({"clear 2", "timer 53"}),
                                 {"sound 2"},
                                 Twice({"text 48 218 2 255 0 0"}),
                                 {"sound 4", "mark 4", "sound 5"},
                                 shown,
                                 {"mark 4"},
                                 shown,
                                 {"sound 8"}}));
    // The pause counts from the second showing of the result, the step's last present; the
    // game's end puts it back.
    EXPECT_EQ(play.resultPauseStart, clock - 3);
    EXPECT_FALSE(play.resultPause);
}

TEST_F(PlayStepTest, ThePauseAfterAPhraseSwallowsKeysAndIsNotPlayingTime) {
    StartGame(kPhrases);
    Type("ABCDE");
    ASSERT_TRUE(play.resultPause);
    uint32_t pauseStart = clock;
    EXPECT_EQ(play.resultPauseStart, pauseStart);
    TakeCalls();
    Step(1100, 'A');  // not over yet: the key is taken and lost
    EXPECT_EQ(TakeCalls(), Calls{});
    EXPECT_EQ(play.position, 0);
    Step(20);
    EXPECT_FALSE(play.resultPause);
    EXPECT_EQ(play.playStartTime, 10000 + 1120u);
    // The mark goes, and the next phrase starts with a tick already counted, the last tick
    // having been before the pause.
    Calls calls = TakeCalls();
    Calls head(calls.begin(), calls.begin() + 10);
    EXPECT_EQ(head, Join({Twice({"clear 5"}), Twice({"clear 2", "timer 1"})}));
    EXPECT_EQ(play.ticks, 1);
    EXPECT_EQ(play.position, 0);
}

TEST_F(PlayStepTest, DrawsThePhraseTextInItsColours) {
    StartGame(kPhrases);
    Step(16);
    EXPECT_EQ(TakeCalls(), Twice({"clear 0", "clear 1", "text 144 64 4 0 0 0",
                                  "text 144 90 3 0 0 0", "text 144 90 0 255 0 0"}));
    Step(16, 'A');
    EXPECT_EQ(TakeCalls(), Join({{"sound 2"}, Twice({"text 144 90 1 255 0 0"})}));
    // A wrong key marks the expected letter orange and costs a life.
    Step(16, 'X');
    EXPECT_EQ(TakeCalls(), Join({Twice({"clear 3", "lives 4"}),
                                 {"sound 3"},
                                 Twice({"text 144 90 2 255 164 0", "text 144 90 1 255 0 0"})}));
    Type("BC");
    TakeCalls();
    // The standard line is drawn under the typed dialect line, without clearing it.
    Step(16);
    EXPECT_EQ(TakeCalls(),
              Twice({"text 144 64 4 0 0 0", "text 144 90 3 255 0 0", "text 48 192 3 0 0 0",
                     "text 48 218 2 0 0 0", "text 48 218 0 255 0 0"}));
    Step(16, 'D');
    Step(16, 'Q');
    EXPECT_EQ(TakeCalls(), Join({{"sound 2"},
                                 Twice({"text 48 218 1 255 0 0"}),
                                 {"sound 3"},
                                 Twice({"text 48 218 2 255 164 0", "text 48 218 1 255 0 0"})}));
}

TEST_F(PlayStepTest, ARedrawRequestRedrawsTheTypedText) {
    StartGame(kPhrases);
    Type("AB");
    TakeCalls();
    const Calls redraw = Twice({"clear 0", "clear 1", "text 144 64 4 0 0 0", "text 144 90 3 0 0 0",
                                "text 144 90 2 255 0 0"});
    shell.phraseDirty = true;
    Step(16);
    EXPECT_EQ(TakeCalls(), redraw);
    EXPECT_FALSE(shell.phraseDirty);
    // A present that restores a lost display asks for the text again, and gets it.
    shell.phraseDirty = true;
    fakes.loseDisplay = true;
    Step(16);
    EXPECT_TRUE(shell.phraseDirty);
    TakeCalls();
    Step(16);
    EXPECT_EQ(TakeCalls(), redraw);
    EXPECT_FALSE(shell.phraseDirty);
}

}  // namespace
