// Pictures drawn with every primitive, compared with reference pictures that a person has
// looked at and judged right. A missing or different reference fails the test and leaves the
// actual picture in the build folder (actual/NAME.png) for a person to look at;
// scripts/refresh-pictures.sh puts every one in place, with a difference picture to look at.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>

#include "display/display_device.h"
#include "display/display_state.h"
#include "display/drawing.h"
#include "display/image_assets.h"
#include "display/text_drawing.h"
#include "platform/scripted/png_file.h"
#include "tests/display/display_fixture.h"

namespace {

// "ずびずば 標準語で言うと"
const char kDialect[] =
    "\x82\xb8\x82\xd1\x82\xb8\x82\xce\x20\x95\x57\x8f\x80\x8c\xea\x82\xc5\x8c\xbe\x82\xa4\x82\xc6";
// "パルルン・ローマ字"
const char kTitle[] = "\x83\x70\x83\x8b\x83\x8b\x83\x93\x81\x45\x83\x8d\x81\x5b\x83\x7d\x8e\x9a";
// "ｶﾞｯﾂﾘ ﾊﾟﾙﾙﾝ" in half-width katakana
const char kHalfWidth[] = "\xb6\xde\xaf\xc2\xd8\x20\xca\xdf\xd9\xd9\xdd";
// "あいうえお　漢字かな交じり文"
const char kMixed[] =
    "\x82\xa0\x82\xa2\x82\xa4\x82\xa6\x82\xa8\x81\x40\x8a\xbf\x8e\x9a\x82\xa9\x82\xc8\x8c\xf0"
    "\x82\xb6\x82\xe8\x95\xb6";
// "ゴシック体の影付き文字"
const char kShadowedLabel[] =
    "\x83\x53\x83\x56\x83\x62\x83\x4e\x91\xcc\x82\xcc\x89\x65\x95\x74\x82\xab\x95\xb6\x8e\x9a";
// "太字の見出し"
const char kBoldLabel[] = "\x91\xbe\x8e\x9a\x82\xcc\x8c\xa9\x8f\x6f\x82\xb5";

struct NamedColor {
    int index, red, green, blue;
};
constexpr NamedColor kNamedColors[] = {
    {21, 232, 106, 70},  {37, 162, 159, 219}, {38, 248, 146, 113}, {41, 255, 255, 196},
    {42, 128, 128, 128}, {45, 255, 255, 255}, {48, 255, 196, 196},
};

int Length(const char* text) {
    return static_cast<int>(std::strlen(text));
}

void FillPlay(int left, int top, int right, int bottom, const NamedColor& c) {
    RECT rect;
    MakeRect(rect, top + kFrameOriginY, left + kFrameOriginX, right + kFrameOriginX,
             bottom + kFrameOriginY);
    FillRect(&rect, ColorValue(c.index, c.red, c.green, c.blue));
}

void DrawDigits(uint32_t value, int x, int y) {
    int32_t digits[10];
    int count = SplitDigits(digits, value);
    for (int i = count - 1; i >= 0; --i) {
        char digit = static_cast<char>('0' + digits[i]);
        DrawTextBold(&digit, x, y, 1, 0x2B, 0x24, 0x84);
        x += 8;
    }
}

// Every primitive once: fills in each named colour, images with their transparent blue over
// two colours, digits, and both kinds of text with Japanese and Latin letters.
void DrawTestPicture() {
    FillRect(nullptr, 0);
    FillPlay(0, 0, 480, 320, kNamedColors[3]);
    const NamedColor ink = {17, 0x2B, 0x24, 0x84};
    for (int i = 0; i < 7; ++i) {
        FillPlay(7 + i * 40, 7, 45 + i * 40, 33, ink);
        FillPlay(8 + i * 40, 8, 44 + i * 40, 32, kNamedColors[i]);
        DrawDigits(static_cast<uint32_t>(kNamedColors[i].index), 14 + i * 40, 34);
    }
    // A background of two colours, so that the images' holes show both.
    FillPlay(0, 56, 480, 204, kNamedColors[1]);
    FillPlay(240, 56, 480, 204, kNamedColors[6]);
    RECT rect;
    BlitImage(ImageId::Zubi, 8, 58, MakeRect(rect, 0, 0, 96, 144));
    BlitImage(ImageId::Back, 120, 58, MakeRect(rect, 0, 0, 224, 128));
    BlitImage(ImageId::TimeWin2, 296, 58, MakeRect(rect, 0, 0, 176, 48));
    BlitImage(ImageId::Parts, 312, 120, MakeRect(rect, 8, 40, 160, 40));
    DrawDigits(1234567890u, 360, 180);
    DrawDigits(0u, 360, 160);
    DrawTextShadowed(kShadowedLabel, 8, 208, Length(kShadowedLabel), 0x2B, 0x24, 0x84);
    DrawTextShadowed(kDialect, 8, 230, Length(kDialect), 232, 106, 70);
    DrawTextShadowed("Parrun typing 0123456789", 240, 208, 24, 0, 0, 0);
    DrawTextBold(kBoldLabel, 8, 256, Length(kBoldLabel), 0x2B, 0x24, 0x84);
    DrawTextBold(kTitle, 8, 274, Length(kTitle), 0, 0, 0);
    DrawTextBold("zubizuba hyoujungo de iuto", 200, 274, 26, 0x53, 0x8E, 0x00);
    DrawTextBold(kHalfWidth, 8, 296, Length(kHalfWidth), 0x84, 0x17, 0x95);
    DrawTextShadowed(kMixed, 120, 292, Length(kMixed), 0, 0, 0);
}

// A sample of text in both styles on white: kana, kanji, half-width kana, Latin letters,
// digits, punctuation, and a byte that is not Shift-JIS (drawn as a stand-in, not an error).
void DrawTextSample() {
    FillRect(nullptr, 0);
    FillPlay(0, 0, 480, 320, kNamedColors[5]);
    const char* lines[] = {kShadowedLabel,
                           kMixed,
                           kTitle,
                           kHalfWidth,
                           "ABCDEFGHIJKLMNOPQRSTUVWXYZ",
                           "abcdefghijklmnopqrstuvwxyz",
                           "0123456789 !?-.,:;()[]",
                           "bad \x82\x20 byte \xff end"};
    int y = 4;
    for (const char* line : lines) {
        DrawTextShadowed(line, 4, y, Length(line), 0, 0, 0);
        y += 22;
    }
    for (const char* line : lines) {
        DrawTextBold(line, 4, y, Length(line), 0, 0, 0);
        y += 17;
    }
}

class Pictures : public DisplayFixture {
protected:
    // Compares the last picture shown with its reference.
    void ExpectReference(const std::string& name) {
        const auto& picture = host->Picture();
        ASSERT_FALSE(picture.empty());
        std::filesystem::path actualDir = PARRUN_ACTUAL_DIR;
        std::filesystem::create_directories(actualDir);
        std::string actual = (actualDir / (name + ".png")).string();
        ASSERT_TRUE(platform::WritePng(actual, picture.data(), host->PictureWidth(),
                                       host->PictureHeight()));
        std::string reference = std::string(PARRUN_REFERENCE_DIR) + "/" + name + ".png";
        std::vector<uint32_t> expected;
        int width = 0, height = 0;
        ASSERT_TRUE(platform::ReadPng(reference, expected, width, height))
            << "no reference " << reference << "; look at " << actual
            << "; after looking, scripts/refresh-pictures.sh takes every reference again";
        ASSERT_EQ(width, host->PictureWidth());
        ASSERT_EQ(height, host->PictureHeight());
        size_t differing = 0;
        for (size_t i = 0; i < expected.size(); ++i) differing += expected[i] != picture[i];
        EXPECT_EQ(differing, 0u)
            << name << " differs from " << reference << "; look at " << actual
            << "; after looking, scripts/refresh-pictures.sh takes every reference again";
    }
};

TEST_F(Pictures, EveryPrimitiveInEachMode) {
    struct Case {
        const char* name;
        const char* script;
        bool fullScreen;
    };
    const Case cases[] = {
        {"window32", "desktop 32", false},
        {"window16", "desktop 16", false},
        {"window15", "desktop 15", false},
        {"fullscreen", "desktop 32", true},
    };
    for (const auto& c : cases) {
        ResetEverything();
        StartHost(c.script);
        ASSERT_EQ(StartDisplay(window), 1);
        if (c.fullScreen) {
            ASSERT_EQ(ToggleDisplayMode(window), 1);
        }
        DrawTestPicture();
        ASSERT_EQ(PresentFrame(), DD_OK);
        ExpectReference(c.name);
        ReleaseDisplay();
    }
}

TEST_F(Pictures, TextSampleInBothStyles) {
    StartHost();
    ASSERT_EQ(StartDisplay(window), 1);
    DrawTextSample();
    ASSERT_EQ(PresentFrame(), DD_OK);
    ExpectReference("text_sample");
}

}  // namespace
