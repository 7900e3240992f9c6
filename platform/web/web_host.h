// The host of the game in a web page: the picture on the page's canvas, scaled by a whole
// number, keys from the page's keyboard events (letters and minus by the layout, the others by
// their place), the page's monotonic clock, and the mixer's sound through Web Audio. The game
// runs on the page's one thread: each Sleep, and a message look that comes long after the last
// turn, hands the page its turn (Asyncify), so its events, drawing and sound go on.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/core/host.h"

namespace platform {

class WebHost : public Host {
public:
    WebHost();
    ~WebHost() override;

    uint32_t Now() override;
    void Sleep(uint32_t milliseconds) override;
    void PumpEvents() override;
    void WaitForEvents() override;
    bool IsKeyDown(int virtualKey) override;
    int DesktopWidth() override;
    int DesktopHeight() override;
    void CreateMainWindow(const std::string& titleUtf8, int clientX, int clientY, int clientWidth,
                          int clientHeight) override;
    void ShowMainWindow(bool visible) override;
    void MoveMainWindow(int clientX, int clientY, int clientWidth, int clientHeight) override;
    void DestroyMainWindow() override;
    MessageBoxAnswer ShowMessageBox(const std::string& textUtf8, const std::string& captionUtf8,
                                    bool yesNo, int defaultButton) override;
    void DebugText(const std::string& text) override;
    void ShowPointer(bool visible) override;
    void EnterFullScreen(int width, int height, int bits) override;
    void LeaveFullScreen() override;
    void ShowWindowPicture(const uint32_t* pixels, int width, int height) override;
    void ShowFullScreenPicture(const uint8_t* indices, int width, int height,
                               const uint32_t* palette) override;
    bool StartAudio(AudioRenderer* renderer, std::string& whyNot) override;
    void StopAudio() override;
    void AudioChanging() override;

private:
    // Gives the page its turn for at least `milliseconds` (0: just its turn), after putting
    // the last picture on the canvas and the sound due by then in the page's queue.
    void Yield(uint32_t milliseconds);
    void ShowPendingPicture();
    // Delivers what the page queued; false when nothing was.
    bool DeliverEvents();
    // Renders the mixer's sound up to a little ahead of what the page has played.
    void FeedAudio();
    void StorePicture(const uint32_t* pixels, int width, int height);

    bool keys_[256] = {};
    std::vector<uint8_t> rgba_;  // the last picture, as the canvas takes it
    int pictureWidth_ = 0;
    int pictureHeight_ = 0;
    bool picturePending_ = false;
    double lastYield_ = 0;
    AudioRenderer* audioRenderer_ = nullptr;
    int audioRate_ = 0;
    double audioStart_ = 0;   // page time at which the sound output started, in ms
    int64_t framesMade_ = 0;  // frames rendered or advanced since then
    std::vector<float> audioBlock_;
};

}  // namespace platform
