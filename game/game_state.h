// The state of the game-state machine: program-wide values that live here and nowhere else.
#pragma once

#include <cstdint>

// The phases of the game; the game starts on the title.
enum class GamePhase : int32_t {
    Title = 0,
    Play = 1,
    RankingsView = 2,
    Results = 3,
    Ready = 4,
    GameOver = 5,
    Settings = 6,
};

struct GameState {
    GamePhase currentPhase = GamePhase::Title;
    // Selected title menu item, 0 to 3; kept when the title is left and entered again.
    int32_t titleCursor = 0;
    // Selected settings row, 0 to 8; back to 0 whenever the settings screen is left.
    int32_t settingsCursor = 0;
    // The romaji preferences being edited while the settings screen is open.
    int32_t pendingPreferences[9] = {};
    // Sub-step of the ready phase: 0 waiting to show the first message, 1 waiting for Enter,
    // 2 counting down to play.
    int32_t readyStep = 0;
    // Stamp shared by the ready phase, the play timer's ticks and the game-over pause.
    uint32_t phaseTime = 0;
    // The results screen has entered the game into the rankings, and the places (1 to 5, 0
    // for none) the score and the speed took; cleared when the results screen is left.
    bool resultsEntered = false;
    int32_t scorePlace = 0;
    int32_t speedPlace = 0;
    // Number of phrases in the phrase table, kept in 16 bits.
    int16_t phraseCount = 0;
};

extern GameState game;

// Puts every value back to its starting value (for tests).
void ResetGameState();
