// The display device: created windowed at start, switched to full screen and back, released
// at shutdown. The window's client rectangle is tracked for the windowed present.
#pragma once

#include <windows.h>

// Makes the DirectDraw object (first time only), the primary surface and the frame for the
// current mode. 1 on success, 0 on any failure, without a message.
int CreateDisplayDevice(HWND window);
// Records where the window's client area lies on the screen (after creation and every move).
void TrackClientRect(HWND window);
// Switches between windowed and full-screen mode and brings the display up again; 1 on
// success. The caller ends the program on 0.
int ToggleDisplayMode(HWND window);
// Releases every surface and the device; does nothing when the display never started.
void ReleaseDisplay();
