// A finished game enters the rankings: strictly better values only, equal ones below, and the
// file saved after each entry.
#include <gtest/gtest.h>

#include <array>

#include "game/play_state.h"
#include "tests/case_names.h"
#include "tests/game/play_fakes.h"
#include "typing/typing_records.h"

namespace {

using Scores = std::array<int32_t, kRankingCount>;
using Speeds = std::array<float, kRankingCount>;

struct InsertionCase {
    const char* name;
    Scores scores;
    Speeds speeds;
    int32_t score;
    float speed;
    Scores endScores;
    Speeds endSpeeds;
    int scorePlace, speedPlace;
};

Scores ScoresOf(const Rankings& r) {
    Scores s;
    std::copy(std::begin(r.scores), std::end(r.scores), s.begin());
    return s;
}
Speeds SpeedsOf(const Rankings& r) {
    Speeds s;
    std::copy(std::begin(r.speeds), std::end(r.speeds), s.begin());
    return s;
}

class InsertionTest : public testing::TestWithParam<InsertionCase> {};

TEST_P(InsertionTest, EntersAndSaves) {
    const InsertionCase& c = GetParam();
    fakes = PlayFakes{};
    ResetPlayState();
    ResetTypingRecords();
    std::copy(c.scores.begin(), c.scores.end(), rankings.scores);
    std::copy(c.speeds.begin(), c.speeds.end(), rankings.speeds);
    play.score = c.score;
    play.typingSpeed = c.speed;
    RankingPlaces places = InsertIntoRankings();
    EXPECT_EQ(places.score, c.scorePlace);
    EXPECT_EQ(places.speed, c.speedPlace);
    EXPECT_EQ(ScoresOf(rankings), c.endScores);
    EXPECT_EQ(SpeedsOf(rankings), c.endSpeeds);
    // One save for each list entered, each holding what was entered so far.
    size_t saves = (c.scorePlace ? 1 : 0) + (c.speedPlace ? 1 : 0);
    ASSERT_EQ(fakes.saves.size(), saves);
    if (c.scorePlace) {
        EXPECT_EQ(ScoresOf(fakes.saves[0]), c.endScores);
        EXPECT_EQ(SpeedsOf(fakes.saves[0]), c.speeds);
    }
    if (saves > 0) {
        EXPECT_EQ(SpeedsOf(fakes.saves.back()), c.endSpeeds);
    }
}

// Stored lists the cases start from.
constexpr Scores kScores = {500, 400, 300, 200, 100};
constexpr Speeds kSpeeds = {5, 4, 3, 2, 1};

INSTANTIATE_TEST_SUITE_P(
    Rankings, InsertionTest,
    testing::Values(InsertionCase{"FirstGameEntersBoth", {}, {}, 120, 2.5f, {120}, {2.5f}, 1, 1},
                    InsertionCase{"NothingEntersZeros", {}, {}, 0, 0.0f, {}, {}, 0, 0},
                    InsertionCase{"BestMovesTheRestDown",
                                  kScores,
                                  kSpeeds,
                                  600,
                                  0.5f,
                                  {600, 500, 400, 300, 200},
                                  kSpeeds,
                                  1,
                                  0},
                    InsertionCase{"EqualScoreGoesBelow",
                                  kScores,
                                  kSpeeds,
                                  300,
                                  0.5f,
                                  {500, 400, 300, 300, 200},
                                  kSpeeds,
                                  4,
                                  0},
                    InsertionCase{"EqualToTheFifthStaysOut", kScores, kSpeeds, 100, 1.0f, kScores,
                                  kSpeeds, 0, 0},
                    InsertionCase{"EqualSpeedGoesBelow",
                                  kScores,
                                  {3, 2, 1, 0, 0},
                                  50,
                                  2.0f,
                                  kScores,
                                  {3, 2, 2, 1, 0},
                                  0,
                                  3},
                    InsertionCase{"BothInTheMiddle",
                                  kScores,
                                  kSpeeds,
                                  250,
                                  4.5f,
                                  {500, 400, 300, 250, 200},
                                  {5, 4.5f, 4, 3, 2},
                                  4,
                                  2}),
    CaseName());

}  // namespace
