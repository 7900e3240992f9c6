// The SDL host's own keys and what it keeps for the next start: the volume (F6 mutes, F7 and
// F8 step it) and the window's scale (F9 and F10), in the settings file.
#include <cstdio>

#include "platform/sdl/sdl_host.h"

namespace platform {

void SdlHost::UseSettingsFile(const std::string& path) {
    settingsPath_ = path;
    settings_ = path.empty() ? HostSettings{} : LoadHostSettings(path);
    keptSettings_ = settings_;
    gain_.store(VolumeGain(settings_), std::memory_order_relaxed);
    // A game that starts silent says why.
    if (settings_.muted) std::fputs("volume: muted (F6 unmutes)\n", stderr);
    // A scale given on the command line wins for this run.
    if (windowScale_ <= 0 && settings_.windowScale > 0) {
        windowScale_ = settings_.windowScale;
        scaleFromSettings_ = true;
    }
}

bool SdlHost::HandleHostKey(SDL_Keycode key) {
    switch (key) {
        case SDLK_F6:
        case SDLK_F7:
        case SDLK_F8:
            settings_ = ChangeVolume(settings_, key == SDLK_F6 ? 6 : key == SDLK_F7 ? 7 : 8);
            gain_.store(VolumeGain(settings_), std::memory_order_relaxed);
            std::fprintf(stderr, "%s\n", DescribeVolume(settings_).c_str());
            KeepSettings();
            return true;
        case SDLK_F9:
        case SDLK_F10:
            ChangeWindowScale(key == SDLK_F9 ? -1 : 1);
            return true;
        default:
            return false;
    }
}

void SdlHost::KeepSettings() {
    if (settingsPath_.empty() || settings_ == keptSettings_) return;
    if (!SaveHostSettings(settingsPath_, settings_)) {
        std::fprintf(stderr, "parrun: cannot write %s\n", settingsPath_.c_str());
    }
    // Tried once: a file that can't be written is not tried again for every key.
    keptSettings_ = settings_;
}

}  // namespace platform
