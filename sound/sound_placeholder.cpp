// Stands in for the sound effects and the music until they are built: silent, and never fails.
#include "sound/music.h"
#include "sound/sound_effects.h"

int StartSoundEffects(HWND) {
    return 1;
}
void PlaySoundEffect(int) {}
void ReleaseSoundEffects() {}

int CreateMusic() {
    return 1;
}
void LoadMusic() {}
int PlayMusic(int) {
    return 0;
}
void ReleaseMusic() {}
