// What the SDL host keeps for the next start: the sound volume and the window's scale, in a
// small text file of its own ($XDG_CONFIG_HOME/parrun/settings, by default
// ~/.config/parrun/settings), apart from the game's own files in the game folder:
//
//     volume-db=-6
//     muted=0
//     scale=3
//
// A missing or unreadable file, or a line that can't be read, leaves the default for what it
// would have set: full volume, not muted, the scale chosen from the desktop.
#pragma once

#include <string>

namespace platform {

// The volume moves in steps of 3 dB between -30 dB and 0 dB. The top is the mix as the game
// makes it: any gain above it would clip the loudest moments of the music and effects, which
// the mix already brings close to full scale. Thirty decibels below, the game is barely heard
// on loud speakers; quieter than that is what muting is for.
constexpr int kVolumeStepDb = 3;
constexpr int kQuietestVolumeDb = -30;
constexpr int kLoudestVolumeDb = 0;

struct HostSettings {
    int volumeDb = 0;
    bool muted = false;
    int windowScale = 0;  // 0: chosen from the desktop
    bool operator==(const HostSettings&) const = default;
};

// The settings in `text`, the content of a settings file.
HostSettings ParseHostSettings(const std::string& text);
std::string FormatHostSettings(const HostSettings& settings);

// The settings file's path from the environment, or empty when there is no place for it
// (neither an absolute XDG_CONFIG_HOME nor HOME).
std::string HostSettingsPath();
// The settings in the file at `path`; the defaults when it can't be read.
HostSettings LoadHostSettings(const std::string& path);
// Writes the settings to a new file beside `path` and renames it over `path`, so that a
// crash or a full disk leaves the old file or the new one, never half of one. Makes the
// folder if needed. False when it could not be written.
bool SaveHostSettings(const std::string& path, const HostSettings& settings);

// The volume keys: F6 mutes or unmutes, F7 makes it quieter and F8 louder by a step (and
// unmute). `key` is 6, 7 or 8.
HostSettings ChangeVolume(HostSettings settings, int key);
// The factor the mixer's output is multiplied by.
float VolumeGain(const HostSettings& settings);
// One line for the terminal: "volume: -6 dB" or "volume: muted".
std::string DescribeVolume(const HostSettings& settings);

}  // namespace platform
