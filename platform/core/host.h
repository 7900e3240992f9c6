// The one small interface between our Win32 layer and the outside world. The layer does its
// work in portable code and asks the host only for what a real machine provides: a clock, key
// states, a window on the desktop, modal message boxes, finished pictures, and sound.
// Hosts deliver what happens outside (a key, the close box, focus) through host_events.h.
#pragma once

#include <cstdint>
#include <string>

namespace platform {

enum class MessageBoxAnswer { Ok, Yes, No };

// What feeds the host's sound output: the layer's mixer.
class AudioRenderer {
public:
    virtual ~AudioRenderer() = default;
    // Fills `out` with `frames` stereo frames at `rate` Hz, interleaved left and right, full
    // scale 1.0 (louder values are clipped by the host).
    virtual void Render(float* out, int frames, int rate) = 0;
    // Lets `frames` frames of time pass with nobody listening: everything that plays moves on
    // as Render would move it, but what is costly only to hear need not be made.
    virtual void Advance(int frames, int rate) = 0;
};

class Host {
public:
    virtual ~Host() = default;

    // The wrapping millisecond clock behind timeGetTime.
    virtual uint32_t Now() = 0;
    // Gives up the processor for at least the given time (Sleep).
    virtual void Sleep(uint32_t milliseconds) = 0;
    // Delivers pending outside happenings (keys, close box, moves) through host_events.h.
    virtual void PumpEvents() = 0;
    // Blocks until something from outside has arrived, then delivers it (WaitMessage).
    virtual void WaitForEvents() = 0;

    // Present up-or-down state of a virtual key.
    virtual bool IsKeyDown(int virtualKey) = 0;

    // Size of the desktop in pixels.
    virtual int DesktopWidth() = 0;
    virtual int DesktopHeight() = 0;
    // The game's top-level window: created hidden with its client size, then shown, moved,
    // destroyed. Positions are the client area's top-left corner in desktop coordinates.
    virtual void CreateMainWindow(const std::string& titleUtf8, int clientX, int clientY,
                                  int clientWidth, int clientHeight) = 0;
    virtual void ShowMainWindow(bool visible) = 0;
    virtual void MoveMainWindow(int clientX, int clientY, int clientWidth, int clientHeight) = 0;
    virtual void DestroyMainWindow() = 0;

    // A modal message box; `yesNo` asks a question with Yes and No buttons. The button
    // numbered `defaultButton` (from 0) has the focus at first.
    virtual MessageBoxAnswer ShowMessageBox(const std::string& textUtf8,
                                            const std::string& captionUtf8, bool yesNo,
                                            int defaultButton) = 0;

    // Text the program hands to the debugger (OutputDebugStringA).
    virtual void DebugText(const std::string& text) = 0;
    // Something the layer did that tests want to see, such as a sound effect or a piece of
    // music starting ("sound", "3"). Players' hosts ignore it.
    virtual void Report(const std::string& kind, const std::string& details) {}
    // The mouse pointer is shown over the window while the cursor's display count is not
    // negative (ShowCursor).
    virtual void ShowPointer(bool visible) {}

    // The desktop's pixel depth while no program has the screen to itself: 32, 16 (5-6-5) or
    // 15 (5-5-5).
    virtual int DesktopBits() { return 32; }
    // The program took the whole screen in a display mode of its own, or gave it back.
    virtual void EnterFullScreen(int width, int height, int bits) {}
    virtual void LeaveFullScreen() {}
    // A finished picture of the window's client area, 0x00RRGGBB pixels row by row.
    virtual void ShowWindowPicture(const uint32_t* pixels, int width, int height) {}
    // A finished full-screen picture: one palette index a pixel, row by row, and the 256
    // colours of the palette as 0x00RRGGBB.
    virtual void ShowFullScreenPicture(const uint8_t* indices, int width, int height,
                                       const uint32_t* palette) {}

    // Starts the sound output, which from then on pulls what it plays from `renderer` (on a
    // thread of the host's, or against a virtual clock). False, with the reason, when the host
    // has no sound output; the layer then plays silently.
    virtual bool StartAudio(AudioRenderer* renderer, std::string& whyNot) {
        whyNot = "this host has no sound output";
        return false;
    }
    // Stops the output; no Render call is running or will run once it returns.
    virtual void StopAudio() {}
    // The layer is about to change what sounds (a buffer starts or stops): a host that renders
    // against its own clock brings its output up to the present first.
    virtual void AudioChanging() {}
    // Whether the music's synthesiser reads its sound font on a thread of its own while the
    // game starts, the music starting once it is ready. A host that must give the same run
    // every time keeps it on the game's thread.
    virtual bool PreparesMusicInBackground() { return false; }
};

// The host that the layer uses; set once by the program's main before the game starts.
Host& CurrentHost();
void SetHost(Host* host);

}  // namespace platform
