// The window's procedure: creation brings up display, sound and music; destruction runs the
// shutdown sequence; moves and activation request redraws; close asks first, Escape does not.
#pragma once

#include <windows.h>

LRESULT CALLBACK MainWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Shows the cursor, saves the preferences (once start-up has loaded them), releases display,
// sound effects and music, and posts the quit message.
void RunShutdownSequence();
