#include "tests/display/display_fixture.h"

#include <fstream>

#include "display/display_device.h"
#include "display/display_state.h"
#include "platform/core/host.h"
#include "platform/core/window_state.h"
#include "platform/ddraw/platform_reset.h"
#include "platform/scripted/script.h"
#include "shell/shell_state.h"
#include "tests/platform/bmp_builder.h"

namespace {

struct TestImage {
    const char* path;
    int width;
    int height;
};

constexpr TestImage kTestImages[] = {
    {"images/zubi1-1.bmp", 96, 144},    {"images/yama1-1.bmp", 96, 144},
    {"images/parts1-2.bmp", 160, 48},   {"images/back1-1.bmp", 224, 128},
    {"images/bar1-1.bmp", 208, 16},     {"images/words1-1.bmp", 208, 528},
    {"images/title1-1.bmp", 224, 224},  {"images/hisco1-1.bmp", 128, 160},
    {"images/win1-1.bmp", 320, 96},     {"images/win1-2.bmp", 320, 96},
    {"images/timewin1-1.bmp", 240, 48}, {"images/timewin1-2.bmp", 176, 48},
};

}  // namespace

int TestImagePixel(int x, int y, int width, int height) {
    if (x == 0 || y == 0 || x == width - 1 || y == height - 1) return 1;
    int dx = 2 * x - width, dy = 2 * y - height;
    int radius = std::min(width, height) / 3;
    if (dx * dx + dy * dy < 4 * radius * radius) return 0;
    return ((x + y) / 8) % 3 == 0 ? 2 : ((x + y) / 8) % 3 == 1 ? 3 : 4;
}

void ResetEverything() {
    platform::ResetWindowState();
    platform::ResetDisplayPlatform();
    ResetDisplayState();
    ResetShellState();
}

void DisplayFixture::SetUp() {
    ResetEverything();
    previousFolder = std::filesystem::current_path();
    folder =
        std::filesystem::temp_directory_path() /
        ("parrun-display-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
         "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder / "images");
    std::filesystem::current_path(folder);
    for (const auto& image : kTestImages) {
        int w = image.width, h = image.height;
        WriteFile(image.path,
                  testbmp::Indexed(w, h, {kTestKey, kTestInk, kTestRed, kTestCream, kTestLime},
                                   [w, h](int x, int y) { return TestImagePixel(x, y, w, h); }));
    }
}

void DisplayFixture::TearDown() {
    ReleaseDisplay();
    platform::SetHost(nullptr);
    ResetEverything();
    std::filesystem::current_path(previousFolder);
    std::filesystem::remove_all(folder);
}

void DisplayFixture::WriteFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(folder / path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

namespace {
LRESULT CALLBACK TestWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(window, message, wParam, lParam);
}
}  // namespace

void DisplayFixture::StartHost(const std::string& scriptText) {
    platform::Script script;
    std::string error;
    ASSERT_TRUE(platform::ParseScript(scriptText, script, error)) << error;
    host = std::make_unique<platform::ScriptedHost>(std::move(script), nullptr);
    platform::SetHost(host.get());
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = TestWindowProcedure;
    windowClass.lpszClassName = "displaytest";
    RegisterClassA(&windowClass);
    int width = 480 + 2 * GetSystemMetrics(SM_CXDLGFRAME);
    int height = 320 + GetSystemMetrics(SM_CYCAPTION) + 2 * GetSystemMetrics(SM_CYDLGFRAME);
    window =
        CreateWindowExA(0, "displaytest", "Parrun", WS_POPUP | WS_CAPTION | WS_SYSMENU,
                        (host->DesktopWidth() - width) >> 1, (host->DesktopHeight() - height) >> 1,
                        width, height, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    ShowWindow(window, SW_SHOW);
    TrackClientRect(window);
}

uint32_t DisplayFixture::Shown(int x, int y) const {
    return host->Picture().at(static_cast<size_t>(y) * host->PictureWidth() + x);
}
