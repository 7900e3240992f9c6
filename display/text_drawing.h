// Text in the game's fixed-pitch gothic font, drawn into the frame at play-area coordinates:
// 20-pixel text with a light shadow, and 15-pixel bold text. The text is Shift-JIS; the
// length counts bytes.
#pragma once

void DrawTextShadowed(const char* text, int x, int y, int length, int red, int green, int blue);
void DrawTextBold(const char* text, int x, int y, int length, int red, int green, int blue);
