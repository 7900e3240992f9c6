// Numbers drawn right-aligned with the digit glyphs, units first, and typing speeds drawn with
// two decimals.
#pragma once

#include <cstdint>

enum class DigitSet { Large, Small };

// The greatest score, bonus or ranking score a screen shows.
constexpr int32_t kScoreLimit = 999999;
// Small digits are 8 pixels wide and drawn 11 apart.
constexpr int kSmallPitch = 11;

// What a counter shows: below 0 as 0 (a digit glyph exists only for 0 to 9), above the limit
// as the limit.
int32_t ShownNumber(int32_t value, int32_t limit);
// Digit i (0 the units) at (x0 - pitch * i, y); at least one digit.
void DrawNumber(int32_t value, int32_t limit, DigitSet set, int x0, int pitch, int y);

// The greatest speed a table shows; it is held in single precision, just below 99.99.
constexpr float kSpeedLimit = 99.99f;
// A speed of 100 or more (infinity included) lowered to kSpeedLimit; anything else unchanged.
float LimitSpeed(float speed);

// The glyph standing for the small decimal point in SpeedGlyphs.
constexpr int32_t kPointGlyph = 10;
// The glyphs of a speed, rightmost first: hundredths, tenths, point, units, and tens from 10
// on. Returns the count, 4 or 5. Not-a-number and negative speeds show 0.00.
int SpeedGlyphs(float speed, int32_t (&glyphs)[5]);
// Small glyph j (0 the rightmost) at (x0 - 11 * j, y).
void DrawSpeed(float speed, int x0, int y);
