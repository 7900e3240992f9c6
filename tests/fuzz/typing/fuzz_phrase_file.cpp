// The phrase loader on any file under any preferences: the first nine bytes choose the nine
// values (0, 1, 2 or -1), the rest is the file.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "typing/phrase_table.h"

namespace {

PhraseTable quietTable;
PhraseTable reportedTable;

void Require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

void CheckLine(const char* text, int16_t textLength, const char* romaji, int16_t romajiLength) {
    Require(textLength >= 0 && textLength <= kPhraseLengthLimit);
    Require(romajiLength >= 0 && romajiLength <= kPhraseLengthLimit);
    Require(std::strlen(text) == static_cast<size_t>(textLength));
    Require(std::strlen(romaji) == static_cast<size_t>(romajiLength));
    Require(std::strchr(romaji, ' ') == nullptr);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < kSpellingRuleCount) {
        return 0;
    }
    static constexpr int32_t kValues[4] = {0, 1, 2, -1};
    RomajiPreferences preferences;
    for (int i = 0; i < kSpellingRuleCount; ++i) {
        preferences.values[i] = kValues[data[i] & 3];
    }
    std::string_view file(reinterpret_cast<const char*>(data) + kSpellingRuleCount,
                          size - kSpellingRuleCount);

    int count = LoadPhraseTableFromBytes(file, quietTable, preferences);
    Require(count >= 0 && count <= kPhraseCapacity);
    for (int i = 0; i < count; ++i) {
        const PhraseEntry& entry = quietTable[i];
        CheckLine(entry.dialectText, entry.dialectTextLength, entry.dialectRomaji,
                  entry.dialectRomajiLength);
        CheckLine(entry.standardText, entry.standardTextLength, entry.standardRomaji,
                  entry.standardRomajiLength);
    }

    // Asking for a report must not change what is loaded.
    PhraseLoadReport report;
    Require(LoadPhraseTableFromBytes(file, reportedTable, preferences, &report) == count);
    Require(report.phraseLines.size() == static_cast<size_t>(count));
    Require(std::memcmp(&quietTable, &reportedTable, sizeof(PhraseEntry) * count) == 0);
    for (const PhraseNote& note : report.notes) {
        Require(note.line >= 1);
    }
    return 0;
}
