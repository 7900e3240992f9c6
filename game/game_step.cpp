// The game step: the step of the current phase, once a frame.
#include "game/game_step.h"

#include "game/game_state.h"
#include "game/phases.h"
#include "game/play_state.h"
#include "shell/shell_state.h"

void RunGameStep() {
    if (shell.displayRestored) {
        shell.displayRestored = false;
        // The other phases draw their whole screen on the redraw request that came with it.
        if (game.currentPhase == GamePhase::Play || game.currentPhase == GamePhase::GameOver) {
            RedrawPlayScreenAfterRestore();
        }
    }
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
