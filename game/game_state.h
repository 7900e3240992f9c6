// The state of the game-state machine: program-wide values that live here and nowhere else.
#pragma once

#include <cstdint>

struct GameState {
    // Number of phrases in the phrase table, kept in 16 bits.
    int16_t phraseCount = 0;
};

extern GameState game;

// Puts every value back to its starting value (for tests).
void ResetGameState();
