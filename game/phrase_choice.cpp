// The phrase choice: a fresh draw from the game's own generator, seeded with a clock value.
#include "game/game_state.h"
#include "game/phrase_random.h"
#include "game/play_state.h"

void ChoosePhrase(uint32_t seed) {
    PhraseRandom random;
    random.Seed(seed);
    int32_t r = random.Next();
    // The table is never empty while a game runs; an empty one still gives a valid index.
    play.phraseIndex = game.phraseCount > 0 ? r % game.phraseCount : 0;
}
