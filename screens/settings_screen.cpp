// To be drawn: the settings screen's operations are stubs for now.
#include "screens/settings_screen.h"

void DrawSettingsBackground() {}
void DrawSettingsLabels() {}
void DrawSettingsCursor(int32_t) {}
void DrawSettingsChoice(int32_t, const int32_t (&)[9]) {}
