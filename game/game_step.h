// One step of the game, run by the main loop once a frame while the window is active.
#pragma once

void RunGameStep();
