// The title screen and its four-item menu: start a game, the rankings, the settings, quit.
#pragma once

#include <cstdint>

// Everything but the menu, with the label of the current display mode.
void DrawTitleScreen();
// All four items over what stands, the selected one highlighted; a value outside 0 to 3
// highlights none.
void DrawTitleMenu(int32_t selected);
