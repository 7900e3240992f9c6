// The game's own phrase collection must load every phrase it holds, whatever the player chose.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "tests/typing/scratch_folder.h"
#include "typing/phrase_table.h"

namespace {

// Counted independently of the loader: a dialect line directly followed by a standard line.
int CountPhrases(const std::string& file) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < file.size()) {
        size_t end = file.find('\n', start);
        if (end == std::string::npos) {
            end = file.size();
        }
        std::string line = file.substr(start, end - start);
        if (!line.empty() && line.back() == '\r' && end < file.size()) {
            line.pop_back();
        }
        lines.push_back(line);
        start = end + 1;
    }
    int count = 0;
    for (size_t i = 0; i + 1 < lines.size(); ++i) {
        if (lines[i].starts_with("[drel]") && lines[i + 1].starts_with("[normal]")) {
            ++count;
            ++i;
        }
    }
    return count;
}

TEST(RealPhrases, EveryPhraseLoadsUnderEveryChoice) {
    std::filesystem::path path = std::filesystem::path(PARRUN_SOURCE_DIR) / "data" / "drel.txt";
    if (!std::filesystem::exists(path)) {
        GTEST_SKIP() << path << " is not there yet";
    }
    std::string file = ReadFileForTest(path);
    int expected = CountPhrases(file);
    // The collection fills every slot: a phrase lost in an edit shows up here.
    ASSERT_EQ(expected, kPhraseCapacity);

    auto table = std::make_unique<PhraseTable>();
    for (int choice = 0; choice < 512; ++choice) {
        RomajiPreferences preferences{};
        for (int rule = 0; rule < kSpellingRuleCount; ++rule) {
            preferences.values[rule] = choice >> rule & 1;
        }
        PhraseLoadReport report;
        int count = LoadPhraseTableFromBytes(file, *table, preferences, &report);
        if (count != expected) {
            std::string dropped;
            for (const PhraseNote& note : report.notes) {
                if (note.kind == PhraseNoteKind::TooLong || note.kind == PhraseNoteKind::NoSpace) {
                    dropped += " " + std::to_string(note.line);
                }
            }
            FAIL() << "choice " << choice << " (rule i is bit i) loads " << count << " of "
                   << expected << "; dropped phrases at lines:" << dropped;
        }
    }
}

}  // namespace
