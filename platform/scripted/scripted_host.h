// The host for tests: a virtual millisecond clock that only Sleep and WaitMessage move, keys
// and answers taken from a script, a desktop of the script's depth, the last picture shown
// (written as PNG where the script asks), a sound output mixed against the virtual clock
// (written as a WAVE file where the script asks), and a log of what the program did, one
// event a line.
#pragma once

#include <cstdint>
#include <cstdio>
#include <deque>
#include <string>
#include <vector>

#include "platform/core/host.h"
#include "platform/scripted/script.h"

namespace platform {

// Thrown out of the program when the run must stop from outside: the script's end was reached
// (code 3, logged as "timeout") or the script asked for something this build cannot do.
struct RunEnded {
    int code;
};

class ScriptedHost : public Host {
public:
    // The log goes to `logFile` as it is written or, when that is null, is kept in LogLines().
    ScriptedHost(Script script, std::FILE* logFile);
    ~ScriptedHost() override;

    uint32_t Now() override;
    void Sleep(uint32_t milliseconds) override;
    void PumpEvents() override;
    void WaitForEvents() override;
    bool IsKeyDown(int virtualKey) override;
    int DesktopWidth() override { return 1024; }
    int DesktopHeight() override { return 768; }
    void CreateMainWindow(const std::string& titleUtf8, int clientX, int clientY, int clientWidth,
                          int clientHeight) override;
    void ShowMainWindow(bool visible) override {}
    void MoveMainWindow(int clientX, int clientY, int clientWidth, int clientHeight) override {}
    void DestroyMainWindow() override {}
    MessageBoxAnswer ShowMessageBox(const std::string& textUtf8, const std::string& captionUtf8,
                                    bool yesNo, int defaultButton) override;
    void DebugText(const std::string& text) override;
    void Report(const std::string& kind, const std::string& details) override {
        Log(kind, details);
    }
    int DesktopBits() override { return script_.desktopBits; }
    void EnterFullScreen(int width, int height, int bits) override;
    void LeaveFullScreen() override;
    void ShowWindowPicture(const uint32_t* pixels, int width, int height) override;
    void ShowFullScreenPicture(const uint8_t* indices, int width, int height,
                               const uint32_t* palette) override;
    bool StartAudio(AudioRenderer* renderer, std::string& whyNot) override;
    void StopAudio() override;
    void AudioChanging() override { RenderAudioTo(elapsed_); }

    // The sound output's rate: always 44100 Hz, so that runs are the same everywhere.
    static constexpr int kAudioRate = 44100;
    // Keeps what the sound output plays from now on (the script's `audio` line does too).
    void RecordAudio() { recordAudio_ = true; }
    // What was played up to now, 16-bit stereo, from the start of the run (silence before
    // the output started).
    const std::vector<int16_t>& AudioSamples();
    // Writes the script's `audio` file, if it has one; false when it can't be written.
    bool FinishAudio();

    // The last picture shown, as 0x00RRGGBB pixels, and how many have been shown.
    const std::vector<uint32_t>& Picture() const { return picture_; }
    int PictureWidth() const { return pictureWidth_; }
    int PictureHeight() const { return pictureHeight_; }
    int PicturesShown() const { return picturesShown_; }
    // The `shot` lines still waiting for their picture: nothing was shown at or after their time.
    const std::vector<const ScriptEvent*>& ShotsNotTaken() const { return shots_; }
    bool FullScreen() const { return fullScreen_; }

    // Milliseconds since the start of the run.
    uint64_t Elapsed() const { return elapsed_; }
    // Appends "T KIND DETAILS" to the log.
    void Log(const std::string& kind, const std::string& details);
    const std::vector<std::string>& LogLines() const { return log_; }  // empty with a log file
    const std::string& WindowTitle() const { return windowTitle_; }

private:
    void AdvanceTo(uint64_t time);
    void ApplyKeysUpTo(uint64_t time);
    void Deliver(const ScriptEvent& event);
    void PictureShown(const char* where);
    // Logs whether the two pages of the full-screen flip chain hold the same picture.
    void ComparePages(const ScriptEvent& event);
    void LogMemory();
    // Writes the back page of the full-screen flip chain.
    void ShootBackPage(const ScriptEvent& event);
    void WritePicture(const ScriptEvent& event, const std::vector<uint32_t>& pixels, int width,
                      int height);
    // Mixes the sound output up to `time` ms after the start.
    void RenderAudioTo(uint64_t time);

    Script script_;
    std::FILE* logFile_;
    uint64_t elapsed_ = 0;
    size_t nextKeyEvent_ = 0;
    size_t nextEvent_ = 0;
    bool keyDown_[256] = {};
    struct Answer {
        bool yes;
        uint64_t delay;
    };
    std::deque<Answer> answers_;
    std::vector<std::string> log_;
    std::string windowTitle_;
    std::vector<const ScriptEvent*> shots_;  // not yet written, in time order
    std::vector<uint32_t> picture_;
    int pictureWidth_ = 0;
    int pictureHeight_ = 0;
    int picturesShown_ = 0;
    bool fullScreen_ = false;
    AudioRenderer* audioRenderer_ = nullptr;
    uint64_t audioFrames_ = 0;  // frames mixed since the start of the run
    bool recordAudio_ = false;
    std::vector<int16_t> audio_;
    std::vector<float> mixBuffer_;
};

}  // namespace platform
