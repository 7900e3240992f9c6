// Where the play screen's pieces go, in play-area coordinates, written once for the screen and
// its tests. The two panels at the bottom are each placed by one point: the frame's top-left
// corner; the white slot, what is drawn in it and the caption move with it.
#pragma once

#include "screens/screen_drawing.h"

namespace play_layout {

struct Point {
    int x, y;
};

// A piece of an image and the point its top-left corner goes to.
struct Placed {
    Piece piece;
    Point at;
};

// Right and bottom exclusive.
struct Area {
    int left, top, right, bottom;
};

constexpr Point Offset(Point p, int dx, int dy) {
    return {p.x + dx, p.y + dy};
}

constexpr Point kTimerPanel{16, 272};
constexpr Point kLivesPanel{288, 272};

// The white slot of a panel frame, 16 pixels in from its corner and 16 high: the timer bar's
// place and the row of life icons.
constexpr Area Slot(Point panel, int width) {
    return {panel.x + 16, panel.y + 16, panel.x + 16 + width, panel.y + 32};
}
constexpr Area kTimerSlot = Slot(kTimerPanel, 208);
constexpr Area kLivesSlot = Slot(kLivesPanel, 144);

// The standing background, in drawing order: later pieces cover earlier ones.
constexpr Placed kBackground[] = {
    {{ImageId::Back, 112, 0, 210, 120}, {28, 40}},                      // upper backdrop
    {{ImageId::Back, 0, 0, 98, 120}, {355, 144}},                       // lower backdrop
    {{ImageId::Zubi, 0, 0, 96, 144}, {31, 25}},                         // upper character
    {{ImageId::Yama, 0, 0, 96, 144}, {355, 126}},                       // lower character
    {{ImageId::TimeWin1, 0, 0, 240, 48}, kTimerPanel},                  // timer frame
    {{ImageId::TimeWin2, 0, 0, 176, 48}, kLivesPanel},                  // lives frame
    {{ImageId::Parts, 64, 32, 112, 40}, Offset(kLivesPanel, 96, 32)},   // lives caption
    {{ImageId::Parts, 64, 40, 112, 48}, Offset(kTimerPanel, 160, 32)},  // timer caption
    {{ImageId::Parts, 0, 32, 32, 48}, {432, 32}},                       // score caption
    {{ImageId::Words, 128, 128, 208, 144}, {144, 19}},                  // bonus caption
};

// The upper and the lower window.
constexpr Placed kReadyWindows[] = {
    {{ImageId::Win1, 0, 0, 320, 96}, {128, 48}},
    {{ImageId::Win2, 0, 0, 320, 96}, {32, 176}},
};

}  // namespace play_layout
