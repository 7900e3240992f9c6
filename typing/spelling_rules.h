// Rewrites the romaji written in the phrase file into the spellings the player chose for nine
// kana, so that the phrase table holds exactly the keys that play will demand. Only the source as
// written is ever matched, never text already rewritten.
#pragma once

#include <string_view>

#include "typing/romaji_preferences.h"

constexpr int kLongestRewrite = 4;  // "cchi", "tty" + vowel, ...

struct SpellingRewrite {
    int consumed = 0;  // source characters taken
    int length = 0;    // bytes of text
    char text[kLongestRewrite] = {};
};

// Tries the nine rules at source[position], in rule order, each in the direction its preference
// selects; true, with the replacement, when one applies.
bool RewriteSpelling(std::string_view source, int position, const RomajiPreferences& preferences,
                     SpellingRewrite& rewrite);

// Copies bytes into a NUL-terminated field of fieldSize bytes from writePosition on; what would
// reach the field's last byte (kept for the NUL) is left out.
void AppendRomaji(char* field, int fieldSize, const char* bytes, int byteCount, int writePosition);

// Converts a whole romaji source into field, skipping spaces, and ends it with a NUL. Returns the
// converted length, which exceeds fieldSize - 1 when the field had to be cut short.
int ConvertRomaji(std::string_view source, const RomajiPreferences& preferences, char* field,
                  int fieldSize);
