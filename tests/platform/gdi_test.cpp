// Our GDI: the BMP reader's acceptance and refusals, colour matching into palette and 16-bit
// formats, and handles that fail instead of crashing.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "platform/gdi/bmp_reader.h"
#include "platform/gdi/gdi_objects.h"
#include "platform/gdi/pixels.h"
#include "tests/fuzz/seed_writer.h"
#include "tests/platform/bmp_builder.h"

namespace {

std::vector<uint8_t> Patched(std::vector<uint8_t> bytes, size_t at, std::vector<uint8_t> with) {
    for (size_t i = 0; i < with.size(); ++i) bytes[at + i] = with[i];
    return bytes;
}

TEST(BmpReader, AcceptsThePlainKindsAndRefusesBrokenOnes) {
    auto pattern = [](int x, int y) { return (x + 2 * y) % 3; };
    const auto indexed = testbmp::Indexed(5, 3, {0xFF0000, 0x00FF00, 0x0000FF}, pattern);
    const auto rgb = testbmp::Rgb(3, 2, [](int x, int y) { return 0x102030u * (x + 1) + y; });
    auto topDown = Patched(indexed, 22, {0xFD, 0xFF, 0xFF, 0xFF});  // height -3
    struct Case {
        const char* what;
        std::vector<uint8_t> bytes;
        bool accepted;
    };
    const Case cases[] = {
        {"8-bit", indexed, true},
        {"8-bit top-down", topDown, true},
        {"24-bit", rgb, true},
        {"no magic", Patched(indexed, 0, {'X'}), false},
        {"cut in the pixels", std::vector<uint8_t>(indexed.begin(), indexed.end() - 1), false},
        {"cut in the colour table", std::vector<uint8_t>(indexed.begin(), indexed.begin() + 60),
         false},
        {"cut in the header", std::vector<uint8_t>(indexed.begin(), indexed.begin() + 30), false},
        {"empty", {}, false},
        {"header of 20 bytes", Patched(indexed, 14, {20}), false},
        {"width 0", Patched(indexed, 18, {0}), false},
        {"absurd width", Patched(indexed, 18, {0, 0, 0, 0x40}), false},
        {"coded by 4-bit runs at 8 bits", Patched(indexed, 30, {BI_RLE4}), false},
        {"two planes", Patched(indexed, 26, {2}), false},
        {"7 bits", Patched(indexed, 28, {7}), false},
        {"pixels said to start past the end", Patched(indexed, 10, {0xFF, 0xFF, 0, 0}), false},
        {"more colours used than the file holds", Patched(indexed, 46, {0x2C, 1}), false},
    };
    for (const auto& c : cases) {
        platform::DibImage image;
        EXPECT_EQ(platform::ParseBmp(c.bytes.data(), c.bytes.size(), image), c.accepted) << c.what;
    }

    platform::DibImage image;
    ASSERT_TRUE(platform::ParseBmp(indexed.data(), indexed.size(), image));
    platform::DibImage flipped;
    ASSERT_TRUE(platform::ParseBmp(topDown.data(), topDown.size(), flipped));
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 5; ++x) {
            EXPECT_EQ(platform::ReadPixel(image.View(), x, y),
                      static_cast<uint32_t>(pattern(x, y)));
            EXPECT_EQ(platform::ReadPixel(flipped.View(), x, 2 - y),
                      static_cast<uint32_t>(pattern(x, y)));
        }
    }
    ASSERT_TRUE(platform::ParseBmp(rgb.data(), rgb.size(), image));
    EXPECT_EQ(platform::ReadPixel(image.View(), 2, 1), 0x102030u * 3 + 1);
}

// The indices of a decoded 8-bit image, top row first, as hexadecimal digits with a space
// between rows.
std::string IndexRows(platform::DibImage& image) {
    std::string rows;
    for (int y = 0; y < image.height; ++y) {
        if (y > 0) rows += ' ';
        for (int x = 0; x < image.width; ++x) {
            rows += "0123456789abcdef"[platform::ReadPixel(image.View(), x, y) & 0xF];
        }
    }
    return rows;
}

TEST(BmpReader, RunLengthFilesDecodeAsTheirPlainTwins) {
    // Runs, odd and even literals, spans of index 0 inside and at the end of lines, blank
    // lines in the middle and at the top.
    auto pattern = [](int x, int y) {
        if (y < 2 || y == 6 || (x > 9 && x < 16) || x > 30 - y) return 0;
        if (x < 8) return (x / 3 + y) % 4 + 1;
        if (x < 20) return (x % 2) ? 5 : 9;
        return (x * 7 + y * 3) % 15 + 1;
    };
    std::vector<uint32_t> colors;
    for (uint32_t i = 0; i < 16; ++i) colors.push_back(i * 0x0F0E0D);
    auto plain = testbmp::Indexed(37, 11, colors, pattern);
    platform::DibImage twin;
    ASSERT_TRUE(platform::ParseBmp(plain.data(), plain.size(), twin));
    for (int bits : {8, 4}) {
        SCOPED_TRACE(bits);
        auto coded = testbmp::Rle(37, 11, bits, colors, pattern);
        fuzz_seeds::SaveSeed("display/seeds/fuzz_bmp_file/rle" + std::to_string(bits), coded);
        platform::DibImage image;
        ASSERT_TRUE(platform::ParseBmp(coded.data(), coded.size(), image));
        EXPECT_EQ(image.fileBits, bits);
        EXPECT_EQ(IndexRows(image), IndexRows(twin));
        for (int i = 0; i < 16; ++i) EXPECT_EQ(image.palette[i].peRed, twin.palette[i].peRed);
    }
}

TEST(BmpReader, HostileRunLengthStreamsStayInsideThePicture) {
    struct Case {
        const char* what;
        int bits;
        std::vector<uint8_t> stream;
        const char* rows;  // top row first; null: refused
        int height = 3;
    };
    const Case cases[] = {
        {"a run past the end of the line is cut there",
         8,
         {6, 5, 0, 0, 2, 7, 0, 1},
         "0000 7700 5555"},
        {"a 4-bit run likewise", 4, {7, 0x12, 0, 0, 0, 1}, "0000 0000 1212"},
        {"a literal past the end of the line, then its padding",
         8,
         {0, 5, 1, 2, 3, 4, 5, 0, 0, 0, 1, 9},
         "0000 9000 1234"},
        {"a 4-bit literal likewise",
         4,
         {0, 5, 0x12, 0x34, 0x50, 0, 0, 0, 2, 0x99, 0, 1},
         "0000 9900 1234"},
        {"a delta past the right edge skips the rest of the line",
         8,
         {0, 2, 9, 0, 3, 3, 0, 0, 1, 4},
         "0000 4000 0000"},
        {"a delta past the top ends the picture", 8, {2, 6, 0, 2, 1, 200, 2, 7}, "0000 0000 6600"},
        {"more lines than the picture",
         8,
         {1, 1, 0, 0, 1, 2, 0, 0, 1, 3, 0, 0, 1, 4, 0, 0},
         "3000 2000 1000"},
        {"no end code", 8, {4, 1}, "0000 0000 1111"},
        {"cut in a literal", 8, {0, 4, 1, 2}, "0000 0000 1200"},
        {"cut in a delta", 8, {1, 1, 0, 2, 1}, "0000 0000 1000"},
        {"cut in a code", 8, {1, 1, 0}, "0000 0000 1000"},
        {"no pixel data at all", 8, {}, "0000 0000 0000"},
        {"huge runs and deltas one after another",
         8,
         {255, 1, 255, 1, 0, 2, 255, 0, 0, 2, 255, 0, 0, 0, 255, 2},
         "0000 2222 1111"},
        {"top-down", 8, {4, 1, 0, 1}, nullptr, -3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        auto file = testbmp::IndexedFile(4, c.height, c.bits, c.bits == 8 ? BI_RLE8 : BI_RLE4,
                                         {0, 0x111111}, c.stream);
        platform::DibImage image;
        ASSERT_EQ(platform::ParseBmp(file.data(), file.size(), image), c.rows != nullptr);
        if (c.rows != nullptr) {
            EXPECT_EQ(IndexRows(image), c.rows);
        }
    }
}

TEST(Pixels, ColoursFindTheirValueInEachFormat) {
    PALETTEENTRY palette[256] = {};
    palette[43] = {0, 0, 255, 0};
    palette[45] = {255, 255, 255, 0};
    palette[252] = {0, 0, 255, 0};
    palette[255] = {255, 255, 255, 0};
    palette[55] = {0, 0, 254, 0};
    struct Case {
        const char* what;
        platform::PixelFormat format;
        COLORREF color;
        uint32_t value;
        COLORREF readBack;
    };
    const Case cases[] = {
        {"blue: the first of two equal entries", platform::IndexedFormat(), RGB(0, 0, 255), 43,
         RGB(0, 0, 255)},
        {"white: the first of two", platform::IndexedFormat(), RGB(255, 255, 255), 45,
         RGB(255, 255, 255)},
        {"near blue", platform::IndexedFormat(), RGB(0, 0, 254), 55, RGB(0, 0, 254)},
        {"grey goes to the nearest", platform::IndexedFormat(), RGB(200, 200, 200), 45,
         RGB(255, 255, 255)},
        {"5-6-5 blue", platform::Rgb565Format(), RGB(0, 0, 255), 0x001F, RGB(0, 0, 0xF8)},
        {"5-6-5 near blue is blue too", platform::Rgb565Format(), RGB(0, 0, 254), 0x001F,
         RGB(0, 0, 0xF8)},
        {"5-5-5 cream", platform::Rgb555Format(), RGB(255, 255, 196), 0x7FF8,
         RGB(0xF8, 0xF8, 0xC0)},
        {"32-bit", platform::Xrgb8888Format(), RGB(0x12, 0x34, 0x56), 0x123456,
         RGB(0x12, 0x34, 0x56)},
    };
    for (const auto& c : cases) {
        uint8_t memory[4] = {};
        platform::PixelView view{memory, 1, 1, 4, c.format, palette};
        EXPECT_EQ(platform::ColorToPixel(view, c.color), c.value) << c.what;
        EXPECT_EQ(platform::PixelToColor(view, c.value), c.readBack) << c.what;
        // Written back, the colour read gives the same value again.
        EXPECT_EQ(platform::ColorToPixel(view, c.readBack), c.value) << c.what;
    }
    platform::PixelView full{nullptr, 1, 1, 4, platform::Rgb565Format(), nullptr};
    EXPECT_EQ(platform::PixelToXrgb(full, 0xFFFF), 0xFFFFFFu) << "a screen shows full white";
}

TEST(GdiHandles, StaleAndForeignHandlesFail) {
    platform::ResetGdiState();
    HDC dc = CreateCompatibleDC(nullptr);
    ASSERT_NE(dc, nullptr);
    HFONT font = CreateFontA(20, 0, 0, 0, FW_MEDIUM, 0, 0, 0, SHIFTJIS_CHARSET, 0, 0, 0, 0, "x");
    HGDIOBJ previous = SelectObject(dc, font);
    ASSERT_NE(previous, nullptr);
    EXPECT_FALSE(DeleteObject(font)) << "a font in use stays";
    SelectObject(dc, previous);
    EXPECT_TRUE(DeleteObject(font));
    EXPECT_FALSE(DeleteObject(font)) << "deleted twice";
    EXPECT_EQ(SelectObject(dc, font), nullptr);
    EXPECT_FALSE(TextOutA(reinterpret_cast<HDC>(font), 0, 0, "a", 1));
    EXPECT_EQ(GetPixel(dc, 5, 5), CLR_INVALID) << "outside the 1 x 1 bitmap of a new DC";
    EXPECT_TRUE(DeleteDC(dc));
    EXPECT_FALSE(DeleteDC(dc));
    EXPECT_EQ(LoadImageA(nullptr, "/nonexistent/file.bmp", IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE),
              nullptr);
    EXPECT_EQ(platform::LiveGdiObjects(platform::GdiKind::Dc), 0);
    EXPECT_EQ(platform::LiveGdiObjects(platform::GdiKind::Font), 0);
}

TEST(GdiText, BytesThatAreNotShiftJisAreDrawnWithoutError) {
    platform::ResetGdiState();
    uint32_t memory[64 * 24] = {};
    platform::PixelView view{reinterpret_cast<uint8_t*>(memory), 64,     24, 64 * 4,
                             platform::Xrgb8888Format(),         nullptr};
    HDC dc = platform::CreateViewDc(view);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(255, 255, 255));
    // A lone lead byte, a lead byte before a space, and bytes no table has.
    EXPECT_TRUE(TextOutA(dc, 0, 0, "\x82\x20\xff\xa0\x81", 5));
    int inked = 0;
    for (uint32_t p : memory) inked += p != 0;
    EXPECT_GT(inked, 0) << "stand-ins are drawn";
    EXPECT_TRUE(TextOutA(dc, 0, 0, "", 0));
    EXPECT_FALSE(TextOutA(dc, 0, 0, "a", -1));
    EXPECT_TRUE(platform::DeleteViewDc(dc));
}

}  // namespace
