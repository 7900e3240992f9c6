// The steps of the game's phases, one function each, run by the game step; and the drawing
// pattern they share.
#pragma once

#include "display/drawing.h"

void RunTitleStep();
void RunSettingsStep();
void RunReadyStep();
void RunGameOverStep();
void RunRankingsStep();
void RunResultsStep();
// After the display was lost and restored during play or the game-over pause: the whole play
// screen as it was last drawn, with its numbers, both windows with the phrase text, the mark of
// a phrase just completed, and the game-over picture after a game.
void RedrawPlayScreenAfterRestore();

// A phase clears the request for a whole redraw before it draws, so that a present which finds
// the display lost (and restores it) asks again, and the next step draws everything anew.
//
// Draws a picture that later steps update only in part twice, presenting after each pass, so
// that both pages of a full-screen flip chain hold it.
template <typename Draw>
void DrawInTwoPasses(Draw draw) {
    for (int pass = 0; pass < 2; ++pass) {
        draw();
        PresentFrame();
    }
}
