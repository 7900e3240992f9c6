// Whole screens drawn with the game's images: compared pixel for pixel with reference pictures
// a person has looked at and judged right, in each display mode, and full screen with window.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "display/drawing.h"
#include "tests/screens/scenes.h"
#include "tests/screens/screen_fixture.h"

namespace {

// The screens kept as reference pictures, the play screen with each of its three result marks.
const char* const kReferenceScenes[] = {
    "title",     "ready",   "ready-go", "play-good", "play-perfect", "play-many-misses",
    "game-over", "results", "rankings", "settings"};

// The play area of a picture the host showed: the whole of a windowed one, the middle of a
// full-screen one.
std::vector<uint32_t> PlayArea(const std::vector<uint32_t>& picture, int width) {
    if (width == 480) return picture;
    std::vector<uint32_t> area;
    for (int y = 80; y < 400; ++y) {
        area.insert(area.end(), picture.begin() + y * width + 80,
                    picture.begin() + y * width + 560);
    }
    return area;
}

class ScreenPictures : public ScreenFixture {
protected:
    std::vector<uint32_t> DrawAndShow(const Scene& scene) {
        scene.draw();
        EXPECT_EQ(PresentFrame(), DD_OK);
        return Shown();
    }
};

TEST_F(ScreenPictures, EachScreenInEachModeMatchesItsReference) {
    for (const ModeCase& mode : kModes) {
        StartIn(mode.mode);
        for (const char* name : kReferenceScenes) {
            SceneNamed(name).draw();
            ExpectReference(std::string(name) + "-" + mode.suffix);
        }
    }
}

TEST_F(ScreenPictures, FullScreenShowsTheWindowsPictureInABlackBorder) {
    StartIn(ScreenMode::Window32);
    const std::vector<uint32_t> windowed = DrawAndShow(SceneNamed("title"));
    StartIn(ScreenMode::FullScreen);
    const std::vector<uint32_t> full = DrawAndShow(SceneNamed("title"));
    ASSERT_EQ(host->PictureWidth(), 640);
    const std::vector<uint32_t> middle = PlayArea(full, 640);
    // The mode label is the one difference: 74 x 5 in a window, 50 x 5 in full screen.
    int differing = 0, inLabel = 0;
    for (int y = 0; y < 320; ++y) {
        for (int x = 0; x < 480; ++x) {
            size_t i = static_cast<size_t>(y) * 480 + x;
            if (windowed[i] == middle[i]) continue;
            bool label = x >= 362 && x < 362 + 74 && y >= 275 && y < 280;
            (label ? inLabel : differing) += 1;
        }
    }
    EXPECT_EQ(differing, 0) << "outside the mode label";
    EXPECT_GT(inLabel, 0) << "the two labels differ";
    int border = 0;
    for (int y = 0; y < 480; ++y) {
        for (int x = 0; x < 640; ++x) {
            bool play = x >= 80 && x < 560 && y >= 80 && y < 400;
            border += !play && full[static_cast<size_t>(y) * 640 + x] != 0;
        }
    }
    EXPECT_EQ(border, 0) << "pixels of the border that are not black";
}

}  // namespace
