// The test of one keystroke in play: does the key stand for the next character of the romaji?
#pragma once

// 1 when the key's character (virtual-key codes 65 to 90 for "a" to "z", 189 for "-") equals
// romaji[position]; 0 for any other key, or a position outside the NUL-terminated romaji.
int KeyMatchesRomaji(const char* romaji, int keyCode, int position);
