// Draws text with FreeType from the fixed-pitch Japanese gothic font of the system (IPA
// Gothic), without anti-aliasing: the em fills a cell of the requested height, as in the gothic
// it stands in for, so full-width characters advance the cell height and half-width ones half
// of it (rounded); a bold face is drawn twice a pixel apart.
#pragma once

#include <string>

#include "platform/gdi/gdi_objects.h"
#include "platform/gdi/pixels.h"

namespace platform {

struct TextStyle {
    int cellHeight = 16;  // pixels from the top of the cell to its bottom
    bool bold = false;
};

// The style a CreateFontA request turns into: a positive height is the cell height, a
// negative one the character height, which for this face are the same.
TextStyle StyleForFont(const GdiFontRequest& font);

// Draws the code points with the top-left corner of the first cell at (x, y), in the raw
// colour, clipped to the view; when `background` is set the cells are filled with it first.
// Returns the width drawn.
int DrawTextRun(const PixelView& view, int x, int y, const std::u32string& text,
                const TextStyle& style, uint32_t color, const uint32_t* background);

// The code points of UTF-8 text; malformed bytes become U+FFFD.
std::u32string DecodeUtf8(const std::string& text);

// The path of the font file, or empty when there is none: on the desktop fontconfig is asked
// (font_file.cpp); the browser's host ships the file at a path of its own.
std::string TextFontFile();

// True when the font file was found and opened (false means text draws nothing). The first
// look for it says on standard error what is missing.
bool TextFontAvailable();

}  // namespace platform
