// The scripted host's side of the display: shots written from the first picture shown at or
// after their time, full-screen pictures through their palette, the display lines it logs, and
// its look at both pages of the flip chain.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "platform/core/host.h"
#include "platform/ddraw/ddraw_objects.h"
#include "platform/scripted/png_file.h"
#include "platform/scripted/script.h"
#include "platform/scripted/scripted_host.h"
#include "tests/platform/ddraw_fixture.h"

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
        {"busy-after-flip 16", true},
        {"busy-after-flip", false},
        {"busy-after-flip -1", false},
        {"at 5 pages", true},
        {"at 5 pages frame", true},
        {"at 5 pages play", false},
        {"at 5 shot-back back.png", true},
        {"at 5 shot-back", false},
    };
    for (const auto& c : cases) {
        platform::Script script;
        std::string error;
        EXPECT_EQ(platform::ParseScript(c.line, script, error), c.accepted)
            << c.line << ": " << error;
    }
}

using ScriptedPages = DirectDraw;

TEST_F(ScriptedPages, ThePagesLineTellsWhetherBothPagesHoldTheSamePicture) {
    auto folder = std::filesystem::temp_directory_path() / "parrun-scripted-pages-test";
    std::filesystem::create_directories(folder);
    std::string backShot = (folder / "back.png").string();
    platform::Script script;
    std::string error;
    ASSERT_TRUE(
        platform::ParseScript("at 1 pages\n"
                              "at 2 pages\nat 2 pages frame\n"
                              "at 3 pages\nat 3 pages frame\nat 3 shot-back " +
                                  backShot +
                                  "\n"
                                  "at 4 pages\nat 4 shot-back " +
                                  backShot + "\n",
                              script, error))
        << error;
    host = std::make_unique<platform::ScriptedHost>(std::move(script), nullptr);
    platform::SetHost(host.get());
    auto pagesAt = [this](uint32_t time) {
        host->Sleep(1);
        host->PumpEvents();
        std::vector<std::string> lines;
        for (const auto& line : host->LogLines()) {
            if (line.rfind(std::to_string(time) + " pages", 0) == 0 ||
                line.rfind(std::to_string(time) + " shot-back", 0) == 0) {
                lines.push_back(line);
            }
        }
        return lines;
    };
    // Windowed: there is one page.
    ASSERT_EQ(dd->SetCooperativeLevel(window, DDSCL_NORMAL), DD_OK);
    EXPECT_EQ(pagesAt(1), (std::vector<std::string>{"1 pages none"}));

    IDirectDrawSurface7* back = nullptr;
    IDirectDrawSurface7* front = FlipChain(&back);
    PALETTEENTRY entries[256] = {};
    entries[1] = {255, 0, 0, 0};
    entries[2] = {0, 255, 0, 0};
    IDirectDrawPalette* palette = nullptr;
    ASSERT_EQ(dd->CreatePalette(DDPCAPS_8BIT, entries, &palette, nullptr), DD_OK);
    ASSERT_EQ(front->SetPalette(palette), DD_OK);
    Fill(back, 1);
    ASSERT_EQ(front->Flip(nullptr, 0), DD_OK);
    Fill(back, 1);
    // A mark in the border differs only in the whole frame.
    DDBLTFX fx = {};
    fx.dwSize = sizeof fx;
    fx.dwFillColor = 2;
    RECT border = {0, 0, 10, 10};
    ASSERT_EQ(back->Blt(&border, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &fx), DD_OK);
    EXPECT_EQ(pagesAt(2), (std::vector<std::string>{"2 pages same", "2 pages frame differ 100"}));
    RECT play = {80, 80, 100, 85};
    ASSERT_EQ(back->Blt(&play, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &fx), DD_OK);
    EXPECT_EQ(pagesAt(3),
              (std::vector<std::string>{"3 pages differ 100", "3 pages frame differ 200"}));
    std::vector<uint32_t> pixels;
    int width = 0, height = 0;
    ASSERT_TRUE(platform::ReadPng(backShot, pixels, width, height));
    EXPECT_EQ(width, 640);
    EXPECT_EQ(pixels.at(0), 0x00FF00u);
    EXPECT_EQ(pixels.at(80 * 640 + 80), 0x00FF00u);
    EXPECT_EQ(pixels.at(79 * 640 + 80), 0xFF0000u);

    platform::LoseAllSurfaces();
    EXPECT_EQ(pagesAt(4), (std::vector<std::string>{"4 pages lost", "4 shot-back lost"}));
    palette->Release();
    front->Release();
    std::filesystem::remove_all(folder);
}

}  // namespace
