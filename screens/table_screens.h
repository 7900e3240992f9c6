// The two screens of numbers in tables: the results of a game, drawn over the finished play
// screen, and the rankings of the best five scores and speeds.
#pragma once

#include <cstdint>

#include "typing/rankings.h"

// The score, the typing speed and the mistakes of the game just over.
void DrawResultsScreen(int32_t score, float speed, int32_t mistakes);
// Both tables, best first. A stored score above 999999 or a speed of 100 or more is lowered
// to what the screen can show, in the rankings themselves.
void DrawRankingsScreen(Rankings& rankings);
