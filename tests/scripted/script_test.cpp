// The scenario script reader: every kind of line, and the faults it must name by line.
#include <gtest/gtest.h>

#include <windows.h>

#include "platform/scripted/script.h"
#include "tests/case_names.h"

namespace {

using platform::ParseScript;
using platform::Script;
using platform::ScriptEventKind;

TEST(ScriptTest, ReadsEveryKindOfLineInTimeOrder) {
    Script script;
    std::string error;
    ASSERT_TRUE(
        ParseScript("# a comment\n"
                    "clock 4294967290\n"
                    "desktop 16\n"
                    "\n"
                    "at 50 close yes after 200   # answered slowly\n"
                    "at 10 press A\n"
                    "at 10 release MINUS\n"
                    "at 20 move -5 7\n"
                    "at 30 shot frame.png\n"
                    "at 40 deactivate\n"
                    "at 40 minimize\n"
                    "end 900\n",
                    script, error))
        << error;
    EXPECT_EQ(script.clockStart, 4294967290u);
    EXPECT_EQ(script.desktopBits, 16);
    ASSERT_TRUE(script.end.has_value());
    EXPECT_EQ(*script.end, 900u);
    ASSERT_EQ(script.events.size(), 7u);
    // Sorted by time; equal times keep their written order.
    EXPECT_EQ(script.events[0].kind, ScriptEventKind::Press);
    EXPECT_EQ(script.events[0].key, 'A');
    EXPECT_EQ(script.events[1].kind, ScriptEventKind::Release);
    EXPECT_EQ(script.events[1].key, VK_OEM_MINUS);
    EXPECT_EQ(script.events[2].x, -5);
    EXPECT_EQ(script.events[2].y, 7);
    EXPECT_EQ(script.events[3].file, "frame.png");
    EXPECT_EQ(script.events[4].kind, ScriptEventKind::Deactivate);
    EXPECT_EQ(script.events[5].kind, ScriptEventKind::Minimize);
    EXPECT_EQ(script.events[6].kind, ScriptEventKind::Close);
    EXPECT_TRUE(script.events[6].answerYes);
    EXPECT_EQ(script.events[6].answerDelay, 200u);
    EXPECT_EQ(script.events[6].line, 5);
}

struct FaultCase {
    const char* text;
    const char* error;
};

void PrintTo(const FaultCase& c, std::ostream* out) {
    *out << NameFromText(c.text);
}

class ScriptFaultTest : public testing::TestWithParam<FaultCase> {};

TEST_P(ScriptFaultTest, NamesTheLine) {
    Script script;
    std::string error;
    EXPECT_FALSE(ParseScript(GetParam().text, script, error));
    EXPECT_EQ(error.rfind(GetParam().error, 0), 0u) << error;
}

INSTANTIATE_TEST_SUITE_P(
    Faults, ScriptFaultTest,
    testing::Values(FaultCase{"clock -1\n", "line 1: expected 'clock N'"},
                    FaultCase{"clock 4294967296\n", "line 1: expected 'clock N'"},
                    FaultCase{"\n\nend soon\n", "line 3: expected 'end T'"},
                    FaultCase{"desktop 24\n", "line 1: expected 'desktop 32'"},
                    FaultCase{"at 10 press a\n", "line 1: expected 'press KEY'"},
                    FaultCase{"at 10 press\n", "line 1: expected 'press KEY'"},
                    FaultCase{"at x press A\n", "line 1: expected 'at T WHAT"},
                    FaultCase{"at 10\n", "line 1: expected 'at T WHAT"},
                    FaultCase{"at 10 close maybe\n", "line 1: expected 'close yes'"},
                    FaultCase{"at 10 close\n", "line 1: expected 'close yes'"},
                    FaultCase{"at 10 close no after\n", "line 1: expected 'close yes'"},
                    FaultCase{"at 10 move 1\n", "line 1: expected 'move X Y'"},
                    FaultCase{"at 10 shot\n", "line 1: expected 'shot FILE'"},
                    FaultCase{"at 10 activate now\n", "line 1: unknown event 'activate'"},
                    FaultCase{"at 10 jump\n", "line 1: unknown event 'jump'"},
                    FaultCase{"wait 10\n", "line 1: unknown command 'wait'"},
                    FaultCase{"audio\n", "line 1: expected 'audio FILE'"},
                    FaultCase{"audio a.wav b.wav\n", "line 1: expected 'audio FILE'"},
                    FaultCase{"at 10 lose-sound-buffers now\n",
                              "line 1: unknown event 'lose-sound-buffers'"},
                    FaultCase{"at 10 memory now\n", "line 1: unknown event 'memory'"}),
    [](const auto& info) { return NameFromText(info.param.text); });

TEST(ScriptTest, ReadsTheSoundLines) {
    Script script;
    std::string error;
    ASSERT_TRUE(ParseScript("audio run.wav\nat 30 lose-sound-buffers\nfail LockSoundBuffer\n",
                            script, error))
        << error;
    EXPECT_EQ(script.audioFile, "run.wav");
    ASSERT_EQ(script.events.size(), 1u);
    EXPECT_EQ(script.events[0].kind, ScriptEventKind::LoseSoundBuffers);
    EXPECT_EQ(script.events[0].time, 30u);
    ASSERT_EQ(script.faults.size(), 1u);
}

TEST(ScriptTest, ReadsTheMemoryLine) {
    Script script;
    std::string error;
    ASSERT_TRUE(ParseScript("at 14000 memory\n", script, error)) << error;
    ASSERT_EQ(script.events.size(), 1u);
    EXPECT_EQ(script.events[0].kind, ScriptEventKind::Memory);
    EXPECT_EQ(script.events[0].time, 14000u);
}

}  // namespace
