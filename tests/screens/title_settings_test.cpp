// The title menu and mode label from the copies they make, and the settings screen's texts by
// the colours they leave in each text's place.
#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "display/display_state.h"
#include "display/drawing.h"
#include "screens/settings_screen.h"
#include "screens/title_screen.h"
#include "tests/screens/recording_surface.h"
#include "tests/screens/screen_fixture.h"

namespace {

Drawn Words(int left, int top, int right, int bottom, int x, int y) {
    return CopyOf(ImageId::Words, left, top, right, bottom, x, y);
}

const Drawn kPlain[] = {
    Words(0, 0, 160, 32, 48, 40),
    Words(0, 32, 128, 64, 59, 83),
    Words(0, 496, 96, 528, 66, 124),
    Words(0, 64, 80, 96, 77, 166),
};
const Drawn kSelected[] = {
    Words(0, 96, 160, 128, 48, 40),
    Words(0, 128, 128, 160, 59, 83),
    Words(96, 496, 192, 528, 66, 124),
    Words(80, 64, 160, 96, 77, 166),
};

class TitleScreen : public ScreenFixture {};

TEST_F(TitleScreen, MenuDrawsEveryItemWithOnlyTheSelectedOneHighlighted) {
    StartIn(ScreenMode::Window32);
    for (int selected : {-1, 0, 1, 2, 3, 4}) {
        std::vector<Drawn> expected;
        for (int i = 0; i < 4; ++i) expected.push_back(i == selected ? kSelected[i] : kPlain[i]);
        RecordingFrame frame;
        DrawTitleMenu(selected);
        EXPECT_EQ(frame.Log(), expected) << "selected " << selected;
    }
}

TEST_F(TitleScreen, ModeLabelIsTheLastPieceAndFollowsTheMode) {
    const struct {
        ScreenMode mode;
        Drawn label;
    } cases[] = {
        {ScreenMode::Window32, Words(96, 352, 170, 357, 362, 275)},    // 74 x 5
        {ScreenMode::FullScreen, Words(96, 360, 146, 365, 362, 275)},  // 50 x 5
    };
    for (const auto& c : cases) {
        StartIn(c.mode);
        RecordingFrame frame;
        DrawTitleScreen();
        ASSERT_FALSE(frame.Log().empty());
        EXPECT_EQ(frame.Log().front(), FrameFill(0)) << "the border is black too";
        EXPECT_EQ(frame.Log().back(), c.label);
    }
}

// The settings texts' places: each row's kana and its two spellings.
struct TextPlace {
    int x, y, width;
};
struct RowPlaces {
    TextPlace kana, first, second;
};
constexpr RowPlaces kRows[9] = {
    {{48, 80, 20}, {128, 80, 20}, {176, 80, 30}},
    {{48, 112, 20}, {128, 112, 20}, {176, 112, 30}},
    {{48, 144, 20}, {128, 144, 20}, {176, 144, 30}},
    {{48, 176, 20}, {128, 176, 20}, {176, 176, 20}},
    {{48, 208, 20}, {128, 208, 20}, {176, 208, 20}},
    {{48, 240, 40}, {128, 240, 30}, {176, 240, 30}},
    {{276, 80, 40}, {354, 80, 30}, {402, 80, 30}},
    {{276, 112, 40}, {354, 112, 30}, {402, 112, 30}},
    {{276, 144, 20}, {354, 144, 10}, {402, 144, 20}},
};

enum Ink { None, Black, Highlight, Mixed };

class SettingsScreen : public ScreenFixture {
protected:
    void SetUp() override {
        ScreenFixture::SetUp();
        StartIn(ScreenMode::Window32);
    }
    // A white play area to draw texts on.
    void Blank() {
        RECT rect;
        FillRect(&MakeRect(rect, 80, 80, 560, 400), 0xFFFFFF);
    }
    // The picture the player sees once the frame is presented.
    std::vector<uint32_t> Present() {
        EXPECT_EQ(PresentFrame(), DD_OK);
        return Shown();
    }
};

// Which of the two text colours a text's place shows, its shadow and white aside.
Ink InkAt(const std::vector<uint32_t>& picture, const TextPlace& place) {
    bool black = false, highlight = false;
    for (int y = place.y; y < place.y + 20; ++y) {
        for (int x = place.x; x < place.x + place.width; ++x) {
            uint32_t p = picture[static_cast<size_t>(y) * 480 + x];
            black |= p == 0x000000;
            highlight |= p == kVermilionValue;
        }
    }
    return black && highlight ? Mixed : black ? Black : highlight ? Highlight : None;
}

TEST_F(SettingsScreen, LabelsAreAllBlackAndEachFitsItsPlace) {
    Blank();
    DrawSettingsLabels();
    const std::vector<uint32_t> picture = Present();
    for (const RowPlaces& row : kRows) {
        for (const TextPlace& place : {row.kana, row.first, row.second}) {
            EXPECT_EQ(InkAt(picture, place), Black) << place.x << ", " << place.y;
        }
    }
    // Nothing black outside the places (a text's shadow is light grey).
    int strays = 0;
    for (int y = 0; y < 320; ++y) {
        for (int x = 0; x < 480; ++x) {
            if (picture[static_cast<size_t>(y) * 480 + x] != 0) continue;
            bool inside = false;
            for (const RowPlaces& row : kRows) {
                for (const TextPlace& p : {row.kana, row.first, row.second}) {
                    inside |= x >= p.x && x < p.x + p.width && y >= p.y && y < p.y + 20;
                }
            }
            strays += !inside;
        }
    }
    EXPECT_EQ(strays, 0);
}

TEST_F(SettingsScreen, CursorHighlightsItsKanaAndDarkensBothNeighboursRoundTheRing) {
    struct Case {
        int row;
        int before, after;
    };
    for (const Case& c : {Case{0, 8, 1}, Case{4, 3, 5}, Case{8, 7, 0}}) {
        Blank();
        DrawSettingsCursor(c.row);
        const std::vector<uint32_t> picture = Present();
        for (int r = 0; r < 9; ++r) {
            Ink expected = r == c.row ? Highlight : (r == c.before || r == c.after) ? Black : None;
            EXPECT_EQ(InkAt(picture, kRows[r].kana), expected)
                << "cursor " << c.row << ", row " << r;
            EXPECT_EQ(InkAt(picture, kRows[r].first), None) << "cursor " << c.row << ", row " << r;
        }
    }
    Blank();
    DrawSettingsCursor(9);
    DrawSettingsCursor(-1);
    const std::vector<uint32_t> picture = Present();
    for (const RowPlaces& row : kRows) EXPECT_EQ(InkAt(picture, row.kana), None) << "no such row";
}

TEST_F(SettingsScreen, ChoiceHighlightsTheChosenSpellingOfItsRowAlone) {
    const int32_t values[9] = {0, 1, 2, -1, 0, 1, 0, 1, 0};
    for (int row = 0; row < 9; ++row) {
        Blank();
        DrawSettingsChoice(row, values);
        const std::vector<uint32_t> picture = Present();
        for (int r = 0; r < 9; ++r) {
            Ink first = r != row ? None : values[r] != 0 ? Black : Highlight;
            Ink second = r != row ? None : values[r] != 0 ? Highlight : Black;
            EXPECT_EQ(InkAt(picture, kRows[r].first), first)
                << "row " << row << " drawn, row " << r;
            EXPECT_EQ(InkAt(picture, kRows[r].second), second)
                << "row " << row << " drawn, row " << r;
            EXPECT_EQ(InkAt(picture, kRows[r].kana), None);
        }
    }
}

}  // namespace
