// To be built: the rules of play. Until then a game ends as soon as it starts.
#include "game/game_state.h"
#include "game/play_state.h"
#include "shell/shell_state.h"

void RunPlayStep() {
    shell.screenDirty = true;
    shell.phraseDirty = true;
    game.currentPhase = GamePhase::GameOver;
}

void ChoosePhrase(uint32_t) {
    play.phraseIndex = 0;
}

RankingPlaces InsertIntoRankings() {
    return {};
}
