// The palette resource and the twelve images: the colours the program carries, every fault
// of a palette bitmap with its messages, and images loaded in order up to the first failure.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "display/display_state.h"
#include "display/image_assets.h"
#include "platform/resources/resources.h"
#include "tests/display/display_fixture.h"
#include "tests/platform/bmp_builder.h"

namespace {

// The game's 256 colours as 0x00RRGGBB, in index order.
constexpr uint32_t kGameColors[256] = {
    0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0xC0C0C0, 0xC0DCC0,
    0xA6CAF0, 0x0A0000, 0x0B0000, 0x0C0000, 0x0D0000, 0x0E0000, 0x0F0000, 0x4F74C7, 0x2B2484,
    0x88A9FF, 0xEEC79C, 0xDEA277, 0xE86A46, 0xFFA96D, 0xE5D18E, 0xC7AC32, 0x4F8828, 0xCDCDCD,
    0x7B3C2E, 0x3F3F3F, 0xA8A8A8, 0xB97B35, 0x6A2803, 0xD7A97B, 0xFFC09C, 0xBDD753, 0x538E00,
    0xD1FC7B, 0xA29FDB, 0xF89271, 0xF2BD98, 0xCDB670, 0xFFFFC4, 0x808080, 0x0000FF, 0xE6E6E6,
    0xFFFFFF, 0xC7C7FF, 0xE0FFE0, 0xFFC4C4, 0xFFE0E0, 0x841795, 0x9C53D7, 0x0000A0, 0x0000C0,
    0x0000E0, 0x0000FE, 0x1C1CFF, 0x3838FF, 0x5454FF, 0x7070FF, 0x8C8CFF, 0xA8A8FF, 0xC4C4FF,
    0xE0E0FF, 0x202000, 0x404000, 0x606000, 0x7F7F00, 0xA0A000, 0xC0C000, 0xE0E000, 0xFEFE00,
    0xFFFF1C, 0xFFFF38, 0xFFFF54, 0xFFFF70, 0xFFFF8C, 0xFFFFA8, 0xFFFFC4, 0xFFFFE0, 0x002020,
    0x004040, 0x006060, 0x007F7F, 0x00A0A0, 0x00C0C0, 0x00E0E0, 0x00FEFE, 0x1CFFFF, 0x38FFFF,
    0x54FFFF, 0x70FFFF, 0x8CFFFF, 0xA8FFFF, 0xC4FFFF, 0xE0FFFF, 0x200020, 0x400040, 0x600060,
    0x7F007F, 0xA000A0, 0xC000C0, 0xE000E0, 0xFE00FE, 0xFF1CFF, 0xFF38FF, 0xFF54FF, 0xFF70FF,
    0xFF8CFF, 0xFFA8FF, 0xFFC4FF, 0xFFE0FF, 0xCF8F4F, 0xDF9F5F, 0xEFAF6F, 0xFFBF7F, 0xFFC98F,
    0xFFD39F, 0xFFDDAF, 0xFFE7BF, 0x804000, 0x8F571F, 0x9F6F3F, 0xAF875F, 0xBF9F7F, 0xCFB79F,
    0xDFCFBF, 0xEFE7DF, 0x0080FF, 0x1F8FFF, 0x3F9FFF, 0x5FAFFF, 0x7FBFFF, 0x9FCFFF, 0xBFDFFF,
    0xDFEFFF, 0x004080, 0x1F578F, 0x3F6F9F, 0x5F87AF, 0x7F9FBF, 0x9FB7CF, 0xBFCFDF, 0xDFE7EF,
    0x8000FF, 0x8F1FFF, 0x9F3FFF, 0xAF5FFF, 0xBF7FFF, 0xCF9FFF, 0xDFBFFF, 0xEFDFFF, 0x400080,
    0x571F8F, 0x6F3F9F, 0x875FAF, 0x9F7FBF, 0xB79FCF, 0xCFBFDF, 0xE7DFEF, 0x80FF00, 0x8FFF1F,
    0x9FFF3F, 0xAFFF5F, 0xBFFF7F, 0xCFFF9F, 0xDFFFBF, 0xEFFFDF, 0x408000, 0x578F1F, 0x6F9F3F,
    0x87AF5F, 0x9FBF7F, 0xB7CF9F, 0xCFDFBF, 0xE7EFDF, 0xFF662B, 0xFF763C, 0xFF864D, 0xFF965F,
    0xFFA770, 0xFFB782, 0xFFC793, 0xFFD8A5, 0x804080, 0x8F578F, 0x9F6F9F, 0xAF87AF, 0xBF9FBF,
    0xCFB7CF, 0xDFCFDF, 0xEFE7EF, 0x00FF80, 0x1FFF8F, 0x3FFF9F, 0x5FFFAF, 0x7FFFBF, 0x9FFFCF,
    0xBFFFDF, 0xDFFFEF, 0x008040, 0x1F8F57, 0x3F9F6F, 0x5FAF87, 0x7FBF9F, 0x9FCFB7, 0xBFDFCF,
    0xDFEFE7, 0x005200, 0x244B00, 0x484500, 0x6D3F00, 0x913800, 0xB63200, 0xDA2C00, 0xFF2600,
    0xFF5000, 0xFF7A00, 0xFFA400, 0xFFCE10, 0xFFF840, 0xFFFF6F, 0xFFFFA0, 0xFFFFD0, 0x101010,
    0x202020, 0x303030, 0x404040, 0x505050, 0x606060, 0x707070, 0x7F7F7F, 0x909090, 0xA0A0A0,
    0xB0B0B0, 0xC0C0C0, 0xD0D0D0, 0xE0E0E0, 0xF0F0F0, 0xFEFEFE, 0xF80000, 0xFD0000, 0xFC0000,
    0xFB0000, 0xFA0000, 0xF90000, 0xFFFBF0, 0xA0A0A4, 0x808080, 0xFF0000, 0x00FF00, 0xFFFF00,
    0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF,
};

using Assets = DisplayFixture;

std::vector<std::string> Messages(const platform::ScriptedHost& host) {
    std::vector<std::string> messages;
    for (const auto& line : host.LogLines()) {
        auto at = line.find(" messagebox ");
        if (at != std::string::npos) messages.push_back(line.substr(at + 12));
    }
    return messages;
}

uint32_t Rgb(const PALETTEENTRY& e) {
    return (uint32_t{e.peRed} << 16) | (uint32_t{e.peGreen} << 8) | e.peBlue;
}

TEST_F(Assets, TheProgramCarriesTheGamesPalette) {
    StartHost();
    ASSERT_EQ(StartDisplay(window), 1);
    for (int i = 0; i < 256; ++i) {
        EXPECT_EQ(Rgb(display.paletteReadBack[i]), kGameColors[i]) << "entry " << i;
        EXPECT_EQ(display.paletteReadBack[i].peFlags, 0) << "entry " << i;
    }
}

// The bytes of a palette resource: a header and a colour table of `count` entries.
std::vector<uint8_t> PaletteResource(uint32_t headerSize, uint16_t bits, uint32_t colorsUsed,
                                     int count) {
    std::vector<uint8_t> out;
    testbmp::Put32(out, headerSize);
    testbmp::Put32(out, 1);
    testbmp::Put32(out, 1);
    testbmp::Put16(out, 1);
    testbmp::Put16(out, bits);
    for (int i = 0; i < 4; ++i) testbmp::Put32(out, 0);
    testbmp::Put32(out, colorsUsed);
    testbmp::Put32(out, 0);
    for (int i = 0; i < count; ++i) testbmp::Put32(out, 0x00010203u * static_cast<uint32_t>(i + 1));
    return out;
}

TEST_F(Assets, PaletteFaultsShowTheirMessageAndThenThePaletteMessage) {
    const std::string paletteFailed = "パレットをロードできませんでした|エラー";
    struct Case {
        const char* fault;
        std::vector<uint8_t> bytes;  // empty: see `script`
        const char* script;
        std::string message;  // empty: accepted
        int entriesTaken;
    };
    const Case cases[] = {
        {"missing", {}, "resource BITMAP MYPALLET none", "リソースがありませんでした|検索失敗", 0},
        {"unloadable",
         {},
         "resource BITMAP MYPALLET unloadable",
         "リソースをロードできませんでした|ロード失敗",
         0},
        {"24 bits", PaletteResource(40, 24, 0, 0), "", "BMPは256色ではありません|ロード失敗", 0},
        {"16 bits and a bad header", PaletteResource(12, 16, 0, 0), "",
         "BMPは256色ではありません|ロード失敗", 0},
        {"header of 12", PaletteResource(12, 8, 0, 256), "", "サイズが一致しません|失敗", 0},
        {"header of 108", PaletteResource(108, 8, 0, 256), "", "サイズが一致しません|失敗", 0},
        {"table cut short", PaletteResource(40, 8, 0, 255), "", "サイズが一致しません|失敗", 0},
        {"too short for a header", {0x28, 0, 0, 0, 1, 0}, "", "サイズが一致しません|失敗", 0},
        {"16 colours", PaletteResource(40, 4, 0, 16), "", "", 16},
        {"2 colours used of 256", PaletteResource(40, 8, 2, 2), "", "", 2},
        {"1 bit", PaletteResource(40, 1, 0, 2), "", "", 2},
        {"more colours used than 256", PaletteResource(40, 8, 1000, 256), "", "", 256},
    };
    for (const auto& c : cases) {
        ResetEverything();
        StartHost(c.script);
        if (!c.bytes.empty()) platform::ReplaceResource(RT_BITMAP, "MYPALLET", c.bytes);
        int started = StartDisplay(window);
        if (c.message.empty()) {
            EXPECT_EQ(started, 1) << c.fault;
            EXPECT_TRUE(Messages(*host).empty()) << c.fault;
            for (int i = 0; i < 256; ++i) {
                uint32_t expected = i < c.entriesTaken
                                        ? (0x00010203u * static_cast<uint32_t>(i + 1)) & 0xFFFFFF
                                        : 0;
                ASSERT_EQ(Rgb(display.paletteReadBack[i]), expected) << c.fault << " entry " << i;
            }
        } else {
            EXPECT_EQ(started, 0) << c.fault;
            EXPECT_EQ(Messages(*host), (std::vector<std::string>{c.message, paletteFailed}))
                << c.fault;
        }
    }
}

TEST_F(Assets, ImagesLoadInOrderAndStopAtTheFirstFailure) {
    const char* files[kImageCount] = {
        "images/zubi1-1.bmp",  "images/yama1-1.bmp",    "images/parts1-2.bmp",
        "images/back1-1.bmp",  "images/bar1-1.bmp",     "images/words1-1.bmp",
        "images/title1-1.bmp", "images/hisco1-1.bmp",   "images/win1-1.bmp",
        "images/win1-2.bmp",   "images/timewin1-1.bmp", "images/timewin1-2.bmp",
    };
    for (int failing = 0; failing < kImageCount; ++failing) {
        for (bool tooSmall : {false, true}) {
            // A fresh folder and host for each case.
            TearDown();
            SetUp();
            if (tooSmall) {
                WriteFile(files[failing], testbmp::Rgb(8, 8, [](int, int) { return 0x0000FFu; }));
            } else {
                std::filesystem::remove(folder / files[failing]);
            }
            StartHost();
            EXPECT_EQ(StartDisplay(window), 0) << files[failing];
            EXPECT_EQ(Messages(*host),
                      std::vector<std::string>{"BMPをロードできませんでした|エラー"})
                << files[failing];
            for (int i = 0; i < kImageCount; ++i) {
                // Those before it loaded; its surface was made; none after was tried.
                EXPECT_EQ(display.images[i] != nullptr, i <= failing) << files[failing] << " " << i;
            }
        }
    }
}

TEST_F(Assets, ABiggerFileIsCutToItsSurface) {
    // 300 x 300 with a different colour beyond the 96 x 144 the surface takes.
    WriteFile("images/zubi1-1.bmp", testbmp::Rgb(300, 300, [](int x, int y) {
                  return x < 96 && y < 144 ? 0xE86A46u : 0x2B2484u;
              }));
    StartHost();
    ASSERT_EQ(StartDisplay(window), 1);
    IDirectDrawSurface7* image = display.images[0];
    DDSURFACEDESC2 desc = {};
    desc.dwSize = sizeof desc;
    ASSERT_EQ(image->GetSurfaceDesc(&desc), DD_OK);
    EXPECT_EQ(desc.dwWidth, 96u);
    EXPECT_EQ(desc.dwHeight, 144u);
    // The file's top-left part: its top-left pixel is what the surface holds there.
    EXPECT_EQ(MatchSurfaceColor(image, CLR_INVALID), 0xE86A46u);
}

}  // namespace
