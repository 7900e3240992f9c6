// Stands in for the sound effects until they are built: silent, and never fails.
#include "sound/sound_effects.h"

int StartSoundEffects(HWND) {
    return 1;
}
void PlaySoundEffect(int) {}
void ReleaseSoundEffects() {}
