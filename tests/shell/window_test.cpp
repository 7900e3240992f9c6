// The window and its procedure, run in-process on the scripted host: the class and window
// the program creates, where it puts the window, and what each message does to the shell's
// values. Every test starts from reset records, so they may run in any order.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>

#include "display/display_device.h"
#include "display/display_state.h"
#include "game/game_state.h"
#include "platform/core/window_state.h"
#include "platform/ddraw/platform_reset.h"
#include "platform/scripted/scripted_host.h"
#include "shell/keyboard.h"
#include "shell/shell_state.h"
#include "shell/window_procedure.h"
#include "tests/case_names.h"
#include "sound/music.h"
#include "sound/sound_effects.h"
#include "typing/typing_records.h"

namespace {

class WindowTest : public testing::Test {
protected:
    void SetUp() override {
        folder_ = std::filesystem::temp_directory_path() /
                  ("parrun-window-test-" + std::to_string(::getpid()));
        std::filesystem::create_directories(folder_);
        previous_ = std::filesystem::current_path();
        std::filesystem::current_path(folder_);
        std::ofstream("drel.txt") << "[drel]a dabe\n[normal]b dayo\n";
        // The display loads the game's pictures, and the sound its effects, at window creation.
        for (const char* folder : {"images", "se"}) {
            std::filesystem::copy(std::filesystem::path(PARRUN_DATA_DIR) / folder, folder_ / folder,
                                  std::filesystem::copy_options::recursive |
                                      std::filesystem::copy_options::overwrite_existing);
        }
        ResetAll();
    }
    void TearDown() override {
        ReleaseEverything();
        std::filesystem::current_path(previous_);
        std::filesystem::remove_all(folder_);
        platform::SetHost(nullptr);
    }
    // A run stopped by the script's end never ran the shutdown sequence: what it started is
    // released here, as the shutdown would.
    static void ReleaseEverything() {
        ReleaseDisplay();
        ReleaseSoundEffects();
        ReleaseMusic();
    }
    static void ResetAll() {
        ReleaseEverything();
        ResetShellState();
        ResetGameState();
        ResetKeyboard();
        ResetTypingRecords();
        platform::ResetWindowState();
        ResetDisplayState();
        platform::ResetDisplayPlatform();
    }
    // Runs the program until the script's end; the host stays for inspection and further
    // calls until the test ends.
    platform::ScriptedHost* Run(const std::string& scriptText) {
        platform::Script script;
        std::string error;
        EXPECT_TRUE(platform::ParseScript(scriptText, script, error)) << error;
        host_ = std::make_unique<platform::ScriptedHost>(script, nullptr);
        platform::SetHost(host_.get());
        try {
            WinMain(GetModuleHandleA(nullptr), nullptr, const_cast<LPSTR>(""), SW_SHOWDEFAULT);
        } catch (const platform::RunEnded&) {
        }
        return host_.get();
    }

    std::filesystem::path folder_, previous_;
    std::unique_ptr<platform::ScriptedHost> host_;
};

TEST_F(WindowTest, CreatesItsClassAndCentredWindowAgainAfterReset) {
    for (int run = 0; run < 2; ++run) {
        if (run == 1) ResetAll();
        auto host = Run("end 20\n");
        const auto& state = platform::Windows();
        ASSERT_EQ(state.classes.size(), 1u) << "run " << run;
        EXPECT_EQ(state.classes[0].name, "edit01");
        EXPECT_EQ(state.classes[0].wndClass.style, static_cast<UINT>(CS_HREDRAW | CS_VREDRAW));
        ASSERT_EQ(state.windows.size(), 1u);
        EXPECT_EQ(state.windows[0].style, 0x80C80000u);
        // 480 x 320 client area in a dialog frame with a caption, centred on 1024 x 768.
        RECT outer = state.windows[0].outer;
        EXPECT_EQ(outer.right - outer.left, 480 + 2 * 3);
        EXPECT_EQ(outer.bottom - outer.top, 320 + 23 + 2 * 3);
        EXPECT_EQ(outer.left, (1024 - 486) >> 1);
        EXPECT_EQ(outer.top, (768 - 349) >> 1);
        EXPECT_EQ(host->WindowTitle(), "Parrun");
        EXPECT_EQ(shell.windowActive, 1u);
        EXPECT_TRUE(shell.windowRestored);
        EXPECT_EQ(game.phraseCount, 1);
    }
}

struct MessageCase {
    const char* name;
    UINT message;
    WPARAM wParam;
    uint32_t active;
    bool restored;
    bool dirty;
};

class WindowMessageTest : public WindowTest, public testing::WithParamInterface<MessageCase> {};

TEST_P(WindowMessageTest, SetsTheShellsValues) {
    Run("end 0\n");
    const MessageCase& c = GetParam();
    shell.screenDirty = shell.phraseDirty = false;
    shell.windowActive = 7;
    shell.windowRestored = false;
    MainWindowProcedure(shell.mainWindow, c.message, c.wParam, MAKELPARAM(10, 20));
    bool activation = c.message == WM_ACTIVATE;
    EXPECT_EQ(shell.windowActive, activation ? c.active : 7u);
    EXPECT_EQ(shell.windowRestored, activation ? c.restored : false);
    EXPECT_EQ(shell.screenDirty, c.dirty);
    EXPECT_EQ(shell.phraseDirty, c.dirty);
    EXPECT_TRUE(IsWindow(shell.mainWindow));
}

INSTANTIATE_TEST_SUITE_P(
    Messages, WindowMessageTest,
    testing::Values(
        MessageCase{"Active", WM_ACTIVATE, MAKEWPARAM(WA_ACTIVE, 0), 1, true, false},
        MessageCase{"Click", WM_ACTIVATE, MAKEWPARAM(WA_CLICKACTIVE, 0), 2, true, false},
        MessageCase{"Inactive", WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, 0), 0, true, false},
        MessageCase{"Minimised", WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, 1), 0, false, false},
        MessageCase{"ActiveWhileMinimised", WM_ACTIVATE, MAKEWPARAM(WA_ACTIVE, 1), 1, false, false},
        MessageCase{"Move", WM_MOVE, 0, 0, false, true},
        MessageCase{"AppActivated", WM_ACTIVATEAPP, TRUE, 0, false, true},
        MessageCase{"AppDeactivated", WM_ACTIVATEAPP, FALSE, 0, false, true},
        MessageCase{"OtherKey", WM_KEYDOWN, VK_RETURN, 0, false, false}),
    CaseName());

TEST_F(WindowTest, EscapeDestroysTheWindowAndPostsQuit) {
    Run("end 0\n");
    MainWindowProcedure(shell.mainWindow, WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_FALSE(IsWindow(shell.mainWindow));
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
    EXPECT_EQ(msg.wParam, 0u);
}

}  // namespace
