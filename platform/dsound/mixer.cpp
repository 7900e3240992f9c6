#include "platform/dsound/mixer.h"

#include <dsound.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

#include "platform/audio/audio_sources.h"
#include "platform/dsound/sound_objects.h"

namespace platform {

namespace {

struct Mixer final : AudioRenderer {
    void Render(float* out, int frames, int rate) override { RenderMix(out, frames, rate); }
    void Advance(int frames, int rate) override { AdvanceMix(frames, rate); }

    std::vector<SoundBuffer*> voices;
    float masterGain = 1.0f;
    Host* outputHost = nullptr;  // the host the output was started on, once tried
    bool warned = false;
};

// The mixer, its lock and the extra sources are never destroyed: the host's audio thread may
// still be mixing while a program that exit()s (an X server gone, say) runs its destructors.
Mixer& TheMixer() {
    static Mixer& mixer = *new Mixer;
    return mixer;
}

}  // namespace

std::mutex& MixerLock() {
    static std::mutex& lock = *new std::mutex;
    return lock;
}

void StartAudioOutput() {
    Mixer& mixer = TheMixer();
    if (mixer.outputHost != nullptr) return;
    mixer.outputHost = &CurrentHost();
    std::string whyNot;
    if (!mixer.outputHost->StartAudio(&mixer, whyNot) && !mixer.warned) {
        mixer.warned = true;
        std::fprintf(stderr, "parrun: no sound output (%s); playing without sound\n",
                     whyNot.c_str());
    }
}

void StopAudioOutput() {
    Mixer& mixer = TheMixer();
    if (mixer.outputHost == nullptr) return;
    Host* host = mixer.outputHost;
    mixer.outputHost = nullptr;
    host->StopAudio();
}

void AudioHostGone(Host* host) {
    if (TheMixer().outputHost == host) TheMixer().outputHost = nullptr;
}

void AddVoice(SoundBuffer* buffer) {
    auto& voices = TheMixer().voices;
    if (std::find(voices.begin(), voices.end(), buffer) == voices.end()) voices.push_back(buffer);
}

void RemoveVoice(SoundBuffer* buffer) {
    auto& voices = TheMixer().voices;
    voices.erase(std::remove(voices.begin(), voices.end(), buffer), voices.end());
}

void SetMasterVolume(long volume) {
    std::lock_guard<std::mutex> guard(MixerLock());
    TheMixer().masterGain = VolumeToGain(volume);
}

float VolumeToGain(long volume) {
    if (volume <= DSBVOLUME_MIN) return 0.0f;
    return static_cast<float>(std::pow(10.0, static_cast<double>(volume) / 2000.0));
}

namespace {

void MixVoices(float* out, int frames, int rate) {
    std::fill(out, out + static_cast<size_t>(frames) * 2, 0.0f);
    std::lock_guard<std::mutex> guard(MixerLock());
    Mixer& mixer = TheMixer();
    // A voice that plays to its end leaves the list, so walk a copy.
    std::vector<SoundBuffer*> voices = mixer.voices;
    for (SoundBuffer* voice : voices) voice->MixInto(out, frames, rate, mixer.masterGain);
}

}  // namespace

void RenderMix(float* out, int frames, int rate) {
    MixVoices(out, frames, rate);
    MixAudioSources(out, frames, rate);
    for (size_t i = 0; i < static_cast<size_t>(frames) * 2; ++i) out[i] = LimitPeak(out[i]);
}

float LimitPeak(float sample) {
    // The music peaks near -4.5 dBFS and an effect at -8.6 (after the game's -5 dB), so one
    // effect over the music's loudest sample reaches -0.3 dBFS at most; but two effects that
    // overlap there could pass full scale (docs/audio.md). Those rare moments bend smoothly
    // towards the ceiling instead of being cut flat.
    constexpr float kKnee = 0.9f;
    constexpr float kCeiling = 0.9995f;  // 32751 of 32767: never a sample at full scale
    float size = std::fabs(sample);
    if (!(size > kKnee)) return sample;
    float bent = kKnee + (kCeiling - kKnee) * std::tanh((size - kKnee) / (kCeiling - kKnee));
    return std::copysign(bent, sample);
}

void AdvanceMix(int frames, int rate) {
    // The sound buffers are cheap to mix and their positions are what programs read back, so
    // they mix as ever; the extra sources (the music's synthesiser) only move on.
    thread_local std::vector<float> unheard;
    unheard.resize(static_cast<size_t>(frames) * 2);
    MixVoices(unheard.data(), frames, rate);
    SkipAudioSources(frames, rate);
}

}  // namespace platform
