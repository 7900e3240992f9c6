// The application's program-wide values: the window, its activity, the two redraw requests,
// the frame stamp and the quit request. They live here and nowhere else.
#pragma once

#include <windows.h>

#include <cstdint>

struct ShellState {
    HWND mainWindow = nullptr;
    // Low word of the last activation: 0 inactive, 1 active, 2 activated by a click.
    uint32_t windowActive = 0;
    // The high word of the last activation was 0: the window is not minimised.
    bool windowRestored = false;
    // Draw the whole screen of the current phase at its next step.
    bool screenDirty = true;
    // Draw the phrase text at the next play step.
    bool phraseDirty = true;
    // End of the previous frame's pacing wait.
    uint32_t lastFrameTime = 0;
    // A present found the display lost and restored it: its pages start black. Play and the
    // game-over pause, which never draw their whole screen on `screenDirty`, draw it anew.
    bool displayRestored = false;
    // The title menu's quit item was chosen during a step.
    bool quitRequested = false;
    // Start-up has loaded the player's preferences, so shutdown may write them back.
    bool preferencesLoaded = false;
};

extern ShellState shell;

// Puts every value back to its starting value (for tests).
void ResetShellState();

// True when more than `interval` ms have passed from `stamp` to `now`, on the wrapping clock:
// the difference is taken in 32-bit signed arithmetic, so the wrap is harmless.
inline bool MoreThanElapsed(uint32_t stamp, uint32_t interval, uint32_t now) {
    return static_cast<int32_t>(stamp + interval - now) < 0;
}
