// The host a player runs: a real window through SDL2 and its keyboard, with message boxes
// drawn inside it by the layer (platform/msgbox), which need no fonts of the window system; the
// game's pictures in the window, scaled by a whole number to suit the desktop, or scaled to the
// screen in full-screen mode. The game sees a desktop shrunk by the same scale, so its
// own 480 x 320 window sits where the scaled one does. Letters and minus follow the player's
// keyboard layout; the other keys are taken by their place on the keyboard. The mixer's sound
// plays on the default audio device, pulled by SDL's audio thread.
#pragma once

#include <SDL.h>

#include <atomic>
#include <memory>
#include <vector>

#include "platform/core/host.h"
#include "platform/sdl/settings_file.h"

namespace platform {

// An SDL object owned, destroyed by its own function when its owner goes.
template <auto destroy>
struct SdlDestroyer {
    template <typename T>
    void operator()(T* object) const {
        destroy(object);
    }
};
using SdlWindowPtr = std::unique_ptr<SDL_Window, SdlDestroyer<SDL_DestroyWindow>>;
using SdlRendererPtr = std::unique_ptr<SDL_Renderer, SdlDestroyer<SDL_DestroyRenderer>>;
using SdlTexturePtr = std::unique_ptr<SDL_Texture, SdlDestroyer<SDL_DestroyTexture>>;

class SdlHost : public Host {
public:
    // A window scale of 0 is chosen from the desktop.
    explicit SdlHost(int windowScale = 0);
    ~SdlHost() override;

    // Takes the volume, and the window's scale unless one was given, from the settings file
    // at `path` (settings_file.h), and keeps them there when the player changes them.
    void UseSettingsFile(const std::string& path);

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
    // The title shows while the sound font is read.
    bool PreparesMusicInBackground() override { return true; }

private:
    static void AudioCallback(void* host, Uint8* stream, int length);

    void Handle(const SDL_Event& event);
    // The keys the game doesn't read and the host keeps for itself: F6 to F8 the volume, F9
    // and F10 the window's scale. False for any other key.
    bool HandleHostKey(SDL_Keycode key);
    // Writes the settings file when what it should hold has changed.
    void KeepSettings();
    // F9 makes the window one step smaller, F10 one step larger (keys the game doesn't use).
    void ChangeWindowScale(int step);
    int LargestFittingScale();
    // Shows the last picture again (or white before the first), scaled to the window.
    void Repaint();
    struct PicturePoint {
        int x;
        int y;
    };
    // A point of the window (as SDL reports it) in the shown picture's own pixels.
    PicturePoint PictureFromScreen(int x, int y);
    // A picture the game presented is put on the screen when the game next yields (sleeps,
    // looks at its messages or asks a question), so a step that presents twice in a row
    // (drawing both pages of a flip chain) costs the screen one update, not two.
    void ShowPendingPicture();
    void SetWindowIcon();
    void UploadPicture(const uint32_t* pixels, int width, int height);
    bool KeyStateDown(int virtualKey);

    // Destroyed in the reverse order: the texture, the renderer, then the window.
    SdlWindowPtr window_;
    SdlRendererPtr renderer_;
    SdlTexturePtr texture_;
    int textureWidth_ = 0;
    int textureHeight_ = 0;
    bool fullScreen_ = false;
    int clientWidth_ = 0;
    int clientHeight_ = 0;
    bool picturePending_ = false;
    int windowScale_ = 0;  // screen pixels a game pixel, in windowed mode
    // Set once a full-screen picture has something outside the play area: from then until
    // full screen is left, the whole frame is shown.
    bool borderDrawn_ = false;
    std::string settingsPath_;
    HostSettings settings_;
    HostSettings keptSettings_;  // what the settings file holds
    bool scaleFromSettings_ = false;
    // The factor the audio thread multiplies the mixer's output by.
    std::atomic<float> gain_{1.0f};
    // The last picture the game presented, 0x00RRGGBB: a message box freezes it.
    std::vector<uint32_t> picture_;
    int pictureWidth_ = 0;
    int pictureHeight_ = 0;
    int fullScreenWidth_ = 640;  // the game's full-screen mode
    int fullScreenHeight_ = 480;
    // Keys pressed while a message box was open, hidden from the game until they come up.
    std::vector<int> keysOfBox_;
    // Set before the device starts and cleared after it is closed, so the audio thread reads
    // them without a lock; the mixer guards its own state.
    SDL_AudioDeviceID audioDevice_ = 0;
    AudioRenderer* audioRenderer_ = nullptr;
    int audioRate_ = 0;
};

// The SDL scancode of a virtual key the game reads, or SDL_SCANCODE_UNKNOWN: for letters and
// minus, where the current keyboard layout puts them.
SDL_Scancode ScancodeForVirtualKey(int virtualKey);
// The virtual key of a key SDL reports, or 0: letters and minus by what the layout makes of
// the key, other keys by their place.
int VirtualKeyForKey(const SDL_Keysym& key);

}  // namespace platform
