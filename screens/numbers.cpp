#include "screens/numbers.h"

#include <cmath>

#include "display/drawing.h"
#include "screens/glyphs.h"

namespace {

// The digit of the truncated value, whose sign the callers have already made non-negative.
int32_t DigitOf(double value) {
    return static_cast<int32_t>(static_cast<int64_t>(value) % 10);
}

}  // namespace

int32_t ShownNumber(int32_t value, int32_t limit) {
    if (value < 0) return 0;
    return value > limit ? limit : value;
}

void DrawNumber(int32_t value, int32_t limit, DigitSet set, int x0, int pitch, int y) {
    int32_t digits[10];
    int count = SplitDigits(digits, static_cast<uint32_t>(ShownNumber(value, limit)));
    for (int i = 0; i < count; ++i) {
        if (set == DigitSet::Large) {
            DrawLargeDigit(digits[i], x0 - pitch * i, y);
        } else {
            DrawSmallDigit(digits[i], x0 - pitch * i, y);
        }
    }
}

float LimitSpeed(float speed) {
    return speed >= 100.0f ? kSpeedLimit : speed;
}

int SpeedGlyphs(float speed, int32_t (&glyphs)[5]) {
    // Not-a-number fails every comparison and falls to 0 here with the negative speeds.
    if (!(speed >= 0.0f)) speed = 0.0f;
    glyphs[2] = kPointGlyph;
    // The limit shows as 99.99, the figure the screen promises as its greatest. Truncating
    // the single-precision limit, which lies just below 99.99, would show 99.98.
    if (speed >= kSpeedLimit) {
        glyphs[0] = glyphs[1] = glyphs[3] = glyphs[4] = 9;
        return 5;
    }
    // The products are formed in double precision, where those with 100 and 10 are exact, and
    // truncated: 7.5 shows 7.50, and 9.99 (just below it in single precision) 9.98.
    const double value = speed;
    glyphs[0] = DigitOf(value * 100.0);
    glyphs[1] = DigitOf(value * 10.0);
    glyphs[3] = DigitOf(value);
    if (value < 10.0) return 4;
    glyphs[4] = DigitOf(value * 0.1);
    return 5;
}

void DrawSpeed(float speed, int x0, int y) {
    int32_t glyphs[5];
    int count = SpeedGlyphs(speed, glyphs);
    for (int j = 0; j < count; ++j) {
        int x = x0 - kSmallPitch * j;
        if (glyphs[j] == kPointGlyph) {
            DrawSmallPoint(x, y);
        } else {
            DrawSmallDigit(glyphs[j], x, y);
        }
    }
}
