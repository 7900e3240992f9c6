// Window classes, the game's window, its geometry and the default window procedure.
#include <windows.h>

#include <algorithm>
#include <cstring>

#include "platform/core/codepage.h"
#include "platform/core/host.h"
#include "platform/core/window_state.h"
#include "platform/ddraw/ddraw_objects.h"

namespace platform {

WindowState& Windows() {
    static WindowState state;
    return state;
}

void ResetWindowState() {
    Windows() = WindowState{};
}

WindowRecord* FindWindowRecord(HWND window) {
    for (auto& record : Windows().windows) {
        if (record.handle == window && !record.destroyed) return &record;
    }
    return nullptr;
}

WindowRecord* MainWindowRecord() {
    for (auto& record : Windows().windows) {
        if (!record.destroyed) return &record;
    }
    return nullptr;
}

RECT ClientOffsets(DWORD style) {
    RECT offsets = {};
    if ((style & WS_CAPTION) == WS_CAPTION) {
        offsets.left = kDialogFrameWidth;
        offsets.right = kDialogFrameWidth;
        offsets.top = kCaptionHeight + kDialogFrameHeight;
        offsets.bottom = kDialogFrameHeight;
    }
    return offsets;
}

HWND DesktopHandle() {
    return reinterpret_cast<HWND>(uintptr_t{0x10});
}

namespace {

const WindowClassRecord* FindClass(LPCSTR name) {
    if (name == nullptr) return nullptr;
    for (const auto& record : Windows().classes) {
        if (record.name == name) return &record;
    }
    return nullptr;
}

LRESULT Send(WindowRecord& record, UINT message, WPARAM wParam, LPARAM lParam) {
    // The procedure may destroy the window, and new windows may move the vector: copy first.
    WNDPROC procedure = record.procedure;
    HWND handle = record.handle;
    return procedure(handle, message, wParam, lParam);
}

LPARAM ClientPositionParam(const WindowRecord& record) {
    RECT offsets = ClientOffsets(record.style);
    return MAKELPARAM(record.outer.left + offsets.left, record.outer.top + offsets.top);
}

void TellHostWhereWindowIs(const WindowRecord& record) {
    RECT offsets = ClientOffsets(record.style);
    CurrentHost().MoveMainWindow(
        record.outer.left + offsets.left, record.outer.top + offsets.top,
        record.outer.right - record.outer.left - offsets.left - offsets.right,
        record.outer.bottom - record.outer.top - offsets.top - offsets.bottom);
}

}  // namespace

// Showing the game's window makes it the active window of the foreground application.
void ActivateWindow(HWND window, bool active, bool minimized) {
    WindowRecord* record = FindWindowRecord(window);
    if (record == nullptr) return;
    bool wasActive = record->active;
    record->active = active;
    record->minimized = minimized;
    // DirectDraw hears of a change of focus before the window does, as its hook would.
    if (active != wasActive) DisplayFocusChanged(window, active);
    record = FindWindowRecord(window);
    if (record == nullptr) return;
    // The application hears of its activation before the window does; of its deactivation,
    // after the window.
    if (active && !wasActive) Send(*record, WM_ACTIVATEAPP, TRUE, 0);
    record = FindWindowRecord(window);
    if (record == nullptr) return;
    WORD state = active ? WA_ACTIVE : WA_INACTIVE;
    Send(*record, WM_ACTIVATE, MAKEWPARAM(state, minimized ? 1 : 0), 0);
    record = FindWindowRecord(window);
    if (record == nullptr) return;
    if (!active && wasActive) Send(*record, WM_ACTIVATEAPP, FALSE, 0);
}

void SendMove(HWND window) {
    WindowRecord* record = FindWindowRecord(window);
    if (record != nullptr) Send(*record, WM_MOVE, 0, ClientPositionParam(*record));
}

}  // namespace platform

using platform::FindWindowRecord;
using platform::Windows;

ATOM WINAPI RegisterClassA(const WNDCLASSA* wndClass) {
    if (wndClass == nullptr || wndClass->lpszClassName == nullptr ||
        wndClass->lpfnWndProc == nullptr) {
        return 0;
    }
    auto& classes = Windows().classes;
    for (const auto& record : classes) {
        if (record.name == wndClass->lpszClassName) return 0;  // already registered
    }
    classes.push_back({wndClass->lpszClassName, *wndClass});
    return static_cast<ATOM>(0xC000 + classes.size());
}

HWND WINAPI CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x,
                            int y, int width, int height, HWND parent, HMENU menu,
                            HINSTANCE instance, LPVOID param) {
    const platform::WindowClassRecord* windowClass = platform::FindClass(className);
    if (windowClass == nullptr) return nullptr;
    auto& state = Windows();
    platform::WindowRecord record;
    record.handle = reinterpret_cast<HWND>(state.nextHandle);
    state.nextHandle += 4;
    record.procedure = windowClass->wndClass.lpfnWndProc;
    record.style = style;
    record.outer = {x, y, x + width, y + height};
    state.windows.push_back(record);
    HWND handle = record.handle;

    RECT offsets = platform::ClientOffsets(style);
    std::string title =
        windowName ? platform::Cp932ToUtf8(windowName, std::strlen(windowName)) : "";
    platform::CurrentHost().CreateMainWindow(title, x + offsets.left, y + offsets.top,
                                             width - offsets.left - offsets.right,
                                             height - offsets.top - offsets.bottom);

    CREATESTRUCTA create = {
        param,      instance,  menu,   parent, height, width, y, x, static_cast<LONG>(style),
        windowName, className, exStyle};
    LPARAM createParam = reinterpret_cast<LPARAM>(&create);
    platform::WindowRecord* live = FindWindowRecord(handle);
    if (live == nullptr || platform::Send(*live, WM_NCCREATE, 0, createParam) == FALSE) {
        DestroyWindow(handle);
        return nullptr;
    }
    live = FindWindowRecord(handle);
    if (live == nullptr || platform::Send(*live, WM_CREATE, 0, createParam) == -1) {
        DestroyWindow(handle);
        return nullptr;
    }
    // The creation handling may have destroyed the window: then creation failed. Otherwise
    // the new window is told its size and place, as it would be on Windows.
    live = FindWindowRecord(handle);
    if (live == nullptr) return nullptr;
    RECT client;
    GetClientRect(handle, &client);
    platform::Send(*live, WM_SIZE, SIZE_RESTORED, MAKELPARAM(client.right, client.bottom));
    platform::SendMove(handle);
    if (FindWindowRecord(handle) == nullptr) return nullptr;
    if (style & WS_VISIBLE) ShowWindow(handle, SW_SHOW);
    return FindWindowRecord(handle) ? handle : nullptr;
}

BOOL WINAPI DestroyWindow(HWND window) {
    platform::WindowRecord* record = FindWindowRecord(window);
    if (record == nullptr || record->destroying) return FALSE;
    record->destroying = true;
    // The active window is deactivated first. DirectDraw's focus hook is left out: the
    // program's own shutdown gives the display back.
    WNDPROC procedure = record->procedure;
    if (record->active) {
        record->active = false;
        procedure(window, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, record->minimized ? 1 : 0), 0);
        procedure(window, WM_ACTIVATEAPP, FALSE, 0);
    }
    if ((record = FindWindowRecord(window)) != nullptr) record->visible = false;
    auto dropMessages = [window] {
        auto& queue = Windows().queue;
        queue.erase(std::remove_if(queue.begin(), queue.end(),
                                   [window](const MSG& msg) { return msg.hwnd == window; }),
                    queue.end());
    };
    dropMessages();
    // The window is still a window while its procedure hears of its destruction.
    procedure(window, WM_DESTROY, 0, 0);
    procedure(window, WM_NCDESTROY, 0, 0);
    if ((record = FindWindowRecord(window)) != nullptr) record->destroyed = true;
    dropMessages();
    platform::CurrentHost().DestroyMainWindow();
    return TRUE;
}

BOOL WINAPI IsWindow(HWND window) {
    return FindWindowRecord(window) != nullptr;
}

BOOL WINAPI ShowWindow(HWND window, int showCommand) {
    platform::WindowRecord* record = FindWindowRecord(window);
    if (record == nullptr) return FALSE;
    BOOL wasVisible = record->visible ? TRUE : FALSE;
    if (showCommand == SW_HIDE) {
        record->visible = false;
        platform::CurrentHost().ShowMainWindow(false);
        return wasVisible;
    }
    if (!record->visible) {
        record->visible = true;
        platform::CurrentHost().ShowMainWindow(true);
        platform::Send(*record, WM_SHOWWINDOW, TRUE, 0);
    }
    bool minimize = showCommand == SW_MINIMIZE || showCommand == SW_SHOWMINIMIZED;
    record = FindWindowRecord(window);
    if (record != nullptr && (record->active == minimize || record->minimized != minimize)) {
        platform::ActivateWindow(window, !minimize, minimize);
    }
    return wasVisible;
}

BOOL WINAPI UpdateWindow(HWND window) {
    return FindWindowRecord(window) != nullptr;
}

LRESULT WINAPI DefWindowProcA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_NCCREATE:
            return TRUE;
        case WM_CLOSE:
            DestroyWindow(window);
            return 0;
        case WM_SYSCOMMAND:
            if ((wParam & 0xFFF0) == SC_CLOSE) PostMessageA(window, WM_CLOSE, 0, 0);
            return 0;
        default:
            return 0;
    }
}

BOOL WINAPI GetWindowRect(HWND window, LPRECT rect) {
    if (rect == nullptr) return FALSE;
    if (window == platform::DesktopHandle()) {
        *rect = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
        return TRUE;
    }
    platform::WindowRecord* record = FindWindowRecord(window);
    if (record == nullptr) return FALSE;
    *rect = record->outer;
    return TRUE;
}

BOOL WINAPI GetClientRect(HWND window, LPRECT rect) {
    if (rect == nullptr) return FALSE;
    RECT outer;
    if (!GetWindowRect(window, &outer)) return FALSE;
    RECT offsets = {};
    if (platform::WindowRecord* record = FindWindowRecord(window)) {
        offsets = platform::ClientOffsets(record->style);
    }
    LONG width = outer.right - outer.left - offsets.left - offsets.right;
    LONG height = outer.bottom - outer.top - offsets.top - offsets.bottom;
    *rect = {0, 0, std::max<LONG>(width, 0), std::max<LONG>(height, 0)};
    return TRUE;
}

HWND WINAPI GetDesktopWindow(void) {
    return platform::DesktopHandle();
}

BOOL WINAPI SetWindowPos(HWND window, HWND insertAfter, int x, int y, int width, int height,
                         UINT flags) {
    platform::WindowRecord* record = FindWindowRecord(window);
    if (record == nullptr) return FALSE;
    RECT outer = record->outer;
    if (!(flags & SWP_NOMOVE)) {
        LONG w = outer.right - outer.left, h = outer.bottom - outer.top;
        outer = {x, y, x + w, y + h};
    }
    if (!(flags & SWP_NOSIZE)) {
        outer.right = outer.left + width;
        outer.bottom = outer.top + height;
    }
    record->outer = outer;
    platform::TellHostWhereWindowIs(*record);
    // Shown this way the window gets no WM_SHOWWINDOW, and is activated before it hears of
    // its move.
    if (flags & SWP_SHOWWINDOW) {
        if (!record->visible) {
            record->visible = true;
            platform::CurrentHost().ShowMainWindow(true);
        }
        if (!record->active || record->minimized) platform::ActivateWindow(window, true, false);
    }
    if (!(flags & SWP_NOMOVE)) platform::SendMove(window);
    if (flags & SWP_HIDEWINDOW) ShowWindow(window, SW_HIDE);
    return TRUE;
}

BOOL WINAPI MoveWindow(HWND window, int x, int y, int width, int height, BOOL repaint) {
    return SetWindowPos(window, nullptr, x, y, width, height, SWP_NOZORDER);
}

int WINAPI GetSystemMetrics(int index) {
    switch (index) {
        case SM_CXSCREEN:
            return Windows().screenWidth ? Windows().screenWidth
                                         : platform::CurrentHost().DesktopWidth();
        case SM_CYSCREEN:
            return Windows().screenHeight ? Windows().screenHeight
                                          : platform::CurrentHost().DesktopHeight();
        case SM_CYCAPTION:
            return platform::kCaptionHeight;
        case SM_CXDLGFRAME:
            return platform::kDialogFrameWidth;
        case SM_CYDLGFRAME:
            return platform::kDialogFrameHeight;
        default:
            return 0;
    }
}

int WINAPI ShowCursor(BOOL show) {
    int& count = Windows().cursorCount;
    count += show ? 1 : -1;
    platform::CurrentHost().ShowPointer(count >= 0);
    return count;
}

HICON WINAPI LoadIconA(HINSTANCE instance, LPCSTR name) {
    // Icons are the host's business; a handle is enough for the class.
    return reinterpret_cast<HICON>(uintptr_t{0x20});
}

HCURSOR WINAPI LoadCursorA(HINSTANCE instance, LPCSTR name) {
    return reinterpret_cast<HCURSOR>(uintptr_t{0x24});
}

HGDIOBJ WINAPI GetStockObject(int object) {
    return reinterpret_cast<HGDIOBJ>(uintptr_t{0x30 + static_cast<unsigned>(object)});
}

HMODULE WINAPI GetModuleHandleA(LPCSTR moduleName) {
    return reinterpret_cast<HMODULE>(uintptr_t{0x400000});
}

int WINAPI MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
    std::string utf8Text = text ? platform::Cp932ToUtf8(text, std::strlen(text)) : "";
    std::string utf8Caption =
        caption ? platform::Cp932ToUtf8(caption, std::strlen(caption)) : "Error";
    bool yesNo = (type & MB_TYPEMASK) == MB_YESNO;
    int defaultButton = (type & MB_DEFMASK) == MB_DEFBUTTON2 ? 1 : 0;
    // The box takes the activation from its owner while it is open, within the same
    // application: the owner hears WM_ACTIVATE, and no WM_ACTIVATEAPP.
    platform::WindowRecord* record = FindWindowRecord(owner);
    bool ownerWasActive = record != nullptr && record->active;
    if (ownerWasActive) {
        record->active = false;
        platform::Send(*record, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, 0), 0);
    }
    platform::MessageBoxAnswer answer =
        platform::CurrentHost().ShowMessageBox(utf8Text, utf8Caption, yesNo, defaultButton);
    if (ownerWasActive && (record = FindWindowRecord(owner)) != nullptr && !record->active) {
        record->active = true;
        platform::Send(*record, WM_ACTIVATE, MAKEWPARAM(WA_ACTIVE, 0), 0);
    }
    switch (answer) {
        case platform::MessageBoxAnswer::Yes:
            return IDYES;
        case platform::MessageBoxAnswer::No:
            return IDNO;
        default:
            return IDOK;
    }
}

void WINAPI OutputDebugStringA(LPCSTR text) {
    if (text != nullptr) platform::CurrentHost().DebugText(text);
}
