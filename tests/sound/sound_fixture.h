// A window and a scripted host whose sound output is kept, for tests of our DirectSound, the
// mixer and the game's effects; and measures of what was played.
#pragma once

#include <dsound.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/core/window_state.h"
#include "platform/dsound/sound_objects.h"
#include "platform/faults/fault_points.h"
#include "platform/scripted/scripted_host.h"

namespace sound_test {

// Milliseconds to the scripted host's frames.
inline size_t Frame(uint64_t ms) {
    return static_cast<size_t>(ms * platform::ScriptedHost::kAudioRate / 1000);
}

// Root mean square of one channel (0 left, 1 right) between two times, full scale 1.0.
inline double Rms(const std::vector<int16_t>& samples, uint64_t fromMs, uint64_t toMs,
                  int channel) {
    double sum = 0;
    size_t count = 0;
    for (size_t frame = Frame(fromMs); frame < Frame(toMs) && frame * 2 < samples.size(); ++frame) {
        double value = samples[frame * 2 + channel] / 32768.0;
        sum += value * value;
        ++count;
    }
    return count == 0 ? 0.0 : std::sqrt(sum / static_cast<double>(count));
}

inline double Peak(const std::vector<int16_t>& samples, uint64_t fromMs, uint64_t toMs) {
    int peak = 0;
    for (size_t i = Frame(fromMs) * 2; i < Frame(toMs) * 2 && i < samples.size(); ++i) {
        peak = std::max(peak, std::abs(static_cast<int>(samples[i])));
    }
    return peak / 32768.0;
}

class SoundHostTest : public testing::Test {
protected:
    void SetUp() override {
        platform::ResetWindowState();
        platform::ResetDirectSoundState();
        platform::ResetFaults();
        NewHost();
    }
    void TearDown() override {
        platform::ResetDirectSoundState();
        platform::ResetFaults();
        platform::SetHost(nullptr);
        host.reset();
        platform::ResetWindowState();
    }
    // A fresh host from time 0 (the previous one's output is forgotten), with a window.
    void NewHost() {
        platform::ResetDirectSoundState();
        platform::SetHost(nullptr);
        host = std::make_unique<platform::ScriptedHost>(platform::Script{}, nullptr);
        host->RecordAudio();
        platform::SetHost(host.get());
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = DefWindowProcA;
        windowClass.lpszClassName = "soundtest";
        RegisterClassA(&windowClass);
        window = CreateWindowExA(0, "soundtest", "", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr,
                                 nullptr, nullptr);
    }
    // Lines of the log of one kind, without their times.
    std::vector<std::string> Logged(const std::string& kind) const {
        std::vector<std::string> lines;
        for (const auto& line : host->LogLines()) {
            auto space = line.find(' ');
            std::string rest = line.substr(space + 1);
            if (rest.rfind(kind + " ", 0) == 0) lines.push_back(rest.substr(kind.size() + 1));
        }
        return lines;
    }

    std::unique_ptr<platform::ScriptedHost> host;
    HWND window = nullptr;
};

}  // namespace sound_test
