// The display's program-wide record: the DirectDraw object and its surfaces, the mode, where
// the window's client area lies on the screen, the windowed frame's 16-bit layout, the
// palette, and the effects record that colour fills share.
#pragma once

#include <ddraw.h>
#include <windows.h>

#include <array>
#include <cstdint>

#include "display/image_id.h"

// The frame every screen draws into, and the play area inside it.
constexpr int kFrameWidth = 640;
constexpr int kFrameHeight = 480;
constexpr int kFrameOriginX = 80;
constexpr int kFrameOriginY = 80;
constexpr int kPlayWidth = 480;
constexpr int kPlayHeight = 320;

// Set when the windowed frame has 16 bits a pixel: the depth and each channel's width.
struct FrameDepth16 {
    int32_t depth = 0;
    int32_t red = 0;
    int32_t green = 0;
    int32_t blue = 0;
};

struct DisplayState {
    IDirectDraw7* directDraw = nullptr;
    int firstStart = 1;  // COM and the DirectDraw object are still to be made
    int windowed = 1;    // 1 windowed, 0 full screen
    IDirectDrawSurface7* primary = nullptr;
    IDirectDrawSurface7* frameSurface = nullptr;
    IDirectDrawClipper* clipper = nullptr;  // windowed mode only
    IDirectDrawPalette* palette = nullptr;
    std::array<IDirectDrawSurface7*, kImageCount> images = {};
    RECT clientScreenRect = {};
    FrameDepth16 frameDepth16;
    DDBLTFX fillEffects = {};
    // The colours taken from the palette resource; entries it doesn't give keep what they had.
    std::array<PALETTEENTRY, 256> paletteTable = {};
    // The palette object's entries as read back at the end of every start.
    std::array<PALETTEENTRY, 256> paletteReadBack = {};
};

extern DisplayState display;

// Puts every value back to its starting value, without releasing anything (for tests).
void ResetDisplayState();
