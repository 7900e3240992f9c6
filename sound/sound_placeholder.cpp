// Stands in for the sound effects and the music until they are built: silent, and never fails.
#include "sound/music.h"
#include "sound/sound_effects.h"

int StartSoundEffects(HWND window) {
    return 1;
}
void PlaySoundEffect(SoundId id) {}
void ReleaseSoundEffects() {}

int CreateMusic() {
    return 1;
}
void LoadMusic() {}
void PlayMusic(MusicId id) {}
void ReleaseMusic() {}
