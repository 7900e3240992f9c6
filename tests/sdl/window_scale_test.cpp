// The window's scale: the largest that fits the desktop's usable area, and the option that
// fixes it.
#include "platform/sdl/window_scale.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(WindowScale, LargestWholeScaleThatFitsWithRoomForTheFrame) {
    struct Case {
        int usableWidth, usableHeight, scale;
    };
    const Case cases[] = {
        {1920, 1040, 3},   // a 1080p screen with a panel: 1440 x 960
        {3840, 2112, 6},   // 4K with a panel: height decides
        {1024, 768, 2},    //
        {1024, 703, 1},    // 640 + 64 does not fit in 703
        {1455, 1080, 2},   // 1440 + 16 does not fit in 1455
        {800, 600, 1},     //
        {320, 200, 1},     // smaller than the window: still 1
        {15360, 8640, 8},  // never above 8
    };
    for (const Case& c : cases) {
        EXPECT_EQ(platform::ChooseWindowScale(480, 320, c.usableWidth, c.usableHeight), c.scale)
            << c.usableWidth << " x " << c.usableHeight;
    }
}

TEST(WindowScale, OptionsTakeAScaleFromOneToEight) {
    struct Case {
        std::vector<const char*> args;
        bool ok;
        int scale;
    };
    const Case cases[] = {
        {{"parrun"}, true, 0},
        {{"parrun", "--scale", "1"}, true, 1},
        {{"parrun", "--scale", "8"}, true, 8},
        {{"parrun", "--scale", "0"}, false, 0},
        {{"parrun", "--scale", "9"}, false, 0},
        {{"parrun", "--scale", "2x"}, false, 0},
        {{"parrun", "--scale", ""}, false, 0},
        {{"parrun", "--scale"}, false, 0},
        {{"parrun", "--full"}, false, 0},
    };
    for (const Case& c : cases) {
        platform::ProgramOptions options;
        std::string error;
        bool ok = platform::ParseProgramOptions(static_cast<int>(c.args.size()), c.args.data(),
                                                options, error);
        EXPECT_EQ(ok, c.ok) << c.args.size();
        EXPECT_EQ(ok, error.empty());
        if (ok) {
            EXPECT_EQ(options.scale, c.scale);
        }
    }
}

}  // namespace
