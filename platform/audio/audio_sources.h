// What the sound mixer adds to its output besides the sound buffers: the music synthesiser,
// for one. Sources are mixed on the host's audio thread (the SDL host) or against the virtual
// clock (the scripted host), so a source guards its own state.
#pragma once

namespace platform {

class AudioSource {
public:
    virtual ~AudioSource() = default;
    // Adds `frames` stereo frames at `rate` Hz to `out`, interleaved left and right, full
    // scale 1.0. Adds nothing when it has nothing to play.
    virtual void MixInto(float* out, int frames, int rate) = 0;
    // Moves on by `frames` frames as MixInto would, when nobody hears the output.
    virtual void Skip(int frames, int rate) = 0;
};

// A source joins the mix until it is detached; detaching waits for a mix in progress.
void AttachAudioSource(AudioSource* source);
void DetachAudioSource(AudioSource* source);
// Adds every attached source to `out` (called by the mixer).
void MixAudioSources(float* out, int frames, int rate);
// Moves every attached source on by `frames` frames, its sound unheard.
void SkipAudioSources(int frames, int rate);

}  // namespace platform
