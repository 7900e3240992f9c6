// Brings the display up: the device, the palette and the game's images.
#pragma once

#include <windows.h>

// 1 on success; shows its own message for a palette or image failure.
int StartDisplay(HWND window);
