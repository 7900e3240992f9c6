// The screens on the scripted host with the game's own images, in each display mode, and the
// comparison of a shown picture with a reference picture kept in the repository.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tests/display/display_fixture.h"

enum class ScreenMode { Window32, Window16, FullScreen };

struct ModeCase {
    ScreenMode mode;
    const char* suffix;  // of the reference pictures' names
};
constexpr ModeCase kModes[] = {
    {ScreenMode::Window32, "window32"},
    {ScreenMode::Window16, "window16"},
    {ScreenMode::FullScreen, "fullscreen"},
};

// The windowed 32-bit values of the screens' colours.
constexpr uint32_t kCreamValue = 0xFFFFC4;
constexpr uint32_t kWhiteValue = 0xFFFFFF;
constexpr uint32_t kGreyValue = 0x808080;
constexpr uint32_t kVermilionValue = 0xE86A46;

class ScreenFixture : public DisplayFixture {
protected:
    // The game folder with the images of data/images in place of the test images.
    void SetUp() override;
    // A fresh host and display in the mode (any earlier one released first).
    void StartIn(ScreenMode mode);
    // Presents the frame and compares what the player sees with reference/NAME.png; a
    // difference leaves the picture in the build folder and says where.
    void ExpectReference(const std::string& name);
    // The picture the player sees now.
    std::vector<uint32_t> Shown() const;
};

// Reads a picture; an empty vector when it can't.
std::vector<uint32_t> ReadPicture(const std::string& path, int& width, int& height);
