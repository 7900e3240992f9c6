#include "tests/screens/screen_fixture.h"

#include <filesystem>

#include "display/display_device.h"
#include "display/drawing.h"
#include "display/image_assets.h"
#include "platform/core/host.h"
#include "platform/scripted/png_file.h"

void ScreenFixture::SetUp() {
    DisplayFixture::SetUp();
    std::filesystem::copy(PARRUN_DATA_DIR "/images", folder / "images",
                          std::filesystem::copy_options::overwrite_existing |
                              std::filesystem::copy_options::recursive);
}

void ScreenFixture::StartIn(ScreenMode mode) {
    if (host) {
        ReleaseDisplay();
        platform::SetHost(nullptr);
        host.reset();
        ResetEverything();
    }
    StartHost(mode == ScreenMode::Window16 ? "desktop 16" : "desktop 32");
    ASSERT_EQ(StartDisplay(window), 1);
    if (mode == ScreenMode::FullScreen) {
        ASSERT_EQ(ToggleDisplayMode(window), 1);
    }
}

std::vector<uint32_t> ScreenFixture::Shown() const {
    return host->Picture();
}

std::vector<uint32_t> ReadPicture(const std::string& path, int& width, int& height) {
    std::vector<uint32_t> pixels;
    if (!platform::ReadPng(path, pixels, width, height)) pixels.clear();
    return pixels;
}

void ScreenFixture::ExpectReference(const std::string& name) {
    ASSERT_EQ(PresentFrame(), DD_OK);
    const auto& picture = host->Picture();
    ASSERT_FALSE(picture.empty());
    std::filesystem::path actualDir = PARRUN_SCREENS_ACTUAL_DIR;
    std::filesystem::create_directories(actualDir);
    std::string actual = (actualDir / (name + ".png")).string();
    std::string reference = std::string(PARRUN_SCREENS_REFERENCE_DIR) + "/" + name + ".png";
    int width = 0, height = 0;
    std::vector<uint32_t> expected = ReadPicture(reference, width, height);
    size_t differing = picture.size();
    if (width == host->PictureWidth() && height == host->PictureHeight()) {
        differing = 0;
        for (size_t i = 0; i < expected.size(); ++i) differing += expected[i] != picture[i];
    }
    if (differing != 0 || expected.empty()) {
        ASSERT_TRUE(platform::WritePng(actual, picture.data(), host->PictureWidth(),
                                       host->PictureHeight()));
    }
    ASSERT_FALSE(expected.empty())
        << "no reference " << reference << "; look at " << actual
        << "; after looking, scripts/refresh-pictures.sh takes every reference again";
    EXPECT_EQ(differing, 0u)
        << name << " differs from " << reference << "; look at " << actual
        << "; after looking, scripts/refresh-pictures.sh takes every reference again";
}
