// The posted-message queue and the functions that read it, plus the keyboard state, the clock
// and the thread yield, which all come from the host.
#include <windows.h>

#include <mmsystem.h>

#include "platform/core/host.h"
#include "platform/core/window_state.h"

using platform::Windows;

namespace {

bool Matches(const MSG& msg, HWND window, UINT filterMin, UINT filterMax) {
    if (window != nullptr && msg.hwnd != window) return false;
    if (filterMin == 0 && filterMax == 0) return true;
    return msg.message >= filterMin && msg.message <= filterMax;
}

// Takes the first waiting message that passes the filter; the quit message comes only once
// nothing else is waiting.
bool TakeMessage(LPMSG msg, HWND window, UINT filterMin, UINT filterMax, bool remove) {
    auto& state = Windows();
    for (auto it = state.queue.begin(); it != state.queue.end(); ++it) {
        if (Matches(*it, window, filterMin, filterMax)) {
            if (msg != nullptr) *msg = *it;
            if (remove) state.queue.erase(it);
            return true;
        }
    }
    if (state.quitPosted) {
        if (msg != nullptr)
            *msg = MSG{nullptr,
                       WM_QUIT,
                       static_cast<WPARAM>(state.quitCode),
                       0,
                       platform::CurrentHost().Now(),
                       {0, 0}};
        if (remove) state.quitPosted = false;
        return true;
    }
    return false;
}

}  // namespace

BOOL WINAPI PeekMessageA(LPMSG msg, HWND window, UINT filterMin, UINT filterMax, UINT removeMsg) {
    platform::CurrentHost().PumpEvents();
    return TakeMessage(msg, window, filterMin, filterMax, (removeMsg & PM_REMOVE) != 0) ? TRUE
                                                                                        : FALSE;
}

BOOL WINAPI GetMessageA(LPMSG msg, HWND window, UINT filterMin, UINT filterMax) {
    auto& host = platform::CurrentHost();
    host.PumpEvents();
    while (!TakeMessage(msg, window, filterMin, filterMax, true)) host.WaitForEvents();
    return msg != nullptr && msg->message == WM_QUIT ? FALSE : TRUE;
}

BOOL WINAPI WaitMessage(void) {
    auto& host = platform::CurrentHost();
    host.PumpEvents();
    if (Windows().queue.empty() && !Windows().quitPosted) host.WaitForEvents();
    return TRUE;
}

BOOL WINAPI TranslateMessage(const MSG* msg) {
    if (msg == nullptr || msg->message != WM_KEYDOWN) return FALSE;
    WPARAM key = msg->wParam;
    char character = 0;
    if (key >= 'A' && key <= 'Z') character = static_cast<char>(key - 'A' + 'a');
    if (key == VK_RETURN || key == VK_ESCAPE || key == VK_SPACE || key == VK_BACK) {
        character = static_cast<char>(key);
    }
    if (key == VK_OEM_MINUS) character = '-';
    if (character == 0) return FALSE;
    PostMessageA(msg->hwnd, WM_CHAR, static_cast<WPARAM>(static_cast<unsigned char>(character)),
                 msg->lParam);
    return TRUE;
}

LRESULT WINAPI DispatchMessageA(const MSG* msg) {
    if (msg == nullptr) return 0;
    platform::WindowRecord* record = platform::FindWindowRecord(msg->hwnd);
    if (record == nullptr) return 0;
    WNDPROC procedure = record->procedure;
    return procedure(msg->hwnd, msg->message, msg->wParam, msg->lParam);
}

BOOL WINAPI PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (window != nullptr && platform::FindWindowRecord(window) == nullptr) return FALSE;
    Windows().queue.push_back(
        MSG{window, message, wParam, lParam, platform::CurrentHost().Now(), {0, 0}});
    return TRUE;
}

LRESULT WINAPI SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    platform::WindowRecord* record = platform::FindWindowRecord(window);
    if (record == nullptr) return 0;
    WNDPROC procedure = record->procedure;
    return procedure(window, message, wParam, lParam);
}

void WINAPI PostQuitMessage(int exitCode) {
    Windows().quitPosted = true;
    Windows().quitCode = exitCode;
}

SHORT WINAPI GetAsyncKeyState(int virtualKey) {
    return platform::CurrentHost().IsKeyDown(virtualKey) ? static_cast<SHORT>(0x8000) : 0;
}

DWORD WINAPI timeGetTime(void) {
    return platform::CurrentHost().Now();
}

MMRESULT WINAPI timeBeginPeriod(UINT) {
    return TIMERR_NOERROR;
}

MMRESULT WINAPI timeEndPeriod(UINT) {
    return TIMERR_NOERROR;
}

void WINAPI Sleep(DWORD milliseconds) {
    platform::CurrentHost().Sleep(milliseconds);
}
