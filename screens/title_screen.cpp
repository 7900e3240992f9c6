// To be drawn: the title screen's operations are stubs for now.
#include "screens/title_screen.h"

void DrawTitleScreen() {}
void DrawTitleMenu(int32_t) {}
