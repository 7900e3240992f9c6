// The host that plays a recording back: every clock reading, key state, desktop measure,
// happening and message box answer comes from the recording, in the order the game asks for
// them. Time, the log, the pictures and the sound are the scripted host's (the clock moved
// to each reading), so a replay logs what a script would. What the layer reports is checked
// against what it reported while recording; a replay that strays from the recording stops.
#pragma once

#include <bitset>
#include <cstdio>
#include <string>

#include "platform/core/host.h"
#include "platform/replay/recording.h"
#include "platform/scripted/scripted_host.h"

namespace platform {

// The exit status of a replay that strayed from its recording.
constexpr int kReplayStrayed = 4;

class ReplayHost : public Host {
public:
    ReplayHost(Recording recording, std::FILE* logFile);
    ~ReplayHost() override;

    // After the program ended with `exitCode`: false, with what differs, when the exit code or
    // the last picture is not what the recording holds.
    bool CheckEnd(int exitCode, std::string& difference);

    ScriptedHost& Scripted() { return scripted_; }

    uint32_t Now() override;
    void Sleep(uint32_t milliseconds) override {}
    void PumpEvents() override { Deliver(RecordKind::Pump); }
    void WaitForEvents() override { Deliver(RecordKind::Wait); }
    bool IsKeyDown(int virtualKey) override;
    int DesktopWidth() override { return Measure(RecordKind::DesktopWidth, desktopWidth_); }
    int DesktopHeight() override { return Measure(RecordKind::DesktopHeight, desktopHeight_); }
    int DesktopBits() override { return Measure(RecordKind::DesktopBits, desktopBits_); }
    void CreateMainWindow(const std::string& titleUtf8, int clientX, int clientY, int clientWidth,
                          int clientHeight) override {
        scripted_.CreateMainWindow(titleUtf8, clientX, clientY, clientWidth, clientHeight);
    }
    void ShowMainWindow(bool visible) override {}
    void MoveMainWindow(int, int, int, int) override {}
    void DestroyMainWindow() override {}
    MessageBoxAnswer ShowMessageBox(const std::string& textUtf8, const std::string& captionUtf8,
                                    bool yesNo, int defaultButton) override;
    void DebugText(const std::string& text) override { scripted_.DebugText(text); }
    void Report(const std::string& kind, const std::string& details) override;
    void EnterFullScreen(int width, int height, int bits) override {
        scripted_.EnterFullScreen(width, height, bits);
    }
    void LeaveFullScreen() override { scripted_.LeaveFullScreen(); }
    void ShowWindowPicture(const uint32_t* pixels, int width, int height) override {
        scripted_.ShowWindowPicture(pixels, width, height);
    }
    void ShowFullScreenPicture(const uint8_t* indices, int width, int height,
                               const uint32_t* palette) override {
        scripted_.ShowFullScreenPicture(indices, width, height, palette);
    }
    bool StartAudio(AudioRenderer* renderer, std::string& whyNot) override {
        return scripted_.StartAudio(renderer, whyNot);
    }
    void StopAudio() override { scripted_.StopAudio(); }
    void AudioChanging() override { scripted_.AudioChanging(); }

private:
    const RecordEntry* Head();
    // Stops the run: the program asked for `wanted` where the recording holds something else.
    [[noreturn]] void Strayed(const std::string& wanted);
    [[noreturn]] void RecordingEnded();
    void Deliver(RecordKind kind);
    bool DeliverHappening(const RecordEntry& entry);
    int Measure(RecordKind kind, int& value);

    Recording recording_;
    ScriptedHost scripted_;
    size_t next_ = 0;             // the entry at the head
    uint32_t readingsTaken_ = 0;  // of the clock run at the head, counting skipped values
    size_t countIndex_ = 0;
    std::bitset<256> keyDown_;
    int desktopWidth_ = 1024;
    int desktopHeight_ = 768;
    int desktopBits_ = 32;
};

}  // namespace platform
