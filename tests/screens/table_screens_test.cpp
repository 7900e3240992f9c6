// The numbers of the results and rankings screens, read back from the glyphs they copied:
// limits, alignment, the speed's two decimals, and values no glyph can show.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "screens/table_screens.h"
#include "tests/screens/recording_surface.h"
#include "tests/screens/screen_fixture.h"

namespace {

constexpr float kInfinity = std::numeric_limits<float>::infinity();
constexpr float kNan = std::numeric_limits<float>::quiet_NaN();

// A row of small glyphs as the player reads it, with where its first glyph starts.
struct GlyphRow {
    std::string text;
    int left = 0;
    int right = 0;  // where the last glyph ends
};

// The small digits and points copied with their top at y between xMin and xMax, left to
// right; a gap other than the 11-pixel pitch shows as '_'.
GlyphRow ReadGlyphs(const std::vector<Drawn>& log, int y, int xMin, int xMax) {
    std::vector<const Drawn*> glyphs;
    for (const Drawn& d : log) {
        if (d.kind == Drawn::Copy && d.image == ImageId::Hisco && d.source.top == 48 &&
            d.source.bottom == 64 && d.y == y && d.x >= xMin && d.x < xMax) {
            glyphs.push_back(&d);
        }
    }
    std::sort(glyphs.begin(), glyphs.end(), [](auto* a, auto* b) { return a->x < b->x; });
    GlyphRow row;
    for (size_t i = 0; i < glyphs.size(); ++i) {
        const Drawn& g = *glyphs[i];
        if (i > 0 && g.x - glyphs[i - 1]->x != 11) row.text += '_';
        bool isPoint = g.source.left == 80 && g.source.right == 88;
        bool isDigit =
            g.source.left % 8 == 0 && g.source.left < 80 && g.source.right == g.source.left + 8;
        row.text += isPoint ? '.' : isDigit ? static_cast<char>('0' + g.source.left / 8) : '?';
    }
    if (!glyphs.empty()) {
        row.left = glyphs.front()->x;
        row.right = glyphs.back()->x + 8;
    }
    return row;
}

class TableScreens : public ScreenFixture {
protected:
    void SetUp() override {
        ScreenFixture::SetUp();
        StartIn(ScreenMode::Window32);
    }
};

TEST_F(TableScreens, ResultsShowScoreSpeedAndMistakesEndingAt282) {
    struct Case {
        int32_t score;
        float speed;
        int32_t mistakes;
        const char *scoreText, *speedText, *mistakesText;
        int speedLeft;
    };
    const Case cases[] = {
        {0, 0.0f, 0, "0", "0.00", "0", 241},
        {12345, 4.25f, 7, "12345", "4.25", "7", 241},
        {12345, 4.56f, 7, "12345", "4.55", "7", 241},
        // Below 10 four glyphs, the units digit at 241; 9.99 lies just below itself in single
        // precision and the digits are truncated.
        {1, 9.99f, 1, "1", "9.98", "1", 241},
        // From 10 on five glyphs, the tens digit at 230.
        {999999, 10.0f, 999, "999999", "10.00", "999", 230},
        {1000000, 7.5f, 1234, "999999", "7.50", "999", 241},
        {INT32_MAX, 12.34f, INT32_MAX, "999999", "12.34", "999", 230},
        // What no glyph can show.
        {-1, -0.5f, -1, "0", "0.00", "0", 241},
        {INT32_MIN, kNan, INT32_MIN, "0", "0.00", "0", 241},
        {5, -kInfinity, 5, "5", "0.00", "5", 241},
        // 100 and more, infinity too, show the limit; the limit itself shows 99.99.
        {5, 100.0f, 5, "5", "99.99", "5", 230},
        {5, kInfinity, 5, "5", "99.99", "5", 230},
        {5, 99.99f, 5, "5", "99.99", "5", 230},
        {5, 1e30f, 5, "5", "99.99", "5", 230},
        {5, 99.98f, 5, "5", "99.98", "5", 230},
    };
    for (const auto& c : cases) {
        RecordingFrame frame;
        DrawResultsScreen(c.score, c.speed, c.mistakes);
        const std::string what = "results " + std::string(c.scoreText) + " " + c.speedText;
        GlyphRow score = ReadGlyphs(frame.Log(), 96, 150, 290);
        GlyphRow speed = ReadGlyphs(frame.Log(), 128, 150, 290);
        GlyphRow mistakes = ReadGlyphs(frame.Log(), 160, 150, 290);
        EXPECT_EQ(score.text, c.scoreText) << what;
        EXPECT_EQ(speed.text, c.speedText) << what;
        EXPECT_EQ(mistakes.text, c.mistakesText) << what;
        EXPECT_EQ(speed.left, c.speedLeft) << what;
        for (const GlyphRow* row : {&score, &speed, &mistakes}) EXPECT_EQ(row->right, 282) << what;
    }
}

TEST_F(TableScreens, RankingsLowerWhatTheyCannotShowInTheRankingsThemselves) {
    Rankings rankings = {{1000000, 999999, 5, 0, -7}, {100.0f, kInfinity, kNan, 12.34f, -1.0f}};
    const int32_t scoresAfter[] = {999999, 999999, 5, 0, -7};
    const char* scoreTexts[] = {"999999", "999999", "5", "0", "0"};
    const char* speedTexts[] = {"99.99", "99.99", "0.00", "12.34", "0.00"};
    // Drawn twice: the second time from the lowered values, as after a later visit.
    for (int pass = 0; pass < 2; ++pass) {
        RecordingFrame frame;
        DrawRankingsScreen(rankings);
        for (int r = 0; r < kRankingCount; ++r) {
            const int y = 112 + 32 * r;
            GlyphRow score = ReadGlyphs(frame.Log(), y, 32, 224);
            GlyphRow speed = ReadGlyphs(frame.Log(), y, 256, 448);
            EXPECT_EQ(score.text, scoreTexts[r]) << "pass " << pass << " row " << r;
            EXPECT_EQ(score.right, 170) << "row " << r;
            EXPECT_EQ(speed.text, speedTexts[r]) << "pass " << pass << " row " << r;
            EXPECT_EQ(speed.right, 394) << "row " << r;
            EXPECT_EQ(rankings.scores[r], scoresAfter[r]) << "row " << r;
        }
        EXPECT_EQ(rankings.speeds[0], 99.99f);
        EXPECT_EQ(rankings.speeds[1], 99.99f);
        EXPECT_TRUE(std::isnan(rankings.speeds[2])) << "only 100 and more is lowered";
        EXPECT_EQ(rankings.speeds[3], 12.34f);
        EXPECT_EQ(rankings.speeds[4], -1.0f);
    }
}

}  // namespace
