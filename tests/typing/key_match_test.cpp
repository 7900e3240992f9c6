#include "typing/key_match.h"

#include <gtest/gtest.h>

namespace {

struct KeyCase {
    const char* romaji;
    int keyCode;
    int position;
    int expected;
};

TEST(KeyMatchesRomaji, JudgesOneKeyAgainstOnePosition) {
    const KeyCase cases[] = {
        {"abc", 65, 0, 1},    // A
        {"abc", 66, 1, 1},    // B
        {"xyz", 90, 2, 1},    // Z
        {"abc", 66, 0, 0},    // right letter, wrong place
        {"a-b", 189, 1, 1},   // the minus key
        {"a-b", 109, 1, 0},   // the keypad minus is another key
        {"ABC", 65, 0, 0},    // an uppercase romaji can't be typed
        {"a1", 49, 1, 0},     // digit keys never match
        {"a", 97, 0, 0},      // a character code is not a key code
        {"abc", 65, 3, 0},    // at the end
        {"ab\0a", 65, 3, 0},  // never past the end
        {"abc", 65, -1, 0},  {"abc", 64, 0, 0}, {"abc", 91, 0, 0},
    };
    for (const KeyCase& c : cases) {
        EXPECT_EQ(KeyMatchesRomaji(c.romaji, c.keyCode, c.position), c.expected)
            << c.romaji << " key " << c.keyCode << " at " << c.position;
    }
}

}  // namespace
