// The game's nine sound effects: loaded at window creation, played by id, released at the end.
#pragma once

#include <windows.h>

// The effects, by the number the game plays them with.
enum class SoundId : int { Select, Decide, Type, Miss, Cool, LifeUp, Start1, Start2, End };

constexpr int kSoundEffectCount = 9;

// 1 on success, and also when there is no usable sound device: then every effect stays silent.
// 0 after its own message when an effect's file cannot be loaded.
int StartSoundEffects(HWND window);
// Plays one effect from its start; a number outside 0 to 8 plays nothing.
void PlaySoundEffect(int id);
inline void PlaySoundEffect(SoundId id) {
    PlaySoundEffect(static_cast<int>(id));
}
// Stops the effects and releases the sound device.
void ReleaseSoundEffects();
// Says once, in the debugger's output, that the game plays without sound (the effects or the
// music found no device); again only after ReleaseSoundEffects.
void SayPlayingWithoutSound();
