#include "platform/sdl/settings_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "platform/sdl/window_scale.h"

namespace platform {
namespace {

// The file is a few dozen bytes; anything much larger is not ours.
constexpr std::streamsize kLargestFile = 4096;

bool ReadInteger(const std::string& text, int low, int high, int& value) {
    int read = 0;
    auto [end, problem] = std::from_chars(text.data(), text.data() + text.size(), read);
    if (problem != std::errc() || end != text.data() + text.size() || read < low || read > high) {
        return false;
    }
    value = read;
    return true;
}

bool MakeFolders(const std::string& folder) {
    // Each level in turn, as mkdir -p does.
    for (size_t slash = folder.find('/', 1);; slash = folder.find('/', slash + 1)) {
        std::string part = folder.substr(0, slash);
        if (mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) return false;
        if (slash == std::string::npos) return true;
    }
}

}  // namespace

HostSettings ParseHostSettings(const std::string& text) {
    HostSettings settings;
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        size_t equals = line.find('=');
        if (equals == std::string::npos) continue;
        std::string name = line.substr(0, equals);
        std::string value = line.substr(equals + 1);
        int number = 0;
        if (name == "volume-db" &&
            ReadInteger(value, kQuietestVolumeDb, kLoudestVolumeDb, number)) {
            settings.volumeDb = number;
        } else if (name == "muted" && ReadInteger(value, 0, 1, number)) {
            settings.muted = number == 1;
        } else if (name == "scale" && ReadInteger(value, 0, kLargestWindowScale, number)) {
            settings.windowScale = number;
        }
    }
    return settings;
}

std::string FormatHostSettings(const HostSettings& settings) {
    return "volume-db=" + std::to_string(settings.volumeDb) +
           "\nmuted=" + (settings.muted ? "1" : "0") +
           "\nscale=" + std::to_string(settings.windowScale) + "\n";
}

std::string HostSettingsPath() {
    const char* config = std::getenv("XDG_CONFIG_HOME");
    if (config != nullptr && config[0] == '/') return std::string(config) + "/parrun/settings";
    const char* home = std::getenv("HOME");
    if (home != nullptr && home[0] == '/') return std::string(home) + "/.config/parrun/settings";
    return "";
}

HostSettings LoadHostSettings(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) return {};
    std::string text(kLargestFile + 1, '\0');
    file.read(text.data(), kLargestFile + 1);
    if (file.gcount() > kLargestFile) return {};
    text.resize(static_cast<size_t>(file.gcount()));
    return ParseHostSettings(text);
}

bool SaveHostSettings(const std::string& path, const HostSettings& settings) {
    size_t slash = path.rfind('/');
    if (path.empty() || slash == std::string::npos) return false;
    if (slash > 0 && !MakeFolders(path.substr(0, slash))) return false;
    std::string temporary = path + ".new";
    int fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0) return false;
    std::string text = FormatHostSettings(settings);
    bool written =
        write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size()) && fsync(fd) == 0;
    written = close(fd) == 0 && written;
    if (!written || rename(temporary.c_str(), path.c_str()) != 0) {
        unlink(temporary.c_str());
        return false;
    }
    return true;
}

HostSettings ChangeVolume(HostSettings settings, int key) {
    if (key == 6) {
        settings.muted = !settings.muted;
        return settings;
    }
    int step = key == 7 ? -kVolumeStepDb : kVolumeStepDb;
    settings.volumeDb = std::clamp(settings.volumeDb + step, kQuietestVolumeDb, kLoudestVolumeDb);
    settings.muted = false;
    return settings;
}

float VolumeGain(const HostSettings& settings) {
    if (settings.muted) return 0.0f;
    return static_cast<float>(std::pow(10.0, settings.volumeDb / 20.0));
}

std::string DescribeVolume(const HostSettings& settings) {
    if (settings.muted) return "volume: muted";
    return "volume: " + std::to_string(settings.volumeDb) + " dB";
}

}  // namespace platform
