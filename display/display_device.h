// The display device: created windowed at start, switched to full screen and back, released
// at shutdown. The window's client rectangle is tracked for the windowed present.
#pragma once

#include <windows.h>

// Records where the window's client area lies on the screen (after creation and every move).
void TrackClientRect(HWND window);
// Releases every surface and the device; does nothing when the display never started.
void ReleaseDisplay();
