#include "platform/sdl/sdl_host.h"

#include <windows.h>

#include <cstdio>

#include "platform/core/host_events.h"
#include "platform/dsound/mixer.h"
#include "platform/resources/icon_image.h"
#include "platform/resources/resources.h"

namespace platform {

namespace {

struct KeyPair {
    int virtualKey;
    SDL_Scancode scancode;
};

constexpr KeyPair kKeys[] = {
    {VK_RETURN, SDL_SCANCODE_RETURN},
    {VK_RETURN, SDL_SCANCODE_KP_ENTER},
    {VK_SPACE, SDL_SCANCODE_SPACE},
    {VK_LEFT, SDL_SCANCODE_LEFT},
    {VK_UP, SDL_SCANCODE_UP},
    {VK_RIGHT, SDL_SCANCODE_RIGHT},
    {VK_DOWN, SDL_SCANCODE_DOWN},
    {VK_F4, SDL_SCANCODE_F4},
    {VK_ESCAPE, SDL_SCANCODE_ESCAPE},
    {VK_OEM_MINUS, SDL_SCANCODE_MINUS},
    {VK_SHIFT, SDL_SCANCODE_LSHIFT},
    {VK_SHIFT, SDL_SCANCODE_RSHIFT},
    {VK_CONTROL, SDL_SCANCODE_LCTRL},
    {VK_CONTROL, SDL_SCANCODE_RCTRL},
    {VK_CAPITAL, SDL_SCANCODE_CAPSLOCK},
    {VK_BACK, SDL_SCANCODE_BACKSPACE},
    {VK_TAB, SDL_SCANCODE_TAB},
};

}  // namespace

SDL_Scancode ScancodeForVirtualKey(int virtualKey) {
    if (virtualKey >= 'A' && virtualKey <= 'Z') {
        return static_cast<SDL_Scancode>(SDL_SCANCODE_A + (virtualKey - 'A'));
    }
    for (const auto& key : kKeys) {
        if (key.virtualKey == virtualKey) return key.scancode;
    }
    return SDL_SCANCODE_UNKNOWN;
}

int VirtualKeyForScancode(SDL_Scancode scancode) {
    if (scancode >= SDL_SCANCODE_A && scancode <= SDL_SCANCODE_Z) {
        return 'A' + (scancode - SDL_SCANCODE_A);
    }
    for (const auto& key : kKeys) {
        if (key.scancode == scancode) return key.virtualKey;
    }
    return 0;
}

SdlHost::SdlHost() = default;

SdlHost::~SdlHost() {
    StopAudio();
    AudioHostGone(this);
    DestroyMainWindow();
}

uint32_t SdlHost::Now() {
    return SDL_GetTicks();
}

void SdlHost::Sleep(uint32_t milliseconds) {
    SDL_Delay(milliseconds);
}

void SdlHost::PumpEvents() {
    SDL_Event event;
    while (SDL_PollEvent(&event)) Handle(event);
}

void SdlHost::WaitForEvents() {
    SDL_Event event;
    if (SDL_WaitEvent(&event)) Handle(event);
    PumpEvents();
}

void SdlHost::Handle(const SDL_Event& event) {
    switch (event.type) {
        case SDL_KEYDOWN:
        case SDL_KEYUP:
            if (event.key.repeat == 0) {
                if (int key = VirtualKeyForScancode(event.key.keysym.scancode)) {
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
                    if (!fullScreen_) HostMoved(event.window.data1, event.window.data2);
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
    return SDL_GetDesktopDisplayMode(0, &mode) == 0 ? mode.w : 1024;
}

int SdlHost::DesktopHeight() {
    SDL_DisplayMode mode;
    return SDL_GetDesktopDisplayMode(0, &mode) == 0 ? mode.h : 768;
}

void SdlHost::CreateMainWindow(const std::string& titleUtf8, int clientX, int clientY,
                               int clientWidth, int clientHeight) {
    DestroyMainWindow();
    window_ = SDL_CreateWindow(titleUtf8.c_str(), clientX, clientY, clientWidth, clientHeight,
                               SDL_WINDOW_HIDDEN);
    if (window_ == nullptr) {
        std::fprintf(stderr, "parrun: cannot open a window: %s\n", SDL_GetError());
        return;
    }
    clientWidth_ = clientWidth;
    clientHeight_ = clientHeight;
    SetWindowIcon();
    renderer_ = SDL_CreateRenderer(window_, -1, 0);
    if (renderer_ != nullptr) SDL_RenderSetLogicalSize(renderer_, clientWidth, clientHeight);
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
    SDL_SetWindowIcon(window_, surface);
    SDL_FreeSurface(surface);
}

void SdlHost::EnterFullScreen(int width, int height, int bits) {
    if (window_ == nullptr) return;
    fullScreen_ = true;
    // The desktop keeps its own mode; the picture is scaled up to fill as much as it can.
    SDL_SetWindowFullscreen(window_, SDL_WINDOW_FULLSCREEN_DESKTOP);
    if (renderer_ != nullptr) SDL_RenderSetLogicalSize(renderer_, width, height);
    Repaint();
}

void SdlHost::LeaveFullScreen() {
    if (window_ == nullptr) return;
    fullScreen_ = false;
    SDL_SetWindowFullscreen(window_, 0);
    SDL_SetWindowSize(window_, clientWidth_, clientHeight_);
    if (renderer_ != nullptr) SDL_RenderSetLogicalSize(renderer_, clientWidth_, clientHeight_);
    Repaint();
}

void SdlHost::ShowWindowPicture(const uint32_t* pixels, int width, int height) {
    UploadPicture(pixels, width, height);
    Repaint();
}

void SdlHost::ShowFullScreenPicture(const uint8_t* indices, int width, int height,
                                    const uint32_t* palette) {
    converted_.resize(static_cast<size_t>(width) * height);
    for (size_t i = 0; i < converted_.size(); ++i) converted_[i] = palette[indices[i]];
    UploadPicture(converted_.data(), width, height);
    Repaint();
}

void SdlHost::UploadPicture(const uint32_t* pixels, int width, int height) {
    if (renderer_ == nullptr) return;
    if (texture_ == nullptr || textureWidth_ != width || textureHeight_ != height) {
        if (texture_ != nullptr) SDL_DestroyTexture(texture_);
        texture_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_RGB888, SDL_TEXTUREACCESS_STREAMING,
                                     width, height);
        textureWidth_ = width;
        textureHeight_ = height;
    }
    if (texture_ != nullptr) SDL_UpdateTexture(texture_, nullptr, pixels, width * 4);
}

void SdlHost::ShowMainWindow(bool visible) {
    if (window_ == nullptr) return;
    if (visible) {
        SDL_ShowWindow(window_);
        SDL_RaiseWindow(window_);
        Repaint();
    } else {
        SDL_HideWindow(window_);
    }
}

void SdlHost::Repaint() {
    if (renderer_ == nullptr) return;
    // Before the first picture the window shows its white background; around a full-screen
    // picture the screen is black.
    if (fullScreen_) {
        SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
    } else {
        SDL_SetRenderDrawColor(renderer_, 255, 255, 255, 255);
    }
    SDL_RenderClear(renderer_);
    if (texture_ != nullptr) SDL_RenderCopy(renderer_, texture_, nullptr, nullptr);
    SDL_RenderPresent(renderer_);
}

void SdlHost::MoveMainWindow(int clientX, int clientY, int clientWidth, int clientHeight) {
    if (window_ == nullptr) return;
    clientWidth_ = clientWidth;
    clientHeight_ = clientHeight;
    if (fullScreen_) return;
    SDL_SetWindowSize(window_, clientWidth, clientHeight);
    SDL_SetWindowPosition(window_, clientX, clientY);
}

void SdlHost::DestroyMainWindow() {
    if (texture_ != nullptr) SDL_DestroyTexture(texture_);
    texture_ = nullptr;
    if (renderer_ != nullptr) SDL_DestroyRenderer(renderer_);
    if (window_ != nullptr) SDL_DestroyWindow(window_);
    renderer_ = nullptr;
    window_ = nullptr;
}

MessageBoxAnswer SdlHost::ShowMessageBox(const std::string& textUtf8,
                                         const std::string& captionUtf8, bool yesNo) {
    SDL_MessageBoxButtonData yesNoButtons[] = {
        {SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, IDNO, "No"},
        {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, IDYES, "Yes"},
    };
    SDL_MessageBoxButtonData okButton[] = {
        {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT | SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, IDOK,
         "OK"},
    };
    SDL_MessageBoxData data = {};
    data.flags = yesNo ? SDL_MESSAGEBOX_INFORMATION : SDL_MESSAGEBOX_ERROR;
    data.window = window_;
    data.title = captionUtf8.c_str();
    data.message = textUtf8.c_str();
    data.numbuttons = yesNo ? 2 : 1;
    data.buttons = yesNo ? yesNoButtons : okButton;
    int pressed = IDOK;
    if (SDL_ShowMessageBox(&data, &pressed) != 0) {
        // No way to ask: say it on the terminal, and decline a question.
        std::fprintf(stderr, "%s: %s\n", captionUtf8.c_str(), textUtf8.c_str());
        return yesNo ? MessageBoxAnswer::No : MessageBoxAnswer::Ok;
    }
    if (pressed == IDYES) return MessageBoxAnswer::Yes;
    if (pressed == IDNO || pressed < 0) return yesNo ? MessageBoxAnswer::No : MessageBoxAnswer::Ok;
    return MessageBoxAnswer::Ok;
}

void SdlHost::DebugText(const std::string& text) {
    std::fprintf(stderr, "%s\n", text.c_str());
}

void SdlHost::ShowPointer(bool visible) {
    SDL_ShowCursor(visible ? SDL_ENABLE : SDL_DISABLE);
}

}  // namespace platform
