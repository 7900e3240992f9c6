// The host a player runs: a real window through SDL2, its keyboard and real message boxes.
#pragma once

#include <SDL.h>

#include "platform/core/host.h"

namespace platform {

class SdlHost : public Host {
public:
    SdlHost();
    ~SdlHost() override;

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
                                    bool yesNo) override;
    void DebugText(const std::string& text) override;

private:
    void Handle(const SDL_Event& event);
    void PaintBlank();

    SDL_Window* window_ = nullptr;
    SDL_Renderer* renderer_ = nullptr;
};

// The SDL scancode of a virtual key the game reads, or SDL_SCANCODE_UNKNOWN.
SDL_Scancode ScancodeForVirtualKey(int virtualKey);
// The virtual key of an SDL scancode, or 0.
int VirtualKeyForScancode(SDL_Scancode scancode);

}  // namespace platform
