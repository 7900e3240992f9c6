// The pieces of the play step, shared by the files that make it up. The rules themselves are in
// play_core.h; these draw and sound what they did.
#pragma once

#include <cstdint>

#include "game/phases.h"  // DrawInTwoPasses

// The phrase text of the current line: line 0 on cleared areas, line 1 with the dialect line
// shown as typed.
void DrawPhraseText();
// The romaji of the current line typed so far in red, after a wrong key with the expected
// letter in orange beneath.
void DrawTypedRomaji(bool missed);
// The phrase text as it was last drawn (nothing before play has drawn any), for a display
// that lost its picture.
void DrawShownPhraseText();
// Judges the key of this step against the current line and shows the result.
void JudgeKey(int key);
// Ends the current line when all of its romaji has been typed, in the step that read the clock
// at `now`; the standard line's end completes the phrase and shows its result.
void EndLineWhenTyped(uint32_t now);
// The play step, run once a frame while a game is on (play_state.h): the key of the frame, the
// timer's speed, the pause after a phrase, the timer's ticks, the phrase text, the key's
// judgement, the end of a line, and the end of the game.
