#include "platform/sdl/fullscreen_layout.h"

#include <algorithm>

namespace platform {

bool BorderIsBlack(const uint32_t* pixels, int width, int height) {
    for (int y = 0; y < height; ++y) {
        const uint32_t* row = pixels + static_cast<size_t>(y) * width;
        bool inPlayRows = y >= kPlayArea.y && y < kPlayArea.y + kPlayArea.height;
        for (int x = 0; x < width; ++x) {
            if (inPlayRows && x == kPlayArea.x) {
                x = kPlayArea.x + kPlayArea.width - 1;
                continue;
            }
            if ((row[x] & 0xFFFFFF) != 0) return false;
        }
    }
    return true;
}

FullScreenLayout ChooseFullScreenLayout(int frameWidth, int frameHeight, int screenWidth,
                                        int screenHeight, bool wholeFrame) {
    FullScreenLayout layout;
    // A frame too small to hold the play area is shown whole.
    if (wholeFrame || frameWidth < kPlayArea.x + kPlayArea.width ||
        frameHeight < kPlayArea.y + kPlayArea.height) {
        layout.source = {0, 0, frameWidth, frameHeight};
    } else {
        layout.source = kPlayArea;
    }
    int scale = 1;
    if (layout.source.width > 0 && layout.source.height > 0) {
        scale = std::max(
            std::min(screenWidth / layout.source.width, screenHeight / layout.source.height), 1);
    }
    layout.screen.width = layout.source.width * scale;
    layout.screen.height = layout.source.height * scale;
    layout.screen.x = (screenWidth - layout.screen.width) / 2;
    layout.screen.y = (screenHeight - layout.screen.height) / 2;
    return layout;
}

}  // namespace platform
