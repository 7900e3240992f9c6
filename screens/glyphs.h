// The glyphs every screen shares: the large and small digits, the small decimal point, the
// Enter prompt, the two life icons and the units of scores and speeds, each a rectangle of one
// of the images.
#pragma once

#include <cstdint>

// A large digit (16 x 32) or a small one (8 x 16) with its top-left corner at (x, y).
void DrawLargeDigit(int32_t digit, int x, int y);
void DrawSmallDigit(int32_t digit, int x, int y);
// The small decimal point, 8 x 16.
void DrawSmallPoint(int x, int y);
// The prompt that asks for Enter, 72 x 8.
void DrawEnterPrompt(int x, int y);
// The life icon of a place: even places the first icon, odd places the second.
void DrawLifeIcon(int place, int x, int y);
// The units after a score (32 x 16) and after a speed (48 x 16) in the tables.
void DrawScoreUnit(int x, int y);
void DrawSpeedUnit(int x, int y);
