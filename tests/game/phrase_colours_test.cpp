// The phrase text as the player sees it, in whole games on the scripted host: typed letters
// red, the expected letter orange after a wrong key until the right key comes, the rest black.
#include <windows.h>

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "display/display_state.h"
#include "game/game_state.h"
#include "game/play_state.h"
#include "platform/core/window_state.h"
#include "platform/ddraw/platform_reset.h"
#include "platform/scripted/scripted_host.h"
#include "shell/keyboard.h"
#include "shell/shell_state.h"
#include "sound/music.h"
#include "sound/sound_effects.h"
#include "tests/case_names.h"
#include "typing/typing_records.h"

namespace {

constexpr uint32_t kRed = 0xFF0000;
constexpr uint32_t kOrange = 0xFFA400;
constexpr uint32_t kBlack = 0x000000;

// The game starts with Enter at 100 and 496 and plays from 1504 (frames every 16 ms); the
// phrase is drawn at 1520. Romaji "dabe": d right at 1600, x wrong at 1616, a right at 1632.
constexpr char kScript[] =
    "at 100 press RETURN\nat 120 release RETURN\nat 496 press RETURN\nat 520 release RETURN\n"
    "at 1600 press D\nat 1608 release D\nat 1616 press X\nat 1624 release X\n"
    "at 1632 press A\nat 1640 release A\n";

// Where each colour shows on the dialect romaji's row, (144, 90) to (432, 112).
struct RowColours {
    int redCount = 0, orangeCount = 0, blackCount = 0;
    int redRight = -1, orangeLeft = 480, orangeRight = -1, blackRight = -1;
};

struct ColourCase {
    const char* name;
    int end;
    bool red, orange;
};

class PhraseColoursTest : public testing::TestWithParam<ColourCase> {
protected:
    void SetUp() override {
        folder_ = std::filesystem::temp_directory_path() /
                  ("parrun-colours-test-" + std::to_string(::getpid()));
        std::filesystem::create_directories(folder_);
        previous_ = std::filesystem::current_path();
        std::filesystem::current_path(folder_);
        // The game folder a player gets, with a phrase file of one phrase:
        // "[drel]だべ dabe" and "[normal]だよ dayo" in Shift-JIS.
        std::filesystem::copy(PARRUN_DATA_DIR, folder_,
                              std::filesystem::copy_options::recursive |
                                  std::filesystem::copy_options::overwrite_existing);
        std::ofstream("drel.txt", std::ios::binary | std::ios::trunc)
            << "[drel]\x82\xbe\x82\xd7 dabe\n[normal]\x82\xbe\x82\xe6 dayo\n";
        ResetShellState();
        ResetGameState();
        ResetPlayState();
        ResetKeyboard();
        ResetTypingRecords();
        platform::ResetWindowState();
        ResetDisplayState();
        platform::ResetDisplayPlatform();
    }
    void TearDown() override {
        // A run stopped by the script's end never ran the shutdown sequence: what it started is
        // released here, as the shutdown would.
        ReleaseSoundEffects();
        ReleaseMusic();
        std::filesystem::current_path(previous_);
        std::filesystem::remove_all(folder_);
        platform::SetHost(nullptr);
    }
    // Plays the script up to `end` and reads the romaji row of the last picture shown.
    RowColours PlayUntil(int end) {
        platform::Script script;
        std::string error;
        std::string text = std::string(kScript) + "end " + std::to_string(end) + "\n";
        EXPECT_TRUE(platform::ParseScript(text, script, error)) << error;
        host_ = std::make_unique<platform::ScriptedHost>(script, nullptr);
        platform::SetHost(host_.get());
        try {
            WinMain(GetModuleHandleA(nullptr), nullptr, const_cast<LPSTR>(""), SW_SHOWDEFAULT);
        } catch (const platform::RunEnded&) {
        }
        RowColours row;
        if (host_->PictureWidth() != 480 || host_->PictureHeight() != 320) {
            ADD_FAILURE() << "no game picture";
            return row;
        }
        for (int y = 90; y < 112; ++y) {
            for (int x = 144; x < 432; ++x) {
                uint32_t pixel = host_->Picture().at(static_cast<size_t>(y) * 480 + x);
                if (pixel == kRed) {
                    ++row.redCount;
                    row.redRight = std::max(row.redRight, x);
                } else if (pixel == kOrange) {
                    ++row.orangeCount;
                    row.orangeLeft = std::min(row.orangeLeft, x);
                    row.orangeRight = std::max(row.orangeRight, x);
                } else if (pixel == kBlack) {
                    ++row.blackCount;
                    row.blackRight = std::max(row.blackRight, x);
                }
            }
        }
        return row;
    }

    std::filesystem::path folder_, previous_;
    std::unique_ptr<platform::ScriptedHost> host_;
};

TEST_P(PhraseColoursTest, ShowsTheTypedLettersInTheirColours) {
    const ColourCase& c = GetParam();
    RowColours row = PlayUntil(c.end);
    EXPECT_EQ(row.redCount > 0, c.red);
    EXPECT_EQ(row.orangeCount > 0, c.orange);
    // Untyped letters stay black, to the right of everything typed or marked.
    ASSERT_GT(row.blackCount, 0);
    EXPECT_GT(row.blackRight, std::max(row.redRight, row.orangeRight));
    if (c.red && c.orange) {
        // The mark stands on the letter after the typed ones.
        EXPECT_LT(row.redRight, row.orangeLeft);
    }
}

INSTANTIATE_TEST_SUITE_P(Keys, PhraseColoursTest,
                         testing::Values(ColourCase{"Untyped", 1580, false, false},
                                         ColourCase{"OneRightKey", 1610, true, false},
                                         ColourCase{"ThenAWrongKey", 1626, true, true},
                                         ColourCase{"ThenTheRightKey", 1642, true, false}),
                         CaseName());

}  // namespace
