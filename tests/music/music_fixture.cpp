#include "tests/music/music_fixture.h"

#include <algorithm>
#include <cmath>
#include <filesystem>

#include "platform/audio/audio_sources.h"
#include "platform/com/com_classes.h"
#include "platform/faults/fault_points.h"

void MusicFolderTest::SetUp() {
    ScratchFolderTest::SetUp();
    std::filesystem::create_directory("bgm");
    for (const char* name : {"title.mid", "game.mid"}) {
        std::filesystem::copy_file(std::filesystem::path(PARRUN_DATA_DIR) / "bgm" / name,
                                   std::filesystem::path("bgm") / name);
    }
    platform::ResetCom();
    platform::ResetFaults();
    host = std::make_unique<platform::ScriptedHost>(platform::Script{}, nullptr);
    platform::SetHost(host.get());
}

void MusicFolderTest::TearDown() {
    platform::SetHost(nullptr);
    platform::ResetCom();
    platform::ResetFaults();
    ScratchFolderTest::TearDown();
}

std::vector<std::string> MusicFolderTest::MusicLog() const {
    std::vector<std::string> lines;
    for (const std::string& line : host->LogLines())
        if (line.find(" music") != std::string::npos) lines.push_back(line);
    return lines;
}

std::vector<float> MusicFolderTest::Mix(int frames) {
    std::vector<float> samples(2 * static_cast<size_t>(frames), 0.0f);
    for (int done = 0; done < frames; done += 512) {
        platform::MixAudioSources(samples.data() + 2 * done, std::min(512, frames - done), 44100);
    }
    return samples;
}

bool Quiet(const std::vector<float>& samples) {
    return std::all_of(samples.begin(), samples.end(),
                       [](float s) { return std::fabs(s) < 1e-6f; });
}

double RelativeDifference(const std::vector<float>& a, const std::vector<float>& b) {
    double signal = 0, difference = 0;
    for (size_t i = 0; i < a.size() && i < b.size(); ++i) {
        signal += double{a[i]} * a[i];
        difference += (double{a[i]} - b[i]) * (double{a[i]} - b[i]);
    }
    return signal == 0 ? 1.0 : std::sqrt(difference / signal);
}
