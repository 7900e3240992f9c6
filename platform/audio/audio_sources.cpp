#include "platform/audio/audio_sources.h"

#include <algorithm>
#include <mutex>
#include <vector>

namespace platform {
namespace {

// Never destroyed, like the mixer that reads them from the host's audio thread.
std::mutex& SourcesLock() {
    static std::mutex& lock = *new std::mutex;
    return lock;
}

std::vector<AudioSource*>& Sources() {
    static std::vector<AudioSource*>& sources = *new std::vector<AudioSource*>;
    return sources;
}

}  // namespace

void AttachAudioSource(AudioSource* source) {
    std::lock_guard<std::mutex> guard(SourcesLock());
    auto& sources = Sources();
    if (std::find(sources.begin(), sources.end(), source) == sources.end()) {
        sources.push_back(source);
    }
}

void DetachAudioSource(AudioSource* source) {
    std::lock_guard<std::mutex> guard(SourcesLock());
    auto& sources = Sources();
    sources.erase(std::remove(sources.begin(), sources.end(), source), sources.end());
}

void MixAudioSources(float* out, int frames, int rate) {
    std::lock_guard<std::mutex> guard(SourcesLock());
    for (AudioSource* source : Sources()) source->MixInto(out, frames, rate);
}

void SkipAudioSources(int frames, int rate) {
    std::lock_guard<std::mutex> guard(SourcesLock());
    for (AudioSource* source : Sources()) source->Skip(frames, rate);
}

}  // namespace platform
