// The settings screen where the player picks one of two romaji spellings for each of nine
// kana: rows 0 to 5 in the left column, 6 to 8 in the right.
#pragma once

#include <cstdint>

// The frames, rules and pictures of the screen.
void DrawSettingsBackground();
// Every kana and both spellings of every row, in black.
void DrawSettingsLabels();
// The row's kana highlighted and its two neighbours' (the rows form a ring) in black.
void DrawSettingsCursor(int32_t row);
// The row's two spellings, the chosen one highlighted: the second when its value is not 0.
void DrawSettingsChoice(int32_t row, const int32_t (&values)[9]);
