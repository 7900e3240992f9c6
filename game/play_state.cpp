#include "game/play_state.h"

PlayState play;

void ResetPlayState() {
    play = PlayState{};
}
