// The phrase choice: the generator's numbers are pinned, so every platform and host shows the
// same phrases for the same seed, and the choice reaches every phrase of a table.
#include <gtest/gtest.h>

#include <set>

#include "game/game_state.h"
#include "game/phrase_random.h"
#include "game/play_state.h"

namespace {

struct Reference {
    uint32_t seed;
    int32_t first;
};

TEST(PhraseRandomTest, GivesTheDocumentedNumbers) {
    const Reference references[] = {
        {0, 1231361927},
        {1, 1263566005},
        {10000, 1240571611},
        {0xFFFFFFFFu, 460282497},
    };
    for (const Reference& r : references) {
        PhraseRandom random;
        random.Seed(r.seed);
        EXPECT_EQ(random.Next(), r.first) << r.seed;
        // The state moves on: seeding again starts the same sequence over.
        int32_t second = random.Next();
        EXPECT_NE(second, r.first) << r.seed;
        random.Seed(r.seed);
        EXPECT_EQ(random.Next(), r.first) << r.seed;
        EXPECT_EQ(random.Next(), second) << r.seed;
    }
}

struct ChoiceCase {
    uint32_t seed;
    int16_t count;
    int32_t index;
};

TEST(ChoosePhraseTest, TakesTheNumberModuloTheCount) {
    const ChoiceCase cases[] = {
        {0, 7, 1231361927 % 7},
        {10000, 256, 1240571611 % 256},
        {0xFFFFFFFFu, 3, 460282497 % 3},
        {10000, 1, 0},
        {10000, 0, 0},  // no phrases at all still gives a valid slot
    };
    for (const ChoiceCase& c : cases) {
        ResetPlayState();
        ResetGameState();
        game.phraseCount = c.count;
        play.phraseIndex = 99;
        ChoosePhrase(c.seed);
        EXPECT_EQ(play.phraseIndex, c.index) << c.seed << " of " << c.count;
    }
}

TEST(ChoosePhraseTest, ReachesEveryPhraseFromFrameStamps) {
    // Seeds a frame apart, as the clock gives them, spread over the whole table.
    for (int16_t count : {2, 5, 256}) {
        ResetGameState();
        game.phraseCount = count;
        std::set<int32_t> chosen;
        for (uint32_t seed = 0xFFFF0000u;
             chosen.size() < static_cast<size_t>(count) && seed != 0xFFFF0000u + 16u * 20000u;
             seed += 16) {
            ChoosePhrase(seed);
            ASSERT_GE(play.phraseIndex, 0);
            ASSERT_LT(play.phraseIndex, count);
            chosen.insert(play.phraseIndex);
        }
        EXPECT_EQ(chosen.size(), static_cast<size_t>(count));
    }
}

}  // namespace
