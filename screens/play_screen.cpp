// To be drawn: the play screen's operations are stubs for now.
#include "screens/play_screen.h"

void DrawPlayScreen() {}
void DrawReadyWindow(int32_t) {}
void DrawPlayMark(PlayMark) {}
void ClearPlayPiece(PlayPiece) {}
void DrawScore(int32_t) {}
void DrawBonus(int32_t) {}
void DrawLives(int32_t) {}
void DrawTimerBar(int32_t) {}
