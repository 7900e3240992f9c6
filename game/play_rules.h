// The pieces of the play step, shared by the files that make it up.
#pragma once

#include "game/phases.h"  // DrawInTwoPasses
#include "typing/phrase_table.h"

// The phrase being typed.
const PhraseEntry& CurrentPhrase();

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
// Ends the current line when all of its romaji has been typed; the standard line's end
// completes the phrase.
void EndLineWhenTyped();
