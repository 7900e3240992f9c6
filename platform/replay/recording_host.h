// A host that passes every call to another (the SDL host) and writes down what came back and
// what happened outside, so that a replay can give the game exactly the same. It also keeps
// the last picture shown.
#pragma once

#include <bitset>
#include <cstdio>
#include <memory>
#include <vector>

#include "platform/core/host.h"
#include "platform/core/host_events.h"
#include "platform/replay/recording.h"

namespace platform {

class RecordingHost : public Host, private HostEventTap {
public:
    // Writes to `out` as the game runs (may be null: then nothing is written and only the
    // last picture is kept). Listens to the happenings the inner host reports from now on.
    RecordingHost(Host& inner, std::FILE* out);
    ~RecordingHost() override;

    // Writes how the program ended and what its last picture looked like.
    void Finish(int exitCode);

    const std::vector<uint32_t>& LastPicture() const { return picture_; }
    int PictureWidth() const { return pictureWidth_; }
    int PictureHeight() const { return pictureHeight_; }

    uint32_t Now() override;
    void Sleep(uint32_t milliseconds) override { inner_.Sleep(milliseconds); }
    void PumpEvents() override;
    void WaitForEvents() override;
    bool IsKeyDown(int virtualKey) override;
    int DesktopWidth() override;
    int DesktopHeight() override;
    int DesktopBits() override;
    void CreateMainWindow(const std::string& titleUtf8, int clientX, int clientY, int clientWidth,
                          int clientHeight) override {
        inner_.CreateMainWindow(titleUtf8, clientX, clientY, clientWidth, clientHeight);
    }
    void ShowMainWindow(bool visible) override { inner_.ShowMainWindow(visible); }
    void MoveMainWindow(int clientX, int clientY, int clientWidth, int clientHeight) override {
        inner_.MoveMainWindow(clientX, clientY, clientWidth, clientHeight);
    }
    void DestroyMainWindow() override { inner_.DestroyMainWindow(); }
    MessageBoxAnswer ShowMessageBox(const std::string& textUtf8, const std::string& captionUtf8,
                                    bool yesNo, int defaultButton) override;
    void DebugText(const std::string& text) override { inner_.DebugText(text); }
    void Report(const std::string& kind, const std::string& details) override;
    void ShowPointer(bool visible) override { inner_.ShowPointer(visible); }
    void EnterFullScreen(int width, int height, int bits) override {
        inner_.EnterFullScreen(width, height, bits);
    }
    void LeaveFullScreen() override { inner_.LeaveFullScreen(); }
    void ShowWindowPicture(const uint32_t* pixels, int width, int height) override;
    void ShowFullScreenPicture(const uint8_t* indices, int width, int height,
                               const uint32_t* palette) override;
    bool StartAudio(AudioRenderer* renderer, std::string& whyNot) override {
        return inner_.StartAudio(renderer, whyNot);
    }
    void StopAudio() override { inner_.StopAudio(); }
    void AudioChanging() override { inner_.AudioChanging(); }
    bool PreparesMusicInBackground() override { return inner_.PreparesMusicInBackground(); }

private:
    void KeyEvent(int virtualKey, bool down) override;
    void CloseClicked() override;
    void Activated(bool active) override;
    void Minimized(bool minimized) override;
    void Moved(int clientX, int clientY) override;

    void Write(RecordKind kind, int64_t value = 0, int64_t second = 0);
    // A desktop measure the game reads: written when it differs from the last. `slot` is
    // where it is kept in readSinceEntry_.
    int Measure(RecordKind kind, int (Host::*read)(), size_t slot, int& last);

    Host& inner_;
    std::unique_ptr<RecordingWriter> writer_;
    // What the replay will answer for each key. A key (or measure) read twice with nothing
    // written between answers the same both times: the replay couldn't tell the reads apart.
    std::bitset<256> keyDown_;
    std::bitset<256 + 3> readSinceEntry_;
    int desktopWidth_ = -1;
    int desktopHeight_ = -1;
    int desktopBits_ = -1;
    std::vector<uint32_t> picture_;
    int pictureWidth_ = 0;
    int pictureHeight_ = 0;
};

}  // namespace platform
