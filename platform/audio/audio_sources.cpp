#include "platform/audio/audio_sources.h"

#include <algorithm>
#include <mutex>
#include <vector>

namespace platform {
namespace {

std::mutex& SourcesLock() {
    static std::mutex lock;
    return lock;
}

std::vector<AudioSource*>& Sources() {
    static std::vector<AudioSource*> sources;
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

}  // namespace platform
