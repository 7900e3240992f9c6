// A finished game enters the two rankings: the score among the best scores, the typing speed
// among the best speeds. A value equal to a stored one goes below it, and the file is saved
// after each entry.
#include "game/play_state.h"
#include "typing/typing_records.h"

namespace {

// Puts the value in the first place whose entry is strictly lower, moving the rest down one
// place. Returns the place taken, 1 to 5, or 0.
template <typename T>
int EnterValue(T (&entries)[kRankingCount], T value) {
    for (int k = 0; k < kRankingCount; ++k) {
        if (entries[k] < value) {
            for (int i = kRankingCount - 1; i > k; --i) entries[i] = entries[i - 1];
            entries[k] = value;
            SaveRankings(rankings);
            return k + 1;
        }
    }
    return 0;
}

}  // namespace

RankingPlaces InsertIntoRankings() {
    RankingPlaces places;
    places.score = EnterValue(rankings.scores, play.score);
    places.speed = EnterValue(rankings.speeds, play.typingSpeed);
    return places;
}
