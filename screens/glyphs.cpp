// To be drawn: the shared glyphs are stubs for now.
#include "screens/glyphs.h"

void DrawLargeDigit(int32_t, int, int) {}
void DrawSmallDigit(int32_t, int, int) {}
void DrawSmallPoint(int, int) {}
void DrawEnterPrompt(int, int) {}
void DrawLifeIcon(int, int, int) {}
