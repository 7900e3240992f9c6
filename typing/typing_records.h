// The program-wide typing records: the phrase table, the player's romaji preferences and the
// rankings, one instance each for the whole run.
#pragma once

#include "typing/phrase_table.h"
#include "typing/rankings.h"
#include "typing/romaji_preferences.h"

extern PhraseTable phraseTable;
extern RomajiPreferences romajiPreferences;
extern Rankings rankings;

// Puts all three back to their starting values: every byte zero.
void ResetTypingRecords();
