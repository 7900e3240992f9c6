// A scratch game folder holding the real bgm/ files, the scripted host for its log, and COM
// and the mixer's sources back at their start.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/scripted/scripted_host.h"
#include "tests/typing/scratch_folder.h"

class MusicFolderTest : public ScratchFolderTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // The "music ..." lines logged so far.
    std::vector<std::string> MusicLog() const;
    // The next `frames` frames of the mix at 44100 Hz, left and right interleaved.
    std::vector<float> Mix(int frames);

    std::unique_ptr<platform::ScriptedHost> host;
};

// No sound: FluidSynth's reverb keeps a trace of about 1e-8 to keep clear of denormals.
bool Quiet(const std::vector<float>& samples);
// How far apart two renderings are: the RMS of their difference over the RMS of the first.
double RelativeDifference(const std::vector<float>& a, const std::vector<float>& b);
