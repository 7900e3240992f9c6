// The SDL host's sound output: the default device in 32-bit float stereo at the rate it
// prefers (44100 Hz asked for), filled by the mixer on SDL's audio thread and turned down by
// the player's volume.
#include "platform/sdl/sdl_host.h"

namespace platform {

bool SdlHost::StartAudio(AudioRenderer* renderer, std::string& whyNot) {
    if (audioDevice_ != 0) return true;
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        whyNot = SDL_GetError();
        return false;
    }
    SDL_AudioSpec wanted = {};
    wanted.freq = 44100;
    wanted.format = AUDIO_F32SYS;
    wanted.channels = 2;
    wanted.samples = 1024;
    wanted.callback = &SdlHost::AudioCallback;
    wanted.userdata = this;
    SDL_AudioSpec obtained = {};
    audioRenderer_ = renderer;
    // SDL converts to the device's format and channels; only the rate is taken as it comes.
    audioDevice_ =
        SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained, SDL_AUDIO_ALLOW_FREQUENCY_CHANGE);
    if (audioDevice_ == 0) {
        whyNot = SDL_GetError();
        audioRenderer_ = nullptr;
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    audioRate_ = obtained.freq;
    SDL_PauseAudioDevice(audioDevice_, 0);
    return true;
}

void SdlHost::StopAudio() {
    if (audioDevice_ == 0) return;
    // Closing waits for a callback in progress.
    SDL_CloseAudioDevice(audioDevice_);
    audioDevice_ = 0;
    audioRenderer_ = nullptr;
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

void SdlHost::AudioCallback(void* host, Uint8* stream, int length) {
    auto* self = static_cast<SdlHost*>(host);
    auto* out = reinterpret_cast<float*>(stream);
    int frames = length / static_cast<int>(2 * sizeof(float));
    self->audioRenderer_->Render(out, frames, self->audioRate_);
    float gain = self->gain_.load(std::memory_order_relaxed);
    if (gain == 1.0f) return;
    for (int i = 0; i < frames * 2; ++i) out[i] *= gain;
}

}  // namespace platform
