// The state behind our window and message functions: registered classes, the windows, the
// posted-message queue, the quit flag and the cursor's display count. One record, which a
// test can put back to its starting values with ResetWindowState.
#pragma once

#include <windows.h>

#include <deque>
#include <string>
#include <vector>

namespace platform {

struct WindowClassRecord {
    std::string name;
    WNDCLASSA wndClass;
};

struct WindowRecord {
    HWND handle = nullptr;
    WNDPROC procedure = nullptr;
    DWORD style = 0;
    RECT outer = {};
    bool visible = false;
    bool active = false;
    bool minimized = false;
    bool destroying = false;  // between the start of DestroyWindow and its end
    bool destroyed = false;
};

struct WindowState {
    std::vector<WindowClassRecord> classes;
    std::vector<WindowRecord> windows;
    std::deque<MSG> queue;
    bool quitPosted = false;
    int quitCode = 0;
    int cursorCount = 0;
    // The size of the display mode an exclusive full-screen program set, while it shows; 0
    // while the desktop's own mode shows.
    int screenWidth = 0;
    int screenHeight = 0;
    uintptr_t nextHandle = 0x100;
};

WindowState& Windows();
void ResetWindowState();

// The record of a live window, or null for an unknown or destroyed handle.
WindowRecord* FindWindowRecord(HWND window);
// The game's top-level window (the first live one), or null.
WindowRecord* MainWindowRecord();

// Frame sizes of a captioned dialog-frame window, as GetSystemMetrics reports them.
constexpr int kCaptionHeight = 23;
constexpr int kDialogFrameWidth = 3;
constexpr int kDialogFrameHeight = 3;
// Where the client area lies inside the outer rectangle for a window style.
RECT ClientOffsets(DWORD style);

// The pseudo-handle of the desktop window.
HWND DesktopHandle();

}  // namespace platform
