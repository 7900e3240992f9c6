// The layer's mixer: it sums every playing secondary sound buffer (one voice each, at its own
// rate, volume and pan) and the extra sources of audio_sources.h into the host's output.
#pragma once

#include <mutex>

#include "platform/core/host.h"

namespace platform {

class SoundBuffer;

// Starts the host's sound output with the mixer feeding it, once; later calls do nothing.
// When the host has no output the game goes on silently, and standard error says so once.
void StartAudioOutput();
// Stops the host's output (for tests); the next StartAudioOutput starts it again.
void StopAudioOutput();
// A host is going away: if the output runs on it, the mixer forgets it without calling it.
void AudioHostGone(Host* host);

// Guards every voice's playing state; the mixer holds it while it renders.
std::mutex& MixerLock();
// A secondary buffer joins or leaves the mix (call with MixerLock held).
void AddVoice(SoundBuffer* buffer);
void RemoveVoice(SoundBuffer* buffer);
// The primary buffer's volume, in hundredths of a decibel, over every voice.
void SetMasterVolume(long volume);

// What the host pulls: the voices and the attached sources, `frames` stereo frames at `rate`,
// each sample passed through LimitPeak.
void RenderMix(float* out, int frames, int rate);
// A sample of the sum as it leaves the mixer: the same up to 0.9 (-0.9 dBFS), then bent
// smoothly so that it stays below full scale however loud the sum.
float LimitPeak(float sample);
// Lets `frames` frames pass as RenderMix would, for an output nobody hears.
void AdvanceMix(int frames, int rate);
// The amplitude factor of a volume in hundredths of a decibel (0 at DSBVOLUME_MIN and below).
float VolumeToGain(long volume);

}  // namespace platform
