// The scripted host's side of the display: shots written from the first picture shown at or
// after their time, full-screen pictures through their palette, and the display lines it logs.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "platform/core/host.h"
#include "platform/scripted/png_file.h"
#include "platform/scripted/script.h"
#include "platform/scripted/scripted_host.h"

namespace {

TEST(ScriptedDisplay, AShotTakesTheFirstPictureShownAtOrAfterItsTime) {
    auto folder = std::filesystem::temp_directory_path() / "parrun-scripted-display-test";
    std::filesystem::create_directories(folder);
    std::string early = (folder / "early.png").string(), late = (folder / "late.png").string();
    platform::Script script;
    std::string error;
    ASSERT_TRUE(
        platform::ParseScript("at 0 shot " + early + "\nat 10 shot " + late + "\n", script, error))
        << error;
    platform::ScriptedHost host(std::move(script), nullptr);
    const uint32_t window[2] = {0x112233, 0x445566};
    host.ShowWindowPicture(window, 2, 1);
    host.Sleep(10);
    const uint8_t indices[3] = {2, 1, 0};
    const uint32_t palette[256] = {0xAA0000, 0x00BB00, 0x0000CC};
    host.EnterFullScreen(3, 1, 8);
    host.ShowFullScreenPicture(indices, 3, 1, palette);

    std::vector<uint32_t> pixels;
    int width = 0, height = 0;
    ASSERT_TRUE(platform::ReadPng(early, pixels, width, height));
    EXPECT_EQ(pixels, (std::vector<uint32_t>{0x112233, 0x445566}));
    ASSERT_TRUE(platform::ReadPng(late, pixels, width, height));
    EXPECT_EQ(pixels, (std::vector<uint32_t>{0x0000CC, 0x00BB00, 0xAA0000}));
    EXPECT_EQ(host.PicturesShown(), 2);
    EXPECT_EQ(host.LogLines(),
              (std::vector<std::string>{"0 present window", "10 display fullscreen 3x1x8",
                                        "10 present fullscreen"}));
    std::filesystem::remove_all(folder);
}

TEST(ScriptedDisplay, ScriptLinesForTheDisplayAreChecked) {
    struct Case {
        const char* line;
        bool accepted;
    };
    const Case cases[] = {
        {"desktop 15", true},
        {"desktop 24", false},
        {"at 5 lose-surfaces", true},
        {"at 5 lose-surfaces now", false},
        {"resource BITMAP MYPALLET 28 00 00 00", true},
        {"resource BITMAP MYPALLET 2", false},
        {"resource BITMAP MYPALLET zz", false},
        {"resource 14 MYICON none", true},
        {"resource FONT X none", false},
        {"resource BITMAP MYPALLET unloadable", true},
        {"fail CreateSurface", true},
        {"fail CreateSurface after 2", true},
        {"fail CreateSurface after -1", false},
        {"fail Nothing", false},
    };
    for (const auto& c : cases) {
        platform::Script script;
        std::string error;
        EXPECT_EQ(platform::ParseScript(c.line, script, error), c.accepted)
            << c.line << ": " << error;
    }
}

}  // namespace
