#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "tests/typing/scratch_folder.h"
#include "typing/phrase_table.h"

namespace {

struct LoadedPhrase {
    std::string dialectText, dialectRomaji, standardText, standardRomaji;
    bool operator==(const LoadedPhrase&) const = default;
};

std::ostream& operator<<(std::ostream& out, const LoadedPhrase& p) {
    return out << "{" << p.dialectText << "|" << p.dialectRomaji << "|" << p.standardText << "|"
               << p.standardRomaji << "}";
}

RomajiPreferences Preferences(int nValue = 0) {
    RomajiPreferences preferences{};
    preferences[SpellingRule::N] = nValue;
    return preferences;
}

// Loads and returns the valid phrases, checking that each length matches its field.
std::vector<LoadedPhrase> Load(const std::string& file, const RomajiPreferences& preferences) {
    auto table = std::make_unique<PhraseTable>();
    int count = LoadPhraseTableFromBytes(file, *table, preferences);
    std::vector<LoadedPhrase> phrases;
    for (int i = 0; i < count; ++i) {
        const PhraseEntry& e = (*table)[i];
        EXPECT_EQ(e.dialectTextLength, static_cast<int>(strlen(e.dialectText)));
        EXPECT_EQ(e.dialectRomajiLength, static_cast<int>(strlen(e.dialectRomaji)));
        EXPECT_EQ(e.standardTextLength, static_cast<int>(strlen(e.standardText)));
        EXPECT_EQ(e.standardRomajiLength, static_cast<int>(strlen(e.standardRomaji)));
        phrases.push_back({e.dialectText, e.dialectRomaji, e.standardText, e.standardRomaji});
    }
    return phrases;
}

struct LoaderCase {
    const char* name;
    std::string file;
    int nValue;
    std::vector<LoadedPhrase> expected;
};

std::string Repeat(const std::string& piece, int times) {
    std::string result;
    for (int i = 0; i < times; ++i) {
        result += piece;
    }
    return result;
}

const std::string k28 = "abcdefghijklmnopqrstuvwxyzab";

TEST(PhraseLoader, LoadsWhatTheFileHolds) {
    const LoaderCase cases[] = {
        {"empty file", "", 0, {}},
        {"comments only", "# phrases\n\n; none yet\r\n", 0, {}},
        {"one phrase",
         "[drel]\x82\xb5 si\n[normal]\x90V shi\n",
         0,
         {{"\x82\xb5", "si", "\x90V", "si"}}},
        {"last line without its end", "[drel]a b\n[normal]c d", 0, {{"a", "b", "c", "d"}}},
        {"CR LF ends",
         "[drel]a b\r\n[normal]c d\r\n\r\n[drel]e f\r\n[normal]g h\r\n",
         0,
         {{"a", "b", "c", "d"}, {"e", "f", "g", "h"}}},
        {"a CR not before LF is kept",
         "[drel]a\rb c\n[normal]c d\r",
         0,
         {{"a\rb", "c", "c", "d\r"}}},
        {"empty display text", "[drel] b\n[normal] d\n", 0, {{"", "b", "", "d"}}},
        {"empty romaji", "[drel]a \n[normal]c \n", 0, {{"a", "", "c", ""}}},
        {"spaces inside romaji",
         "[drel]a oha you \n[normal]c o ha  you\n",
         0,
         {{"a", "ohayou", "c", "ohayou"}}},
        {"the first space ends the text",
         "[drel]a b c\n[normal]c  d\n",
         0,
         {{"a", "bc", "c", "d"}}},
        {"romaji converted",
         "[drel]a shinbun\n[normal]b sinbunn\n",
         0,
         {{"a", "sinbun", "b", "sinbun"}}},
        {"two dialect lines in a row", "[drel]a b\n[drel]c d\n[normal]e f\n", 0, {}},
        {"standard line alone", "[normal]x y\n[drel]a b\n[normal]c d\n", 0, {{"a", "b", "c", "d"}}},
        {"something between the lines", "[drel]a b\n\n[normal]c d\n", 0, {}},
        {"dialect line last", "[drel]a b\n[normal]c d\n[drel]e f\n", 0, {{"a", "b", "c", "d"}}},
        {"tags are case-sensitive and in the first column",
         "[DREL]a b\n[normal]c d\n [drel]a b\n[normal]c d\n[drel]a b\n[Normal]c d\n",
         0,
         {}},
        {"28 is the limit",
         "[drel]a " + k28 + "\n[normal]" + k28 + " d\n",
         0,
         {{"a", k28, k28, "d"}}},
        {"29 romaji characters", "[drel]a " + k28 + "c\n[normal]c d\n", 0, {}},
        {"29 text bytes", "[drel]a b\n[normal]" + k28 + "c d\n", 0, {}},
        {"a dropped phrase's slot is reused",
         "[drel]a " + k28 + "c\n[normal]c d\n[drel]e f\n[normal]g h\n",
         0,
         {{"e", "f", "g", "h"}}},
        {"no space after the display text: dropped",
         "[drel]abc\n[normal]c d\n[drel]e f\n[normal]g\n",
         0,
         {}},
        {"text too long for its field",
         "[drel]" + std::string(240, 'x') + " b\n[normal]c d\n" + "[drel]e f\n[normal]g h\n",
         0,
         {{"e", "f", "g", "h"}}},
        {"romaji too long for its field",
         "[drel]a " + Repeat("nb", 120) + "\n[normal]c d\n[drel]e f\n[normal]g h\n",
         1,
         {{"e", "f", "g", "h"}}},
        {"a NUL ends what is read of a line",
         std::string("[drel]a b\0xyz\n[normal]c d\n", 26),
         0,
         {{"a", "b", "c", "d"}}},
    };
    for (const LoaderCase& c : cases) {
        EXPECT_EQ(Load(c.file, Preferences(c.nValue)), c.expected) << c.name;
    }
}

// Doubling every lone "n" can take a romaji over 28, and the phrase leaves the table.
TEST(PhraseLoader, LengthLimitAppliesAfterConversion) {
    std::string file =
        "[drel]a kanbunkanbunkanbunkanbunkaka\n[normal]c d\n"  // 28 as written
        "[drel]e f\n[normal]g h\n";
    EXPECT_EQ(Load(file, Preferences(0)).size(), 2u);
    std::vector<LoadedPhrase> doubled = Load(file, Preferences(1));
    ASSERT_EQ(doubled.size(), 1u);
    EXPECT_EQ(doubled[0].dialectText, "e");
}

// A line longer than 255 characters is read as its first 255; the rest of it is skipped and the
// load goes on.
TEST(PhraseLoader, LongLinesAreCutAndTheLoadGoesOn) {
    std::string padding(300, ' ');
    const LoaderCase cases[] = {
        {"cut dialect line",
         "[drel]a b" + padding + "xyz\n[normal]c d\n[drel]e f\n[normal]g h\n",
         0,
         {{"a", "b", "c", "d"}, {"e", "f", "g", "h"}}},
        {"cut comment",
         "#" + std::string(400, '[') + "\n[drel]e f\n[normal]g h\n",
         0,
         {{"e", "f", "g", "h"}}},
        {"cut at exactly 255",
         "[drel]a " + std::string(246, ' ') + "bc\n[normal]c d\n",
         0,
         {{"a", "b", "c", "d"}}},
        {"255 characters are not cut",
         "[drel]a " + std::string(246, ' ') + "b\r\n[normal]c d\n[drel]e f\n[normal]g h\n",
         0,
         {{"a", "b", "c", "d"}, {"e", "f", "g", "h"}}},
    };
    for (const LoaderCase& c : cases) {
        EXPECT_EQ(Load(c.file, Preferences(c.nValue)), c.expected) << c.name;
    }
}

TEST(PhraseLoader, HoldsAtMost256Phrases) {
    std::string file;
    for (int i = 0; i < 300; ++i) {
        file += "[drel]d" + std::to_string(i) + " a\n[normal]s b\n";
    }
    std::vector<LoadedPhrase> phrases = Load(file, Preferences());
    ASSERT_EQ(phrases.size(), 256u);
    EXPECT_EQ(phrases[255].dialectText, "d255");

    auto table = std::make_unique<PhraseTable>();
    PhraseLoadReport report;
    ASSERT_EQ(LoadPhraseTableFromBytes(file, *table, Preferences(), &report), 256);
    ASSERT_EQ(report.notes.size(), 1u);
    EXPECT_EQ(report.notes[0].kind, PhraseNoteKind::TableFull);
    EXPECT_EQ(report.notes[0].line, 513);
}

TEST(PhraseLoader, ReportsWhatItPassedOver) {
    std::string file =
        "# comment\n"             // 1 ignored
        "\n"                      // 2 blank: not noted
        "[normal]x y\n"           // 3 stray standard line
        "[drel]a b\n[drel]c d\n"  // 4, 5 no standard line
        "[drel]a b" +
        std::string(300, ' ') +
        "\n[normal]c d\n"  // 6 cut, loaded
        "[drel]a " +
        k28 +
        "z\n[normal]c d\n"          // 8 too long
        "[drel]a b\n[normal]cd\n"   // 10 no space on 11
        "[drel]a B\n[normal]c d\n"  // 12 untypable, loaded
        "[drel]a b\n";              // 14 no standard line
    auto table = std::make_unique<PhraseTable>();
    PhraseLoadReport report;
    ASSERT_EQ(LoadPhraseTableFromBytes(file, *table, Preferences(), &report), 2);
    EXPECT_EQ(report.phraseLines, (std::vector<int>{6, 12}));

    struct Expected {
        PhraseNoteKind kind;
        int line, otherLine;
    };
    const Expected expected[] = {
        {PhraseNoteKind::IgnoredLine, 1, 0},      {PhraseNoteKind::StrayStandardLine, 3, 0},
        {PhraseNoteKind::NoStandardLine, 4, 5},   {PhraseNoteKind::LineCut, 6, 0},
        {PhraseNoteKind::TooLong, 8, 9},          {PhraseNoteKind::NoSpace, 10, 11},
        {PhraseNoteKind::UntypableRomaji, 12, 0}, {PhraseNoteKind::NoStandardLine, 14, 0},
    };
    ASSERT_EQ(report.notes.size(), std::size(expected));
    for (size_t i = 0; i < std::size(expected); ++i) {
        EXPECT_EQ(report.notes[i].kind, expected[i].kind) << i;
        EXPECT_EQ(report.notes[i].line, expected[i].line) << i;
        EXPECT_EQ(report.notes[i].otherLine, expected[i].otherLine) << i;
    }
    EXPECT_EQ(report.notes[4].lengths[1], 29);
}

class PhraseFile : public ScratchFolderTest {};

TEST_F(PhraseFile, LoadsDrelTxtFromTheCurrentFolder) {
    WriteFileForTest("drel.txt", "[drel]a si\r\n[normal]b tu\r\n");
    auto table = std::make_unique<PhraseTable>();
    RomajiPreferences preferences{};
    preferences[SpellingRule::Shi] = 1;
    testing::internal::CaptureStdout();
    EXPECT_EQ(LoadPhraseTable(*table, preferences), 1);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_STREQ((*table)[0].dialectRomaji, "shi");
    EXPECT_STREQ((*table)[0].standardText, "b");
}

TEST_F(PhraseFile, SaysWhenItCannotOpenTheFile) {
    auto table = std::make_unique<PhraseTable>();
    for (bool asFolder : {false, true}) {
        if (asFolder) {
            std::filesystem::create_directory("drel.txt");
        }
        testing::internal::CaptureStdout();
        EXPECT_EQ(LoadPhraseTable(*table, RomajiPreferences{}), 0);
        EXPECT_EQ(testing::internal::GetCapturedStdout(), "Cannot open this file.\n");
    }
}

}  // namespace
