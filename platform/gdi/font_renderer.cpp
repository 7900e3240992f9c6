#include "platform/gdi/font_renderer.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

namespace platform {

namespace {

// Where Debian's fonts-ipafont-gothic puts the font, should fontconfig not know it.
constexpr const char* kKnownFontPaths[] = {
    "/usr/share/fonts/opentype/ipafont-gothic/ipag.ttf",
    "/usr/share/fonts/truetype/fonts-japanese-gothic.ttf",
};
constexpr const char* kFontFamily = "IPAGothic";

std::string FindFontFile() {
    std::string path;
    if (FcInit()) {
        FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>(kFontFamily));
        FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
        FcDefaultSubstitute(pattern);
        FcResult result;
        FcPattern* match = FcFontMatch(nullptr, pattern, &result);
        FcChar8* family = nullptr;
        FcChar8* file = nullptr;
        // fontconfig always offers something; only the asked-for family will do.
        if (match != nullptr && FcPatternGetString(match, FC_FAMILY, 0, &family) == FcResultMatch &&
            std::string(reinterpret_cast<char*>(family)) == kFontFamily &&
            FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch) {
            path = reinterpret_cast<char*>(file);
        }
        if (match != nullptr) FcPatternDestroy(match);
        FcPatternDestroy(pattern);
        // Nothing else here uses fontconfig: give back everything it holds.
        FcFini();
    }
    if (!path.empty()) return path;
    for (const char* known : kKnownFontPaths) {
        if (std::FILE* f = std::fopen(known, "rb")) {
            std::fclose(f);
            return known;
        }
    }
    return "";
}

struct FontFace {
    FT_Library library = nullptr;
    FT_Face face = nullptr;
    int ascent = 0;   // font units above the baseline in a cell
    int descent = 0;  // font units below it
    int unitsPerEm = 1;

    FontFace() {
        std::string path = FindFontFile();
        if (path.empty() || FT_Init_FreeType(&library) != 0) {
            std::fprintf(stderr, "parrun: the IPA Gothic font was not found; text is not drawn\n");
            return;
        }
        if (FT_New_Face(library, path.c_str(), 0, &face) != 0) {
            std::fprintf(stderr, "parrun: cannot open %s; text is not drawn\n", path.c_str());
            face = nullptr;
            return;
        }
        unitsPerEm = face->units_per_EM > 0 ? face->units_per_EM : 1;
        auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
        if (os2 != nullptr && os2->usWinAscent + os2->usWinDescent > 0) {
            ascent = os2->usWinAscent;
            descent = os2->usWinDescent;
        } else {
            ascent = face->ascender;
            descent = -face->descender;
        }
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

TextStyle StyleForFont(const GdiFontSpec& font) {
    TextStyle style;
    // Windows draws a synthetic bold from semi-bold weights up.
    style.bold = font.weight >= FW_SEMIBOLD;
    FontFace& f = Face();
    if (font.height > 0) {
        style.cellHeight = font.height;
    } else if (font.height < 0) {
        style.cellHeight = static_cast<int>(
            std::lround(-font.height * double(f.ascent + f.descent) / f.unitsPerEm));
    }
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
    double emPixels = style.cellHeight * double(f.unitsPerEm) / (f.ascent + f.descent);
    FT_Set_Char_Size(f.face, 0, static_cast<FT_F26Dot6>(std::lround(emPixels * 64)), 72, 72);
    int baseline = y + static_cast<int>(std::lround(f.ascent * emPixels / f.unitsPerEm));
    // A fixed-pitch face: every character is one or two half cells wide.
    int halfAdvance = std::max(1, static_cast<int>(std::lround(emPixels / 2)));
    int penX = x;
    for (char32_t cp : text) {
        FT_UInt glyph = FT_Get_Char_Index(f.face, cp);
        if (FT_Load_Glyph(f.face, glyph, FT_LOAD_RENDER | FT_LOAD_TARGET_MONO) != 0) continue;
        FT_GlyphSlot slot = f.face->glyph;
        // The glyph's own advance tells half from full width.
        double advance = slot->linearHoriAdvance / 65536.0;
        int cellWidth = advance > emPixels * 0.75 ? 2 * halfAdvance : halfAdvance;
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
