// Where a full-screen picture goes on the screen. The game draws a 640 x 480 frame whose
// 480 x 320 play area sits at (80, 80) inside a black border; on a screen much larger than
// 640 x 480 that border is only lost room, so the play area alone is shown at the largest
// whole scale that fits, centred on black, which looks the same as the frame shown whole but
// lets the play area grow. Once something is drawn in the border the whole frame is shown
// instead, at the largest whole scale that fits. Whole scales keep every pixel square and
// every stroke of text even.
#pragma once

#include <cstdint>

namespace platform {

struct PictureRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    bool operator==(const PictureRect&) const = default;
};

struct FullScreenLayout {
    PictureRect source;  // the part of the frame shown
    PictureRect screen;  // where it goes, in screen pixels
    bool operator==(const FullScreenLayout&) const = default;
};

// The play area inside the full-screen frame.
constexpr PictureRect kPlayArea = {80, 80, 480, 320};

// True when every pixel of the frame (0x00RRGGBB, `width` x `height`) outside the play area
// is black.
bool BorderIsBlack(const uint32_t* pixels, int width, int height);

// The play area alone, or with `wholeFrame` the frame of `frameWidth` x `frameHeight`,
// at the largest whole scale (at least 1) that fits a screen of the given size, centred.
FullScreenLayout ChooseFullScreenLayout(int frameWidth, int frameHeight, int screenWidth,
                                        int screenHeight, bool wholeFrame);

}  // namespace platform
