// Colour values on every kind of frame, digits, and the narrowing of rectangle values.
#include <gtest/gtest.h>

#include "display/display_state.h"
#include "display/drawing.h"

namespace {

struct ColorCase {
    const char* frame;
    int windowed;
    FrameDepth16 depth;
    int index, red, green, blue;
    uint32_t expected;
};

TEST(ColorValueTest, GivesTheRawValueOfEachKindOfFrame) {
    const FrameDepth16 none{}, rgb565{16, 5, 6, 5}, rgb555{16, 5, 5, 5};
    const ColorCase cases[] = {
        {"full screen", 0, none, 41, 255, 255, 196, 41},
        {"full screen after a 16-bit window", 0, rgb565, 41, 255, 255, 196, 41},
        {"5-6-5", 1, rgb565, 41, 255, 255, 196, 0xFFF8},
        {"5-5-5", 1, rgb555, 41, 255, 255, 196, 0x7FF8},
        {"32-bit", 1, none, 41, 255, 255, 196, 0xFFFFC4},
        {"5-6-5 vermilion", 1, rgb565, 21, 232, 106, 70, (29u << 11) | (26u << 5) | 8u},
        {"5-5-5 vermilion", 1, rgb555, 21, 232, 106, 70, (29u << 10) | (13u << 5) | 8u},
        {"32-bit grey", 1, none, 42, 128, 128, 128, 0x808080},
        {"5-6-5 white", 1, rgb565, 45, 255, 255, 255, 0xFFFF},
        {"5-5-5 white", 1, rgb555, 45, 255, 255, 255, 0x7FFF},
        {"5-6-5 black", 1, rgb565, 0, 0, 0, 0, 0},
    };
    for (const auto& c : cases) {
        ResetDisplayState();
        display.windowed = c.windowed;
        display.frameDepth16 = c.depth;
        EXPECT_EQ(ColorValue(c.index, c.red, c.green, c.blue), c.expected) << c.frame;
        if (c.windowed && c.depth.depth == 16) {
            EXPECT_EQ(PackRgb16(c.red, c.green, c.blue), c.expected) << c.frame;
        }
    }
    ResetDisplayState();
}

TEST(SplitDigitsTest, GivesUnitsFirstAndCountsEveryDigit) {
    struct Case {
        uint32_t value;
        std::vector<int32_t> digits;
    };
    const Case cases[] = {
        {0, {0}},
        {7, {7}},
        {10, {0, 1}},
        {99, {9, 9}},
        {100, {0, 0, 1}},
        {1234567, {7, 6, 5, 4, 3, 2, 1}},
        {2147483647, {7, 4, 6, 3, 8, 4, 7, 4, 1, 2}},
        {4294967295u, {5, 9, 2, 7, 6, 9, 4, 9, 2, 4}},
    };
    for (const auto& c : cases) {
        int32_t digits[10] = {-1, -1, -1, -1, -1, -1, -1, -1, -1, -1};
        int count = SplitDigits(digits, c.value);
        ASSERT_EQ(count, static_cast<int>(c.digits.size())) << c.value;
        EXPECT_EQ(std::vector<int32_t>(digits, digits + count), c.digits) << c.value;
    }
}

TEST(MakeRectTest, TakesTopFirstAndNarrowsEachValueToSixteenBits) {
    struct Case {
        int top, left, right, bottom;
        RECT expected;
    };
    const Case cases[] = {
        {80, 80, 560, 400, {80, 80, 560, 400}},
        {1, 2, 3, 4, {2, 1, 3, 4}},
        {-5, -6, 7, 8, {-6, -5, 7, 8}},
        {32767, 32768, 65535, 65536, {-32768, 32767, -1, 0}},
        {-32769, 100000, -100000, 0x12345, {-31072, 32767, 31072, 0x2345}},
    };
    for (const auto& c : cases) {
        RECT rect = {9, 9, 9, 9};
        RECT& filled = MakeRect(rect, c.top, c.left, c.right, c.bottom);
        EXPECT_EQ(&filled, &rect);
        EXPECT_EQ(rect.left, c.expected.left);
        EXPECT_EQ(rect.top, c.expected.top);
        EXPECT_EQ(rect.right, c.expected.right);
        EXPECT_EQ(rect.bottom, c.expected.bottom);
    }
}

}  // namespace
