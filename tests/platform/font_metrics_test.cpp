// The text face's size: it stands in for a gothic whose cell height is its em, so the game's
// two text heights give fixed advances that its layouts count on.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "platform/gdi/font_renderer.h"
#include "platform/gdi/gdi_objects.h"
#include "platform/gdi/pixels.h"

namespace {

struct Canvas {
    static constexpr int kWidth = 640, kHeight = 48;
    std::vector<uint32_t> memory = std::vector<uint32_t>(kWidth * kHeight, 0);
    platform::PixelView View() {
        return {reinterpret_cast<uint8_t*>(memory.data()),
                kWidth,
                kHeight,
                kWidth * 4,
                platform::Xrgb8888Format(),
                nullptr};
    }
};

platform::TextStyle Style(int height, int weight) {
    platform::GdiFontRequest request;
    request.height = height;
    request.weight = weight;
    return platform::StyleForFont(request);
}

TEST(FontMetrics, AdvancesAtTheGamesTextHeights) {
    ASSERT_TRUE(platform::TextFontAvailable());
    struct Case {
        int height, weight;
        const char32_t* text;
        int width;
    };
    const Case cases[] = {
        // 20-pixel medium text: phrases, romaji, the settings labels.
        {20, FW_MEDIUM, U"a", 10},
        {20, FW_MEDIUM, U"\u3042", 20},  // あ
        {20, FW_MEDIUM, U"metyaomoroiyannmetyaomoroiyan", 290},
        {20, FW_MEDIUM, U"si\u3057", 40},  // "siし"
        {-20, FW_MEDIUM, U"a\u3042", 30},  // a character height asks for the same size
        // 15-pixel bold text: the place labels, "1位".
        {15, FW_BOLD, U"1", 8},
        {15, FW_BOLD, U"\u4f4d", 15},
        {15, FW_BOLD, U"1\u4f4d", 23},
        {15, FW_BOLD, U"\uff76", 8},  // a half-width katakana is half-width
    };
    for (const auto& c : cases) {
        Canvas canvas;
        int width = platform::DrawTextRun(canvas.View(), 0, 0, c.text, Style(c.height, c.weight),
                                          0xFFFFFF, nullptr);
        EXPECT_EQ(width, c.width) << "height " << c.height << ", " << std::u32string(c.text).size()
                                  << " characters";
    }
}

TEST(FontMetrics, InkStaysInsideTheCell) {
    ASSERT_TRUE(platform::TextFontAvailable());
    for (int height : {15, 20}) {
        Canvas canvas;
        const int top = 10;
        // Tall and deep letters, and full-width ones that fill the em.
        platform::DrawTextRun(canvas.View(), 0, top, U"Mgjpy|\u6f22\u3042\u300c",
                              Style(height, 500), 0xFFFFFF, nullptr);
        int first = Canvas::kHeight, last = -1;
        for (int y = 0; y < Canvas::kHeight; ++y) {
            for (int x = 0; x < Canvas::kWidth; ++x) {
                if (canvas.memory[static_cast<size_t>(y) * Canvas::kWidth + x] != 0) {
                    first = std::min(first, y);
                    last = std::max(last, y);
                }
            }
        }
        EXPECT_GE(first, top) << height;
        EXPECT_LT(last, top + height) << height;
        EXPECT_GT(last - first, height / 2) << height << ": the letters fill the cell";
    }
}

}  // namespace
