// The play rules on values: each part of the play step takes the key and the time it is given,
// moves the game's counters on, and says what happened, for the play step to draw and sound.
// Nothing here reads the keyboard or the clock, draws or plays a sound.
#pragma once

#include <cstdint>

#include "screens/play_screen.h"  // PlayMark

// What the clock did at the start of a step: the timer's speed-up, the pause after a phrase and
// the timer's tick.
struct ClockEvents {
    bool held = false;        // the pause after a phrase still holds play; the step ends here
    bool pauseEnded = false;  // the pause ended and its result mark goes
    bool ticked = false;      // the timer counted a tick
};
ClockEvents AdvancePlayClock(uint32_t now);

// What a key did to the current line.
struct KeyEvents {
    bool right = false;
    bool lifeLost = false;    // the first wrong key on a phrase costs a life
    bool missSounds = false;  // every wrong key sounds but the one that ends the game
};
KeyEvents TakeKey(int key);

// How the current line ended, if it did.
enum class LineEnd { None, DialectLine, Phrase };
struct LineEvents {
    LineEnd end = LineEnd::None;
    // For a completed phrase: its result mark, and whether it gave a life.
    PlayMark mark = PlayMark::ResultNoMiss;
    bool lifeGained = false;
};
// Ends the current line when all of its romaji has been typed; the standard line's end
// completes the phrase and starts the pause after it at `now`.
LineEvents EndTypedLine(uint32_t now);

// Ends the game at `now`, once `play.gameOverPending` asks for it: the counters go back to their
// starting values, the score and the mistakes stay for the results screen, and the typing speed
// is worked out.
void EndGame(uint32_t now);
