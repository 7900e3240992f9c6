// The keyboard polls against a scripted keyboard: each row of a table is one poll, with the
// keys held down at that moment and the code the poll must report.
#include <windows.h>

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "shell/keyboard.h"
#include "tests/case_names.h"

namespace {

std::set<int> heldKeys;

}  // namespace

// The platform's key state, as the polls see it.
SHORT WINAPI GetAsyncKeyState(int virtualKey) {
    return heldKeys.count(virtualKey) ? static_cast<SHORT>(0x8000) : 0;
}

namespace {

enum class Poll { Control, Typing };

struct Step {
    Poll poll;
    std::set<int> held;
    int expected;
};

struct Case {
    std::string name;
    std::vector<Step> steps;
};

class KeyboardTest : public testing::TestWithParam<Case> {};

TEST_P(KeyboardTest, ReportsOnlyNewlyPressedKeys) {
    ResetKeyboard();
    const Case& c = GetParam();
    for (size_t i = 0; i < c.steps.size(); ++i) {
        const Step& step = c.steps[i];
        heldKeys = step.held;
        int got = step.poll == Poll::Control ? PollControlKey() : PollTypingKey();
        EXPECT_EQ(got, step.expected) << "poll " << i;
    }
}

constexpr Poll C = Poll::Control;
constexpr Poll T = Poll::Typing;

INSTANTIATE_TEST_SUITE_P(
    Polls, KeyboardTest,
    testing::Values(
        Case{"HeldKeyReportedOnce",
             {{C, {VK_RETURN}, VK_RETURN}, {C, {VK_RETURN}, 0}, {C, {VK_RETURN}, 0}}},
        Case{"ReleasedAndPressedAgain",
             {{T, {'A'}, 'A'}, {T, {}, 0}, {T, {'A'}, 'A'}, {T, {'A'}, 0}}},
        Case{"NothingHeld", {{C, {}, 0}, {T, {}, 0}}},
        Case{"LaterLetterWinsAndEarlierIsLatched",
             {{T, {'A', 'S'}, 'S'}, {T, {'A', 'S'}, 0}, {T, {'A'}, 0}, {T, {}, 0}}},
        Case{"MinusWinsOverLetters", {{T, {'Z', VK_OEM_MINUS}, VK_OEM_MINUS}}},
        Case{"F4WinsOverControlKeys",
             {{C, {VK_RETURN, VK_SPACE, VK_LEFT, VK_UP, VK_RIGHT, VK_DOWN, VK_F4}, VK_F4}}},
        Case{"DownWinsOverUp", {{C, {VK_UP, VK_DOWN}, VK_DOWN}}},
        Case{"SecondKeyWhileFirstHeld", {{T, {'K'}, 'K'}, {T, {'K', 'B'}, 'B'}}},
        Case{"ShiftAndCapsLockDoNotChangeLetters",
             {{T, {VK_SHIFT, 'Q'}, 'Q'}, {T, {VK_SHIFT}, 0}, {T, {VK_CAPITAL, 'Q'}, 'Q'}}},
        Case{"PollsIgnoreOtherKeys",
             {{C, {'A', VK_ESCAPE}, 0}, {T, {VK_RETURN, VK_ESCAPE, '1'}, 0}}},
        // Enter held from one Enter-waiting phase into the next does not confirm again.
        Case{"ControlLatchSurvivesPhaseChange",
             {{C, {VK_RETURN}, VK_RETURN},
              {T, {VK_RETURN}, 0},
              {C, {VK_RETURN}, 0},
              {C, {}, 0},
              {C, {VK_RETURN}, VK_RETURN}}},
        // A letter released and pressed again while only the control poll ran is not seen:
        // its latch still says "down" from the last typing poll.
        Case{"TypingLatchKeptWhileControlPollRuns",
             {{T, {'A'}, 'A'}, {C, {}, 0}, {C, {'A'}, 0}, {T, {'A'}, 0}}},
        // A letter held when play begins is reported if it was up at the last typing poll.
        Case{"LetterHeldIntoPlayIsReported",
             {{T, {}, 0}, {C, {'A'}, 0}, {C, {'A'}, 0}, {T, {'A'}, 'A'}}}),
    CaseName());

}  // namespace
