// The primitives every screen is drawn with: colour-keyed copies of image rectangles, colour
// fills, digits split for digit images, and the present that shows the finished frame. Copies
// and text take play-area coordinates; fills take frame coordinates.
#pragma once

#include <ddraw.h>
#include <windows.h>

#include <cstdint>

#include "display/image_id.h"

// Fills a rectangle record; each value is narrowed to signed 16 bits first. Note the order:
// top, left, right, bottom.
RECT& MakeRect(RECT& rect, int top, int left, int right, int bottom);
// Copies a rectangle of an image to (x, y) of the play area, leaving out its pure blue.
void BlitImage(ImageId image, int x, int y, const RECT& source);
// Fills a rectangle of the frame (the whole frame when null) with a raw colour value.
void FillRect(const RECT* rect, uint32_t value);
// The raw value of a palette colour in the current mode: the index in full screen, the packed
// pixel on a 16-bit desktop, 0x00RRGGBB otherwise.
uint32_t ColorValue(int index, int red, int green, int blue);
// A colour packed into the windowed frame's 16-bit layout.
uint32_t PackRgb16(int red, int green, int blue);
// Splits a value into decimal digits, units first; returns how many (0 has one). `digits`
// needs room for 10.
int SplitDigits(int32_t* digits, uint32_t value);
// Shows the frame: a flip in full screen, a copy of the play area into the window otherwise.
// After a lost display it restores the surfaces, asks for a whole redraw (the shell's two redraw
// requests) and returns 0 without showing this frame.
HRESULT PresentFrame();
