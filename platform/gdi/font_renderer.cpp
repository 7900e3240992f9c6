#include "platform/gdi/font_renderer.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

namespace platform {

namespace {

struct FontFace {
    FT_Library library = nullptr;
    FT_Face face = nullptr;
    int ascent = 0;   // font units above the baseline
    int descent = 0;  // font units below it
    int unitsPerEm = 1;

    FontFace() {
        std::string path = TextFontFile();
        // Said once a run: the face is looked for once.
        if (path.empty()) {
            std::fputs(
                "parrun: no Japanese font found; install the Debian package "
                "fonts-ipafont-gothic\n",
                stderr);
            return;
        }
        if (FT_Init_FreeType(&library) != 0) {
            std::fputs("parrun: cannot start FreeType; text is not drawn\n", stderr);
            return;
        }
        if (FT_New_Face(library, path.c_str(), 0, &face) != 0) {
            std::fprintf(stderr,
                         "parrun: cannot read the Japanese font %s; reinstall the Debian "
                         "package fonts-ipafont-gothic\n",
                         path.c_str());
            face = nullptr;
            return;
        }
        unitsPerEm = face->units_per_EM > 0 ? face->units_per_EM : 1;
        // The typographic ascent and descent, which for this face add up to its em: they
        // place the baseline in an em-high cell. (Its Windows metrics are taller than the em.)
        ascent = face->ascender;
        descent = -face->descender;
        if (ascent + descent <= 0) ascent = unitsPerEm, descent = 0;
    }
    ~FontFace() {
        if (face != nullptr) FT_Done_Face(face);
        if (library != nullptr) FT_Done_FreeType(library);
    }
};

FontFace& Face() {
    static FontFace face;
    return face;
}

void FillCell(const PixelView& view, int left, int top, int right, int bottom, uint32_t value) {
    for (int y = std::max(top, 0); y < std::min(bottom, view.height); ++y) {
        for (int x = std::max(left, 0); x < std::min(right, view.width); ++x) {
            WritePixel(view, x, y, value);
        }
    }
}

}  // namespace

bool TextFontAvailable() {
    return Face().face != nullptr;
}

TextStyle StyleForFont(const GdiFontRequest& font) {
    TextStyle style;
    // Windows draws a synthetic bold from semi-bold weights up.
    style.bold = font.weight >= FW_SEMIBOLD;
    // The face stands in for one whose cell is exactly its em, so a cell height (positive)
    // and a character height (negative) ask for the same size.
    if (font.height != 0) style.cellHeight = font.height > 0 ? font.height : -font.height;
    return style;
}

std::u32string DecodeUtf8(const std::string& text) {
    std::u32string out;
    size_t i = 0;
    while (i < text.size()) {
        auto byte = static_cast<unsigned char>(text[i]);
        int extra = byte < 0x80         ? 0
                    : (byte >> 5) == 6  ? 1
                    : (byte >> 4) == 14 ? 2
                    : (byte >> 3) == 30 ? 3
                                        : -1;
        char32_t cp = extra <= 0 ? byte : byte & (0x3F >> extra);
        bool ok = extra >= 0 && i + static_cast<size_t>(extra) < text.size();
        for (int k = 1; ok && k <= extra; ++k) {
            auto next = static_cast<unsigned char>(text[i + k]);
            ok = (next & 0xC0) == 0x80;
            cp = (cp << 6) | (next & 0x3F);
        }
        if (!ok) {
            out.push_back(U'\uFFFD');
            ++i;
            continue;
        }
        out.push_back(cp);
        i += static_cast<size_t>(extra) + 1;
    }
    return out;
}

int DrawTextRun(const PixelView& view, int x, int y, const std::u32string& text,
                const TextStyle& style, uint32_t color, const uint32_t* background) {
    FontFace& f = Face();
    if (f.face == nullptr || style.cellHeight <= 0) return 0;
    // The em fills the cell, as in the face we stand in for: at 20 pixels a half-width
    // character advances 10 and a full-width one 20. The baseline divides the cell as the
    // face's own ascent and descent divide its height.
    const int emPixels = style.cellHeight;
    FT_Set_Pixel_Sizes(f.face, 0, static_cast<FT_UInt>(emPixels));
    int baseline =
        y + static_cast<int>(std::lround(double(emPixels) * f.ascent / (f.ascent + f.descent)));
    // A fixed-pitch face: each advance is its design width (half or the whole em) rounded
    // on its own, so at 15 pixels half-width is 8 and full-width 15.
    const int halfAdvance = std::max(1, static_cast<int>(std::lround(emPixels / 2.0)));
    const int fullAdvance = emPixels;
    int penX = x;
    for (char32_t cp : text) {
        FT_UInt glyph = FT_Get_Char_Index(f.face, cp);
        if (FT_Load_Glyph(f.face, glyph, FT_LOAD_RENDER | FT_LOAD_TARGET_MONO) != 0) continue;
        FT_GlyphSlot slot = f.face->glyph;
        // The glyph's own advance tells half from full width.
        double advance = slot->linearHoriAdvance / 65536.0;
        int cellWidth = advance > emPixels * 0.75 ? fullAdvance : halfAdvance;
        if (background != nullptr) {
            FillCell(view, penX, y, penX + cellWidth, y + style.cellHeight, *background);
        }
        const FT_Bitmap& bitmap = slot->bitmap;
        if (bitmap.pixel_mode == FT_PIXEL_MODE_MONO) {
            int left = penX + slot->bitmap_left;
            int top = baseline - slot->bitmap_top;
            for (unsigned row = 0; row < bitmap.rows; ++row) {
                const unsigned char* bits =
                    bitmap.buffer + static_cast<ptrdiff_t>(row) * bitmap.pitch;
                for (unsigned col = 0; col < bitmap.width; ++col) {
                    if (!(bits[col >> 3] & (0x80 >> (col & 7)))) continue;
                    int px = left + static_cast<int>(col), py = top + static_cast<int>(row);
                    for (int dx = 0; dx <= (style.bold ? 1 : 0); ++dx) {
                        if (view.Contains(px + dx, py)) WritePixel(view, px + dx, py, color);
                    }
                }
            }
        }
        penX += cellWidth;
    }
    return penX - x;
}

}  // namespace platform
