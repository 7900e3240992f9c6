// The game's nine sound effects: loaded at window creation, played by id, released at the end.
#pragma once

#include <windows.h>

enum class SoundId { Select, Decide, Type, Miss, Cool, LifeUp, Start1, Start2, End };

// 1 on success; shows its own message when an effect's file cannot be loaded.
int StartSoundEffects(HWND window);
// Plays one effect from its start.
void PlaySoundEffect(SoundId id);
// Stops the effects and releases the sound device.
void ReleaseSoundEffects();
