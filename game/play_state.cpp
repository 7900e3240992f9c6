#include "game/play_state.h"

PlayState play;
ShownPlayScreen shownPlayScreen;

void ResetPlayState() {
    play = PlayState{};
    shownPlayScreen = ShownPlayScreen{};
}
