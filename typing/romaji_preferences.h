// The player's choice between two romaji spellings for each of nine kana, and the file "key.dat"
// that keeps it between runs: the nine values in rule order, each a little-endian signed 32-bit
// integer, 36 bytes with no header.
#pragma once

#include <cstddef>
#include <cstdint>

// The kana with two spellings, in the order the preferences, the rules and the file all use.
enum class SpellingRule { Shi, Chi, Tsu, Fu, Ji, Sha, Ja, Cha, N };
constexpr int kSpellingRuleCount = 9;
constexpr size_t kRomajiPreferencesFileSize = 36;

// values[rule] is 0 for the first spelling ("si", "ti", "tu", "fu", "ji", "sha", "jya", "cha",
// "n"), 1 for the second ("shi", "chi", "tsu", "hu", "zi", "sya", "zya", "tya", "nn"). Any other
// value leaves the phrase file's own spelling of that kana as it is.
struct RomajiPreferences {
    int32_t values[kSpellingRuleCount];

    int32_t& operator[](SpellingRule rule) { return values[static_cast<int>(rule)]; }
    int32_t operator[](SpellingRule rule) const { return values[static_cast<int>(rule)]; }
};

// Fills all nine values from the file's bytes; a value the bytes don't hold in full is 0.
void DecodeRomajiPreferences(const uint8_t* bytes, size_t size, RomajiPreferences& preferences);
void EncodeRomajiPreferences(const RomajiPreferences& preferences,
                             uint8_t (&bytes)[kRomajiPreferencesFileSize]);

// True after filling all nine values from "key.dat"; false, leaving them as they were, when the
// file can't be read.
bool LoadRomajiPreferences(RomajiPreferences& preferences);
// True when "key.dat" now holds exactly the 36 bytes; false (the old file kept) otherwise.
bool SaveRomajiPreferences(const RomajiPreferences& preferences);
