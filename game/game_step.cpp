// The game step: the step of the current phase, once a frame.
#include "game/game_step.h"

#include "game/game_state.h"
#include "game/phases.h"
#include "game/play_state.h"

void RunGameStep() {
    switch (game.currentPhase) {
        case GamePhase::Title:
            RunTitleStep();
            break;
        case GamePhase::Play:
            RunPlayStep();
            break;
        case GamePhase::RankingsView:
            RunRankingsStep();
            break;
        case GamePhase::Results:
            RunResultsStep();
            break;
        case GamePhase::Ready:
            RunReadyStep();
            break;
        case GamePhase::GameOver:
            RunGameOverStep();
            break;
        case GamePhase::Settings:
            RunSettingsStep();
            break;
    }
}
