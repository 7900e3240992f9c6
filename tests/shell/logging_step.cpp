// A stand-in game step for testing the shell on its own: each step polls both keyboards and
// reports what it saw through the debugger channel, which the scripted host logs as
// "T debug step CONTROL TYPING". F4 asks to quit, as the title menu's quit item does.
#include <windows.h>

#include <cstdio>

#include "game/game_step.h"
#include "shell/keyboard.h"
#include "shell/shell_state.h"

void RunGameStep() {
    int control = PollControlKey();
    int typing = PollTypingKey();
    char line[48];
    std::snprintf(line, sizeof line, "step %d %d", control, typing);
    OutputDebugStringA(line);
    if (control == VK_F4) shell.quitRequested = true;
}
