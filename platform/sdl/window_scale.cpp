#include "platform/sdl/window_scale.h"

#include <algorithm>
#include <charconv>
#include <cstring>

namespace platform {
namespace {

// Room left around the client area for the window manager's frame and caption.
constexpr int kFrameRoomX = 16;
constexpr int kFrameRoomY = 64;

}  // namespace

int ChooseWindowScale(int clientWidth, int clientHeight, int usableWidth, int usableHeight) {
    if (clientWidth <= 0 || clientHeight <= 0) return 1;
    int across = (usableWidth - kFrameRoomX) / clientWidth;
    int down = (usableHeight - kFrameRoomY) / clientHeight;
    return std::clamp(std::min(across, down), 1, kLargestWindowScale);
}

bool ParseProgramOptions(int argc, const char* const* argv, ProgramOptions& options,
                         std::string& error) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--scale") != 0) {
            error = std::string("unknown option '") + argv[i] + "'";
            return false;
        }
        if (i + 1 >= argc) {
            error = "--scale needs a number from 1 to 8";
            return false;
        }
        const char* text = argv[++i];
        const char* end = text + std::strlen(text);
        int value = 0;
        auto [stop, problem] = std::from_chars(text, end, value);
        if (problem != std::errc() || stop != end || value < 1 || value > kLargestWindowScale) {
            error = std::string("--scale needs a number from 1 to 8, not '") + text + "'";
            return false;
        }
        options.scale = value;
    }
    return true;
}

}  // namespace platform
