// Where the full-screen picture goes, the SDL host's settings file and volume steps, and the
// keys it reports.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include <windows.h>

#include "platform/core/key_names.h"
#include "platform/sdl/fullscreen_layout.h"
#include "platform/sdl/sdl_host.h"
#include "platform/sdl/settings_file.h"
#include "tests/typing/scratch_folder.h"

namespace {

using platform::FullScreenLayout;
using platform::HostSettings;

TEST(FullScreenLayout, PlayAreaAloneUnlessTheBorderIsDrawnEachAtTheLargestWholeScale) {
    struct Case {
        int frameWidth, frameHeight, screenWidth, screenHeight;
        bool wholeFrame;
        FullScreenLayout expected;
    };
    const Case cases[] = {
        // 1080p: the play area 3 times (the whole frame would be only 2 times).
        {640, 480, 1920, 1080, false, {{80, 80, 480, 320}, {240, 60, 1440, 960}}},
        {640, 480, 1920, 1080, true, {{0, 0, 640, 480}, {320, 60, 1280, 960}}},
        // Twice on 1280 x 960 the play area lands where the doubled frame would put it.
        {640, 480, 1280, 960, false, {{80, 80, 480, 320}, {160, 160, 960, 640}}},
        {640, 480, 3840, 2160, false, {{80, 80, 480, 320}, {480, 120, 2880, 1920}}},
        {640, 480, 1366, 768, false, {{80, 80, 480, 320}, {203, 64, 960, 640}}},
        {640, 480, 1366, 768, true, {{0, 0, 640, 480}, {363, 144, 640, 480}}},
        // A screen smaller than the play area: once, centred, cut at the edges.
        {640, 480, 400, 300, false, {{80, 80, 480, 320}, {-40, -10, 480, 320}}},
        // The window's 480 x 320 picture, before the first full-screen one: shown whole.
        {480, 320, 1920, 1080, false, {{0, 0, 480, 320}, {240, 60, 1440, 960}}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(platform::ChooseFullScreenLayout(c.frameWidth, c.frameHeight, c.screenWidth,
                                                   c.screenHeight, c.wholeFrame),
                  c.expected)
            << c.screenWidth << " x " << c.screenHeight << (c.wholeFrame ? " whole" : "");
    }
}

TEST(FullScreenLayout, AnyColouredPixelOutsideThePlayAreaIsDrawnBorder) {
    struct Case {
        int x, y;
        uint32_t colour;
        bool black;
    };
    const Case cases[] = {
        {80, 80, 0xFFFFFF, true},     // the play area's corners
        {559, 399, 0x010203, true},   //
        {79, 80, 0x000001, false},    // just left, right, above and below it
        {560, 399, 0x010000, false},  //
        {80, 79, 0x000100, false},    //
        {559, 400, 0xFFFFFF, false},  //
        {0, 0, 0xFF000000, true},     // only the colour counts
        {639, 479, 0x808080, false},
    };
    for (const Case& c : cases) {
        std::vector<uint32_t> frame(640 * 480, 0);
        frame[static_cast<size_t>(c.y) * 640 + c.x] = c.colour;
        EXPECT_EQ(platform::BorderIsBlack(frame.data(), 640, 480), c.black) << c.x << ", " << c.y;
    }
}

TEST(HostSettings, EachValueThatCannotBeReadKeepsItsDefault) {
    struct Case {
        std::string text;
        HostSettings expected;
    };
    const Case cases[] = {
        {"", {}},
        {"volume-db=-6\nmuted=1\nscale=3\n", {-6, true, 3}},
        {"scale=2\r\nvolume-db=-30\r\n", {-30, false, 2}},
        {"volume-db=-33\nmuted=2\nscale=9\n", {}},  // out of range
        {"volume-db=3\nscale=-1\n", {}},
        {"volume-db=-6dB\nscale=\nmuted\n", {}},
        {"volume-db=-12\ngarbage\x01\xff=\nscale=04\n", {-12, false, 4}},
        {std::string("\x89PNG\r\n\x1a\n\0\0volume-db=-9\n", 23), {}},  // not ours at all
    };
    for (const Case& c : cases) {
        EXPECT_EQ(platform::ParseHostSettings(c.text), c.expected) << c.text;
    }
}

class HostSettingsFile : public ScratchFolderTest {};

TEST_F(HostSettingsFile, MissingGivesDefaultsAndSavedSettingsComeBackIntoANewFolder) {
    std::string path = (Folder() / "config" / "parrun" / "settings").string();
    EXPECT_EQ(platform::LoadHostSettings(path), HostSettings{});
    HostSettings settings{-9, true, 2};
    ASSERT_TRUE(platform::SaveHostSettings(path, settings));
    EXPECT_EQ(platform::LoadHostSettings(path), settings);
    EXPECT_FALSE(std::filesystem::exists(path + ".new"));
    // A file far larger than any settings file is not one.
    WriteFileForTest(path, std::string(10000, '\n') + "volume-db=-3\n");
    EXPECT_EQ(platform::LoadHostSettings(path), HostSettings{});
}

TEST(HostVolume, KeysStepBetweenTheBoundsAndMuteKeepsTheLevel) {
    struct Case {
        HostSettings before;
        int key;
        HostSettings after;
        std::string said;
    };
    const Case cases[] = {
        {{0, false, 0}, 7, {-3, false, 0}, "volume: -3 dB"},
        {{-30, false, 0}, 7, {-30, false, 0}, "volume: -30 dB"},
        {{0, false, 0}, 8, {0, false, 0}, "volume: 0 dB"},
        {{-6, false, 2}, 6, {-6, true, 2}, "volume: muted"},
        {{-6, true, 0}, 6, {-6, false, 0}, "volume: -6 dB"},
        {{-6, true, 0}, 8, {-3, false, 0}, "volume: -3 dB"},
    };
    for (const Case& c : cases) {
        HostSettings after = platform::ChangeVolume(c.before, c.key);
        EXPECT_EQ(after, c.after) << c.said;
        EXPECT_EQ(platform::DescribeVolume(after), c.said);
    }
    EXPECT_NEAR(platform::VolumeGain({-6, false, 0}), 0.501f, 0.001f);
    EXPECT_EQ(platform::VolumeGain({0, true, 0}), 0.0f);
}

// Every key that scripts and recordings name is one a player can press, and comes back as
// itself; minus, like the letters, goes through the keyboard layout, which needs a display.
TEST(SdlHostKeys, EveryNamedKeyHasAPlaceOnTheKeyboard) {
    for (const platform::KeyName& key : platform::NamedKeys()) {
        if (key.virtualKey == VK_OEM_MINUS) continue;
        SDL_Keysym pressed{};
        pressed.scancode = platform::ScancodeForVirtualKey(key.virtualKey);
        EXPECT_NE(pressed.scancode, SDL_SCANCODE_UNKNOWN) << key.name;
        EXPECT_EQ(platform::VirtualKeyForKey(pressed), key.virtualKey) << key.name;
    }
}

}  // namespace
