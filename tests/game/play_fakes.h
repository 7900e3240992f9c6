// Fixtures that start a game on a phrase table of the test's choosing: one runs the rules alone
// on the key and the time it gives them, the other the whole play step against stand-ins for
// what it calls, every drawing, present and sound recorded as one line of text.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "typing/rankings.h"

struct PlayFakes {
    uint32_t clock = 0;  // what timeGetTime reads
    int key = 0;         // what the next PollTypingKey reports, once
    // The next present finds the display lost: it restores it and asks for every redraw.
    bool loseDisplay = false;
    // Each present moves the clock on by this much, as one that waits for the screen would.
    uint32_t presentTakes = 0;
    // "text X Y LENGTH R G B", "present", "clear PIECE", "timer TICKS", "lives N", "score N",
    // "bonus N", "mark MARK", "sound ID".
    std::vector<std::string> calls;
    std::vector<Rankings> saves;  // the rankings at each SaveRankings
};

extern PlayFakes fakes;

struct TestPhrase {
    std::string dialectText, dialectRomaji, standardText, standardRomaji;
};

class RulesTest : public testing::Test {
protected:
    // A game on these phrases just begun at `start`, as the ready phase leaves it.
    void StartGame(const std::vector<TestPhrase>& phrases, uint32_t start = 10000);
    // Moves the clock on and runs one step with this key (0 for none).
    void Step(uint32_t milliseconds, int key = 0);
    // Runs a step for each key of the text 16 ms apart (upper-case letters, '-' for minus).
    void Type(const std::string& keys);
    // The rules of one play step in its order, at `clock`, with nothing drawn.
    virtual void RunStep(int key);

    uint32_t clock = 0;
};

// Each step is the play step itself, reading the key and `clock` from the stand-ins.
class PlayStepTest : public RulesTest {
protected:
    void RunStep(int key) override;
    // The recorded calls since the last TakeCalls.
    std::vector<std::string> TakeCalls();
};
