// To be drawn: the results and rankings screens are stubs for now.
#include "screens/table_screens.h"

void DrawResultsScreen(int32_t, float, int32_t) {}
void DrawRankingsScreen(Rankings&) {}
