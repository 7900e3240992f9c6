#include "platform/web/web_host.h"

#include <emscripten.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "platform/core/host_events.h"
#include "platform/dsound/mixer.h"

namespace platform {

namespace {

// A message look hands the page its turn when this long has passed since the last one, so a
// loop that only looks at its messages still lets the page draw and take keys.
constexpr double kLongestWithoutTurnMs = 8;
// Sleep(0) only yields: the page's shortest timer spares the processor, and a loop waiting
// on the clock still sees each new millisecond.
constexpr uint32_t kYieldMs = 1;
// How far ahead of the page's clock the sound is made: enough to outlast a slow step.
constexpr double kAudioLeadMs = 120;
constexpr int kLongestAudioBlock = 4096;

enum EventKind { kNoEvent = 0, kKeyDown = 1, kKeyUp = 2, kFocusIn = 3, kFocusOut = 4 };

// clang-format off
EM_JS(void, parrun_web_yield, (int milliseconds), {
    Asyncify.handleSleep(function(wakeUp) { Module.parrunPage.yieldTurn(milliseconds, wakeUp); });
});

EM_JS(int, parrun_web_next_event, (int* detail), {
    var event = Module.parrunPage.events.shift();
    if (!event) return 0;
    HEAP32[detail >> 2] = event[1];
    return event[0];
});

EM_JS(void, parrun_web_show_picture, (const uint8_t* rgba, int width, int height), {
    Module.parrunPage.showPicture(HEAPU8.subarray(rgba, rgba + width * height * 4), width, height);
});

EM_JS(void, parrun_web_window, (const char* title, int width, int height, int fullScreen), {
    Module.parrunPage.setWindow(UTF8ToString(title), width, height, fullScreen);
});

EM_JS(void, parrun_web_show_window, (int visible), { Module.parrunPage.showWindow(visible); });

EM_JS(void, parrun_web_pointer, (int visible), { Module.parrunPage.showPointer(visible); });

EM_JS(int, parrun_web_screen_width, (), { return screen.width | 0; });
EM_JS(int, parrun_web_screen_height, (), { return screen.height | 0; });

EM_JS(int, parrun_web_message_box, (const char* text, const char* caption, int yesNo), {
    return Module.parrunPage.messageBox(UTF8ToString(text), UTF8ToString(caption), yesNo) ? 1 : 0;
});

EM_JS(int, parrun_web_start_audio, (), { return Module.parrunPage.startAudio(); });
EM_JS(void, parrun_web_stop_audio, (), { Module.parrunPage.stopAudio(); });
EM_JS(int, parrun_web_audio_heard, (), { return Module.parrunPage.audioHeard() ? 1 : 0; });
EM_JS(int, parrun_web_audio_queued, (), { return Module.parrunPage.queuedFrames(); });

EM_JS(void, parrun_web_queue_audio, (const float* frames, int count), {
    Module.parrunPage.queueAudio(HEAPF32.slice(frames >> 2, (frames >> 2) + count * 2));
});
// clang-format on

}  // namespace

WebHost::WebHost() {
    lastYield_ = emscripten_get_now();
}

WebHost::~WebHost() {
    StopAudio();
    AudioHostGone(this);
}

uint32_t WebHost::Now() {
    return static_cast<uint32_t>(static_cast<uint64_t>(emscripten_get_now()));
}

void WebHost::Yield(uint32_t milliseconds) {
    ShowPendingPicture();
    FeedAudio();
    parrun_web_yield(static_cast<int>(milliseconds));
    lastYield_ = emscripten_get_now();
    FeedAudio();
}

void WebHost::Sleep(uint32_t milliseconds) {
    Yield(milliseconds == 0 ? kYieldMs : milliseconds);
}

void WebHost::PumpEvents() {
    if (emscripten_get_now() - lastYield_ >= kLongestWithoutTurnMs) Yield(0);
    DeliverEvents();
}

void WebHost::WaitForEvents() {
    while (!DeliverEvents()) Yield(10);
}

bool WebHost::DeliverEvents() {
    bool delivered = false;
    int detail = 0;
    while (int kind = parrun_web_next_event(&detail)) {
        delivered = true;
        switch (kind) {
            case kKeyDown:
            case kKeyUp:
                keys_[detail & 0xFF] = kind == kKeyDown;
                HostKeyEvent(detail, kind == kKeyDown);
                break;
            case kFocusIn:
            case kFocusOut:
                HostActivated(kind == kFocusIn);
                break;
            default:
                break;
        }
    }
    return delivered;
}

bool WebHost::IsKeyDown(int virtualKey) {
    return virtualKey >= 0 && virtualKey < 256 && keys_[virtualKey];
}

int WebHost::DesktopWidth() {
    return std::max(parrun_web_screen_width(), 640);
}

int WebHost::DesktopHeight() {
    return std::max(parrun_web_screen_height(), 480);
}

void WebHost::CreateMainWindow(const std::string& titleUtf8, int clientX, int clientY,
                               int clientWidth, int clientHeight) {
    parrun_web_window(titleUtf8.c_str(), clientWidth, clientHeight, 0);
}

void WebHost::ShowMainWindow(bool visible) {
    parrun_web_show_window(visible ? 1 : 0);
}

void WebHost::MoveMainWindow(int clientX, int clientY, int clientWidth, int clientHeight) {}

void WebHost::DestroyMainWindow() {
    parrun_web_show_window(0);
}

void WebHost::EnterFullScreen(int width, int height, int bits) {
    parrun_web_window("", width, height, 1);
}

void WebHost::LeaveFullScreen() {
    parrun_web_window("", 0, 0, 0);
}

void WebHost::ShowWindowPicture(const uint32_t* pixels, int width, int height) {
    StorePicture(pixels, width, height);
}

void WebHost::ShowFullScreenPicture(const uint8_t* indices, int width, int height,
                                    const uint32_t* palette) {
    std::vector<uint32_t> pixels(static_cast<size_t>(width) * height);
    for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = palette[indices[i]];
    StorePicture(pixels.data(), width, height);
}

void WebHost::StorePicture(const uint32_t* pixels, int width, int height) {
    // A picture is put on the canvas when the game next yields, so a step that presents twice
    // costs the page one drawing.
    rgba_.resize(static_cast<size_t>(width) * height * 4);
    for (size_t i = 0; i < static_cast<size_t>(width) * height; ++i) {
        uint32_t pixel = pixels[i];
        rgba_[4 * i] = static_cast<uint8_t>(pixel >> 16);
        rgba_[4 * i + 1] = static_cast<uint8_t>(pixel >> 8);
        rgba_[4 * i + 2] = static_cast<uint8_t>(pixel);
        rgba_[4 * i + 3] = 255;
    }
    pictureWidth_ = width;
    pictureHeight_ = height;
    picturePending_ = true;
}

void WebHost::ShowPendingPicture() {
    if (!picturePending_) return;
    picturePending_ = false;
    parrun_web_show_picture(rgba_.data(), pictureWidth_, pictureHeight_);
}

MessageBoxAnswer WebHost::ShowMessageBox(const std::string& textUtf8,
                                         const std::string& captionUtf8, bool yesNo,
                                         int /*defaultButton*/) {
    ShowPendingPicture();
    bool yes = parrun_web_message_box(textUtf8.c_str(), captionUtf8.c_str(), yesNo ? 1 : 0) != 0;
    if (!yesNo) return MessageBoxAnswer::Ok;
    return yes ? MessageBoxAnswer::Yes : MessageBoxAnswer::No;
}

void WebHost::DebugText(const std::string& text) {
    std::fprintf(stderr, "%s\n", text.c_str());
}

void WebHost::ShowPointer(bool visible) {
    parrun_web_pointer(visible ? 1 : 0);
}

bool WebHost::StartAudio(AudioRenderer* renderer, std::string& whyNot) {
    int rate = parrun_web_start_audio();
    if (rate <= 0) {
        whyNot = "this browser has no Web Audio";
        return false;
    }
    audioRenderer_ = renderer;
    audioRate_ = rate;
    audioStart_ = emscripten_get_now();
    framesMade_ = 0;
    return true;
}

void WebHost::StopAudio() {
    if (audioRenderer_ == nullptr) return;
    audioRenderer_ = nullptr;
    parrun_web_stop_audio();
}

void WebHost::AudioChanging() {
    FeedAudio();
}

void WebHost::FeedAudio() {
    if (audioRenderer_ == nullptr) return;
    // While the page plays sound, its output's own clock leads: the queue is kept a little
    // ahead of what it has played. Until then (the browser waits for the player's first key
    // or click) everything that sounds moves on unheard with the page's clock.
    int64_t wanted;
    bool heard = parrun_web_audio_heard() != 0;
    double now = emscripten_get_now();
    if (heard) {
        wanted = static_cast<int64_t>(kAudioLeadMs * audioRate_ / 1000) - parrun_web_audio_queued();
    } else {
        double due = (now - audioStart_ + kAudioLeadMs) * audioRate_ / 1000.0;
        wanted = static_cast<int64_t>(std::floor(due)) - framesMade_;
    }
    while (wanted > 0) {
        int frames = static_cast<int>(std::min<int64_t>(wanted, kLongestAudioBlock));
        if (heard) {
            audioBlock_.assign(static_cast<size_t>(frames) * 2, 0.0f);
            audioRenderer_->Render(audioBlock_.data(), frames, audioRate_);
            parrun_web_queue_audio(audioBlock_.data(), frames);
        } else {
            audioRenderer_->Advance(frames, audioRate_);
        }
        framesMade_ += frames;
        wanted -= frames;
    }
    if (heard) {
        // Should the page stop playing, the page's clock takes over from here.
        audioStart_ = now - (framesMade_ * 1000.0 / audioRate_ - kAudioLeadMs);
    }
}

}  // namespace platform
