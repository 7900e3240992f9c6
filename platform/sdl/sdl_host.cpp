#include "platform/sdl/sdl_host.h"

#include <windows.h>

#include <time.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <vector>

#include "platform/core/host_events.h"
#include "platform/dsound/mixer.h"
#include "platform/msgbox/message_box.h"
#include "platform/resources/icon_image.h"
#include "platform/resources/resources.h"
#include "platform/sdl/fullscreen_layout.h"
#include "platform/sdl/window_scale.h"

namespace platform {

namespace {

constexpr int64_t kNanosecondsPerMillisecond = 1'000'000;

int64_t MonotonicNanoseconds() {
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return int64_t{now.tv_sec} * 1'000'000'000 + now.tv_nsec;
}

// The host's millisecond clock counts from its first reading, so the host knows when it next
// ticks.
int64_t ClockStart() {
    static const int64_t start = MonotonicNanoseconds();
    return start;
}

struct KeyPair {
    int virtualKey;
    SDL_Scancode scancode;
};

constexpr KeyPair kKeys[] = {
    {VK_RETURN, SDL_SCANCODE_RETURN},  {VK_RETURN, SDL_SCANCODE_KP_ENTER},
    {VK_SPACE, SDL_SCANCODE_SPACE},    {VK_LEFT, SDL_SCANCODE_LEFT},
    {VK_UP, SDL_SCANCODE_UP},          {VK_RIGHT, SDL_SCANCODE_RIGHT},
    {VK_DOWN, SDL_SCANCODE_DOWN},      {VK_F4, SDL_SCANCODE_F4},
    {VK_ESCAPE, SDL_SCANCODE_ESCAPE},  {VK_SHIFT, SDL_SCANCODE_LSHIFT},
    {VK_SHIFT, SDL_SCANCODE_RSHIFT},   {VK_CONTROL, SDL_SCANCODE_LCTRL},
    {VK_CONTROL, SDL_SCANCODE_RCTRL},  {VK_CAPITAL, SDL_SCANCODE_CAPSLOCK},
    {VK_BACK, SDL_SCANCODE_BACKSPACE}, {VK_TAB, SDL_SCANCODE_TAB},
};

}  // namespace

SDL_Scancode ScancodeForVirtualKey(int virtualKey) {
    // As on Windows, a letter's virtual key follows the layout: on a French keyboard A is
    // where a QWERTY keyboard has Q.
    if (virtualKey >= 'A' && virtualKey <= 'Z') {
        return SDL_GetScancodeFromKey(static_cast<SDL_Keycode>(SDLK_a + (virtualKey - 'A')));
    }
    if (virtualKey == VK_OEM_MINUS) return SDL_GetScancodeFromKey(SDLK_MINUS);
    for (const auto& key : kKeys) {
        if (key.virtualKey == virtualKey) return key.scancode;
    }
    return SDL_SCANCODE_UNKNOWN;
}

int VirtualKeyForKey(const SDL_Keysym& key) {
    if (key.sym >= SDLK_a && key.sym <= SDLK_z) return 'A' + (key.sym - SDLK_a);
    if (key.sym == SDLK_MINUS) return VK_OEM_MINUS;
    for (const auto& pair : kKeys) {
        if (pair.scancode == key.scancode) return pair.virtualKey;
    }
    return 0;
}

SdlHost::SdlHost(int windowScale) : windowScale_(windowScale) {}

SdlHost::~SdlHost() {
    StopAudio();
    AudioHostGone(this);
    DestroyMainWindow();
}

uint32_t SdlHost::Now() {
    int64_t start = ClockStart();
    return static_cast<uint32_t>((MonotonicNanoseconds() - start) / kNanosecondsPerMillisecond);
}

void SdlHost::Sleep(uint32_t milliseconds) {
    ShowPendingPicture();
    if (milliseconds == 0) {
        // Sleep(0) only yields: with nothing else to run, a loop waiting on the clock would
        // keep a core busy. Sleeping until the clock's next millisecond wakes such a loop once
        // for each value it can read, and as soon as the new one can be read.
        int64_t start = ClockStart();
        int64_t elapsed = MonotonicNanoseconds() - start;
        int64_t wake =
            start + (elapsed / kNanosecondsPerMillisecond + 1) * kNanosecondsPerMillisecond;
        timespec until = {static_cast<time_t>(wake / 1'000'000'000),
                          static_cast<long>(wake % 1'000'000'000)};
        clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &until, nullptr);
        return;
    }
    SDL_Delay(milliseconds);
}

void SdlHost::ShowPendingPicture() {
    if (!picturePending_) return;
    picturePending_ = false;
    Repaint();
}

void SdlHost::PumpEvents() {
    ShowPendingPicture();
    SDL_Event event;
    while (SDL_PollEvent(&event)) Handle(event);
    std::erase_if(keysOfBox_, [this](int key) { return !KeyStateDown(key); });
}

void SdlHost::WaitForEvents() {
    ShowPendingPicture();
    SDL_Event event;
    if (SDL_WaitEvent(&event)) Handle(event);
    PumpEvents();
}

void SdlHost::Handle(const SDL_Event& event) {
    switch (event.type) {
        case SDL_KEYDOWN:
        case SDL_KEYUP:
            if (event.type == SDL_KEYDOWN && event.key.repeat == 0 &&
                HandleHostKey(event.key.keysym.sym)) {
                break;
            }
            if (event.key.repeat == 0) {
                if (int key = VirtualKeyForKey(event.key.keysym)) {
                    HostKeyEvent(key, event.type == SDL_KEYDOWN);
                }
            }
            break;
        case SDL_WINDOWEVENT:
            switch (event.window.event) {
                case SDL_WINDOWEVENT_CLOSE:
                    HostCloseClicked();
                    break;
                case SDL_WINDOWEVENT_FOCUS_GAINED:
                    HostActivated(true);
                    break;
                case SDL_WINDOWEVENT_FOCUS_LOST:
                    HostActivated(false);
                    break;
                case SDL_WINDOWEVENT_MINIMIZED:
                    HostMinimized(true);
                    break;
                case SDL_WINDOWEVENT_RESTORED:
                    HostMinimized(false);
                    break;
                case SDL_WINDOWEVENT_MOVED:
                    // Filling the screen moves SDL's window, not the game's: it stays put.
                    if (!fullScreen_) {
                        HostMoved(event.window.data1 / windowScale_,
                                  event.window.data2 / windowScale_);
                    }
                    break;
                case SDL_WINDOWEVENT_EXPOSED:
                case SDL_WINDOWEVENT_SIZE_CHANGED:
                    Repaint();
                    break;
                default:
                    break;
            }
            break;
        default:
            break;
    }
}

bool SdlHost::IsKeyDown(int virtualKey) {
    // A key that answered a message box belongs to it until it comes up: the N of "No" types
    // nothing, and the Enter of "No" picks nothing on the title.
    if (std::find(keysOfBox_.begin(), keysOfBox_.end(), virtualKey) != keysOfBox_.end()) {
        return false;
    }
    return KeyStateDown(virtualKey);
}

bool SdlHost::KeyStateDown(int virtualKey) {
    int count = 0;
    const Uint8* state = SDL_GetKeyboardState(&count);
    for (const auto& key : kKeys) {
        // Keys with two places on the keyboard (Shift, Enter) are down when either is.
        if (key.virtualKey == virtualKey && key.scancode < count && state[key.scancode]) {
            return true;
        }
    }
    SDL_Scancode scancode = ScancodeForVirtualKey(virtualKey);
    return scancode != SDL_SCANCODE_UNKNOWN && scancode < count && state[scancode] != 0;
}

int SdlHost::DesktopWidth() {
    SDL_DisplayMode mode;
    int width = SDL_GetDesktopDisplayMode(0, &mode) == 0 ? mode.w : 1024;
    return width / std::max(windowScale_, 1);
}

int SdlHost::DesktopHeight() {
    SDL_DisplayMode mode;
    int height = SDL_GetDesktopDisplayMode(0, &mode) == 0 ? mode.h : 768;
    return height / std::max(windowScale_, 1);
}

int SdlHost::LargestFittingScale() {
    SDL_Rect usable;
    if (SDL_GetDisplayUsableBounds(0, &usable) != 0) return 1;
    return ChooseWindowScale(clientWidth_, clientHeight_, usable.w, usable.h);
}

void SdlHost::ChangeWindowScale(int step) {
    if (window_ == nullptr || fullScreen_) return;
    int scale = std::clamp(windowScale_ + step, 1, std::max(LargestFittingScale(), 1));
    if (scale == windowScale_) return;
    // The window grows or shrinks about its centre.
    int x = 0;
    int y = 0;
    SDL_GetWindowPosition(window_.get(), &x, &y);
    int centreX = x + clientWidth_ * windowScale_ / 2;
    int centreY = y + clientHeight_ * windowScale_ / 2;
    windowScale_ = scale;
    settings_.windowScale = scale;
    KeepSettings();
    SDL_SetWindowSize(window_.get(), clientWidth_ * scale, clientHeight_ * scale);
    SDL_SetWindowPosition(window_.get(), std::max(centreX - clientWidth_ * scale / 2, 0),
                          std::max(centreY - clientHeight_ * scale / 2, 0));
    Repaint();
}

void SdlHost::CreateMainWindow(const std::string& titleUtf8, int clientX, int clientY,
                               int clientWidth, int clientHeight) {
    DestroyMainWindow();
    clientWidth_ = clientWidth;
    clientHeight_ = clientHeight;
    if (windowScale_ <= 0) {
        windowScale_ = LargestFittingScale();
    } else if (scaleFromSettings_) {
        // A scale kept from a larger screen than this one is brought down to fit.
        windowScale_ = std::min(windowScale_, LargestFittingScale());
    }
    int scale = windowScale_;
    window_.reset(SDL_CreateWindow(titleUtf8.c_str(), clientX * scale, clientY * scale,
                                   clientWidth * scale, clientHeight * scale, SDL_WINDOW_HIDDEN));
    if (window_ != nullptr) {
        SetWindowIcon();
        // Whole pixels, scaled without smoothing.
        SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "nearest");
        renderer_.reset(SDL_CreateRenderer(window_.get(), -1, 0));
    }
    if (renderer_ == nullptr) {
        // A window that could never show a picture would only be a silent one. Nothing of the
        // game has started yet (the window's creation messages come after this), so there is
        // nothing to save or release.
        std::fprintf(stderr, "parrun: cannot open a window: %s\n", SDL_GetError());
        DestroyMainWindow();
        SDL_Quit();
        std::exit(1);
    }
    SDL_RenderSetLogicalSize(renderer_.get(), clientWidth, clientHeight);
    SDL_RenderSetIntegerScale(renderer_.get(), SDL_TRUE);
}

void SdlHost::SetWindowIcon() {
    // The program's first icon resource, as a file manager would show it.
    size_t size = 0;
    const uint8_t* data = FirstResourceOfType(RT_GROUP_ICON, &size);
    IconImage icon;
    if (data == nullptr || !DecodeIcon(data, size, icon)) return;
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormatFrom(
        icon.pixels.data(), icon.width, icon.height, 32, icon.width * 4, SDL_PIXELFORMAT_ARGB8888);
    if (surface == nullptr) return;
    SDL_SetWindowIcon(window_.get(), surface);
    SDL_FreeSurface(surface);
}

void SdlHost::EnterFullScreen(int width, int height, int bits) {
    if (window_ == nullptr) return;
    fullScreen_ = true;
    fullScreenWidth_ = width;
    fullScreenHeight_ = height;
    borderDrawn_ = false;
    // The desktop keeps its own mode; Repaint places the picture on it by whole screen
    // pixels (fullscreen_layout.h).
    SDL_SetWindowFullscreen(window_.get(), SDL_WINDOW_FULLSCREEN_DESKTOP);
    if (renderer_ != nullptr) SDL_RenderSetLogicalSize(renderer_.get(), 0, 0);
    Repaint();
}

void SdlHost::LeaveFullScreen() {
    if (window_ == nullptr) return;
    fullScreen_ = false;
    SDL_SetWindowFullscreen(window_.get(), 0);
    SDL_SetWindowSize(window_.get(), clientWidth_ * windowScale_, clientHeight_ * windowScale_);
    if (renderer_ != nullptr)
        SDL_RenderSetLogicalSize(renderer_.get(), clientWidth_, clientHeight_);
    Repaint();
}

void SdlHost::ShowWindowPicture(const uint32_t* pixels, int width, int height) {
    picture_.assign(pixels, pixels + static_cast<size_t>(width) * height);
    pictureWidth_ = width;
    pictureHeight_ = height;
    UploadPicture(picture_.data(), width, height);
    picturePending_ = true;
}

void SdlHost::ShowFullScreenPicture(const uint8_t* indices, int width, int height,
                                    const uint32_t* palette) {
    picture_.resize(static_cast<size_t>(width) * height);
    for (size_t i = 0; i < picture_.size(); ++i) picture_[i] = palette[indices[i]];
    pictureWidth_ = width;
    pictureHeight_ = height;
    if (!borderDrawn_) borderDrawn_ = !BorderIsBlack(picture_.data(), width, height);
    UploadPicture(picture_.data(), width, height);
    picturePending_ = true;
}

void SdlHost::UploadPicture(const uint32_t* pixels, int width, int height) {
    if (renderer_ == nullptr) return;
    if (texture_ == nullptr || textureWidth_ != width || textureHeight_ != height) {
        texture_.reset(SDL_CreateTexture(renderer_.get(), SDL_PIXELFORMAT_RGB888,
                                         SDL_TEXTUREACCESS_STREAMING, width, height));
        textureWidth_ = width;
        textureHeight_ = height;
    }
    if (texture_ != nullptr) SDL_UpdateTexture(texture_.get(), nullptr, pixels, width * 4);
}

void SdlHost::ShowMainWindow(bool visible) {
    if (window_ == nullptr) return;
    if (visible) {
        SDL_ShowWindow(window_.get());
        SDL_RaiseWindow(window_.get());
        Repaint();
    } else {
        SDL_HideWindow(window_.get());
    }
}

SdlHost::PicturePoint SdlHost::PictureFromScreen(int x, int y) {
    // In a window the renderer's logical size already gives the picture's pixels; in full
    // screen the picture is placed by whole screen pixels, so the point is taken back through
    // the same layout.
    if (!fullScreen_ || renderer_ == nullptr) return {x, y};
    int screenWidth = 0;
    int screenHeight = 0;
    SDL_GetRendererOutputSize(renderer_.get(), &screenWidth, &screenHeight);
    FullScreenLayout layout = ChooseFullScreenLayout(textureWidth_, textureHeight_, screenWidth,
                                                     screenHeight, borderDrawn_);
    if (layout.screen.width <= 0 || layout.screen.height <= 0) return {-1, -1};
    int scale = layout.screen.width / std::max(layout.source.width, 1);
    if (scale <= 0) return {-1, -1};
    auto along = [scale](int point, int screenStart, int sourceStart) {
        int offset = point - screenStart;
        return offset < 0 ? -1 : sourceStart + offset / scale;
    };
    return {along(x, layout.screen.x, layout.source.x), along(y, layout.screen.y, layout.source.y)};
}

void SdlHost::Repaint() {
    if (renderer_ == nullptr) return;
    // Before the first picture the window shows its white background; around a full-screen
    // picture the screen is black.
    if (fullScreen_) {
        SDL_SetRenderDrawColor(renderer_.get(), 0, 0, 0, 255);
    } else {
        SDL_SetRenderDrawColor(renderer_.get(), 255, 255, 255, 255);
    }
    SDL_RenderClear(renderer_.get());
    if (texture_ != nullptr && fullScreen_) {
        int screenWidth = 0;
        int screenHeight = 0;
        SDL_GetRendererOutputSize(renderer_.get(), &screenWidth, &screenHeight);
        FullScreenLayout layout = ChooseFullScreenLayout(textureWidth_, textureHeight_, screenWidth,
                                                         screenHeight, borderDrawn_);
        SDL_Rect source = {layout.source.x, layout.source.y, layout.source.width,
                           layout.source.height};
        SDL_Rect screen = {layout.screen.x, layout.screen.y, layout.screen.width,
                           layout.screen.height};
        SDL_RenderCopy(renderer_.get(), texture_.get(), &source, &screen);
    } else if (texture_ != nullptr) {
        SDL_RenderCopy(renderer_.get(), texture_.get(), nullptr, nullptr);
    }
    SDL_RenderPresent(renderer_.get());
}

void SdlHost::MoveMainWindow(int clientX, int clientY, int clientWidth, int clientHeight) {
    if (window_ == nullptr) return;
    clientWidth_ = clientWidth;
    clientHeight_ = clientHeight;
    if (fullScreen_) return;
    SDL_SetWindowSize(window_.get(), clientWidth * windowScale_, clientHeight * windowScale_);
    SDL_SetWindowPosition(window_.get(), clientX * windowScale_, clientY * windowScale_);
}

void SdlHost::DestroyMainWindow() {
    texture_.reset();
    renderer_.reset();
    window_.reset();
}

MessageBoxAnswer SdlHost::ShowMessageBox(const std::string& textUtf8,
                                         const std::string& captionUtf8, bool yesNo,
                                         int defaultButton) {
    MessageBoxAnswer declined = yesNo ? MessageBoxAnswer::No : MessageBoxAnswer::Ok;
    if (renderer_ == nullptr) {
        // No window to ask in: say it on the terminal, and decline a question.
        std::fprintf(stderr, "%s: %s\n", captionUtf8.c_str(), textUtf8.c_str());
        return declined;
    }
    // The box is drawn in the game's own pixels over its frozen picture. A picture of another
    // mode than the one showing (or none yet) gives way to the window's empty background.
    int width = fullScreen_ ? fullScreenWidth_ : clientWidth_;
    int height = fullScreen_ ? fullScreenHeight_ : clientHeight_;
    std::vector<uint32_t> frozen = picture_;
    if (pictureWidth_ != width || pictureHeight_ != height) {
        frozen.assign(static_cast<size_t>(width) * height, fullScreen_ ? 0x000000 : 0xFFFFFF);
    }
    // A box may come while the window is still hidden (a failure as it is created).
    bool wasHidden = (SDL_GetWindowFlags(window_.get()) & SDL_WINDOW_HIDDEN) != 0;
    if (wasHidden) SDL_ShowWindow(window_.get());
    picturePending_ = false;

    DrawnMessageBox box(textUtf8, captionUtf8, yesNo, defaultButton, width, height);
    std::vector<uint32_t> shown;
    std::optional<MessageBoxAnswer> answer;
    bool redraw = true;
    while (!answer) {
        if (redraw) {
            shown = frozen;
            box.Draw(shown.data());
            UploadPicture(shown.data(), width, height);
            Repaint();
        }
        SDL_Event event;
        if (!SDL_WaitEvent(&event)) {
            answer = declined;
            break;
        }
        // Everything else waits until the box is answered: the game's window is disabled.
        redraw = true;
        switch (event.type) {
            case SDL_KEYDOWN:
            case SDL_KEYUP: {
                if (event.key.repeat != 0) break;
                bool down = event.type == SDL_KEYDOWN;
                if (down && (event.key.keysym.sym == SDLK_F9 || event.key.keysym.sym == SDLK_F10)) {
                    ChangeWindowScale(event.key.keysym.sym == SDLK_F9 ? -1 : 1);
                    break;
                }
                int key = VirtualKeyForKey(event.key.keysym);
                std::erase(keysOfBox_, key);
                if (down && key != 0) keysOfBox_.push_back(key);
                answer = box.Key(key, down, (event.key.keysym.mod & KMOD_SHIFT) != 0);
                break;
            }
            case SDL_MOUSEBUTTONDOWN:
            case SDL_MOUSEBUTTONUP:
                if (event.button.button != SDL_BUTTON_LEFT) break;
                {
                    PicturePoint point = PictureFromScreen(event.button.x, event.button.y);
                    answer = box.Mouse(point.x, point.y, event.type == SDL_MOUSEBUTTONDOWN);
                }
                break;
            case SDL_WINDOWEVENT:
                if (event.window.event == SDL_WINDOWEVENT_CLOSE) answer = box.Close();
                break;
            default:
                redraw = false;
                break;
        }
    }
    if (wasHidden) SDL_HideWindow(window_.get());
    // The game's own picture again, until it presents the next.
    UploadPicture(frozen.data(), width, height);
    Repaint();
    return *answer;
}

void SdlHost::DebugText(const std::string& text) {
    std::fprintf(stderr, "%s\n", text.c_str());
}

void SdlHost::ShowPointer(bool visible) {
    SDL_ShowCursor(visible ? SDL_ENABLE : SDL_DISABLE);
}

}  // namespace platform
