// The phrases the player types, each a dialect line and its standard-Japanese rendering, loaded
// from the Shift-JIS file "drel.txt" with their romaji rewritten into the player's spellings.
// Other modules address the fields of PhraseEntry directly; its layout is fixed.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "typing/romaji_preferences.h"

constexpr int kPhraseFieldSize = 128;   // each text and romaji field, NUL included
constexpr int kPhraseCapacity = 256;    // phrases a table holds
constexpr int kPhraseLengthLimit = 28;  // bytes of a text, characters of a romaji
constexpr int kPhraseLineLimit = 255;   // characters of a line that are read

struct PhraseEntry {
    char dialectText[kPhraseFieldSize];    // Shift-JIS, NUL-terminated
    char dialectRomaji[kPhraseFieldSize];  // the keys to type, NUL-terminated
    int16_t dialectTextLength;
    int16_t dialectRomajiLength;
    char standardText[kPhraseFieldSize];
    char standardRomaji[kPhraseFieldSize];
    int16_t standardTextLength;
    int16_t standardRomajiLength;
};
static_assert(sizeof(PhraseEntry) == 520);
static_assert(offsetof(PhraseEntry, dialectTextLength) == 256);
static_assert(offsetof(PhraseEntry, standardText) == 260);
static_assert(offsetof(PhraseEntry, standardRomajiLength) == 518);

// Slots from the count the load returned on are not valid: a load writes over the table in place
// and clears nothing.
struct PhraseTable {
    PhraseEntry entries[kPhraseCapacity];

    PhraseEntry& operator[](int index) { return entries[index]; }
    const PhraseEntry& operator[](int index) const { return entries[index]; }
};

// Fills the table from "drel.txt" in the current directory and returns the number of phrases,
// 0 to 256. When the file can't be opened it writes "Cannot open this file.\n" to the standard
// output and returns 0. A line over 255 characters is read as its first 255 and the load goes on
// at the next line; a tag line with no space after its display text has no romaji, and its
// phrase is dropped like one over the length limit.
int LoadPhraseTable(PhraseTable& table, const RomajiPreferences& preferences);

// What a load passed over, for phrase authors. Lines are numbered from 1.
enum class PhraseNoteKind {
    IgnoredLine,        // neither a dialect line nor the line after one (blank lines not noted)
    MistypedTag,        // an ignored line that begins like a tag ("[Drel]", " [drel]", "[drel ]")
    StrayStandardLine,  // a standard line with no dialect line right before it: ignored
    LineCut,            // over 255 characters: the rest of the line was skipped
    NulByte,            // holds a NUL byte: the rest of the line was skipped
    NoStandardLine,     // the next line (otherLine, 0 at the end) is no standard line: dropped
    NoSpace,            // otherLine has no space after its display text: phrase dropped
    TooLong,            // a length over 28 (see lengths): phrase dropped
    UntypableRomaji,    // loaded, but its romaji holds a character no key types
    TableFull,          // 256 phrases loaded; the file from `line` on was not read
};

struct PhraseNote {
    PhraseNoteKind kind;
    int line;
    int otherLine = 0;
    // Dialect text, dialect romaji, standard text, standard romaji, as converted and before any
    // cut to the field.
    int lengths[4] = {};
};

struct PhraseLoadReport {
    std::vector<PhraseNote> notes;
    std::vector<int> phraseLines;  // the dialect line of each loaded phrase, by slot
};

// The load itself, on the file's bytes. The report, when given, is filled; it changes nothing
// about the load.
int LoadPhraseTableFromBytes(std::string_view bytes, PhraseTable& table,
                             const RomajiPreferences& preferences,
                             PhraseLoadReport* report = nullptr);
