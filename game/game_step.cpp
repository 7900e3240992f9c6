// The game step. The phases are not built yet: a step does nothing.
#include "game/game_step.h"

void RunGameStep() {}
