#include "tools/phrase_checker/phrase_checker.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "tests/typing/scratch_folder.h"

namespace {

struct CheckerCase {
    const char* name;
    std::vector<const char*> arguments;
    std::string file;  // written to drel.txt
    int status;
    std::string out;
    std::string err;
};

class PhraseChecker : public ScratchFolderTest {};

TEST_F(PhraseChecker, PrintsPhrasesAndTellsWhatItPassedOver) {
    // し ("\x82\xb5") and 新 ("\x90V") in Shift-JIS.
    const std::string phrase = "[drel]\x82\xb5 sinbun\r\n[normal]\x90V shinbun\r\n";
    const CheckerCase cases[] = {
        {"defaults",
         {},
         "# heading\n" + phrase,
         0,
         "0\t\xE3\x81\x97\tsinbun\t\xE6\x96\xB0\tsinbun\n1 phrases\n",
         "drel.txt: 1 other lines ignored as comments or headings (--verbose lists them)\n"},
        {"preferences and verbose",
         {"--prefs", "1,0,0,0,0,0,0,0,1", "-v"},
         "# heading\n" + phrase,
         0,
         "0\t\xE3\x81\x97\tshinnbunn\t\xE6\x96\xB0\tshinnbunn\n1 phrases\n",
         "drel.txt:1: ignored: neither a dialect line nor the line after one\n"},
        {"too long under these preferences",
         {"--prefs=0,0,0,0,0,0,0,0,1"},
         "[drel]a nbnbnbnbnbnbnbnbnbnb\n[normal]c d\n",
         1,
         "0 phrases\n",
         "drel.txt:1: phrase dropped: over 28 under these preferences: dialect romaji 30\n"},
        {"texts that are not Shift-JIS or break the line",
         {},
         "[drel]\x82\ta\\ x\n[normal]\xff x\n",
         0,
         "0\t\\x82\\x09a\\\\\tx\t\\xFF\tx\n1 phrases\n",
         ""},
        {"mistyped tag and a cut line",
         {},
         "[Drel]a b\n[drel]a b" + std::string(300, ' ') + "\n[normal]c d\n[drel]e f\n",
         0,
         "0\ta\tb\tc\td\n1 phrases\n",
         "drel.txt:1: ignored: begins like a tag but is neither \"[drel]\" nor \"[normal]\" in "
         "the first column\n"
         "drel.txt:2: line cut at 255 characters; the rest of it is skipped\n"
         "drel.txt:4: phrase dropped: the file ends before its standard line\n"},
        {"wrong preferences",
         {"--prefs", "1,1"},
         phrase,
         2,
         "",
         "parrun-phrases: --prefs takes nine integers separated by commas, not '1,1'\n"},
    };
    for (const CheckerCase& c : cases) {
        WriteFileForTest("drel.txt", c.file);
        std::ostringstream out, err;
        int status =
            RunPhraseChecker(static_cast<int>(c.arguments.size()), c.arguments.data(), out, err);
        EXPECT_EQ(status, c.status) << c.name;
        EXPECT_EQ(out.str(), c.out) << c.name;
        EXPECT_EQ(err.str(), c.err) << c.name;
    }
}

TEST_F(PhraseChecker, MissingFileLoadsNothing) {
    const char* arguments[] = {"absent.txt"};
    std::ostringstream out, err;
    EXPECT_EQ(RunPhraseChecker(1, arguments, out, err), 1);
    EXPECT_EQ(err.str(), "parrun-phrases: cannot read absent.txt: No such file or directory\n");
}

}  // namespace
