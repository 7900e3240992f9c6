// Turns what the host reports into the messages the platform would send or post.
#include "platform/core/host_events.h"

#include <windows.h>

#include "platform/core/host.h"
#include "platform/core/window_state.h"

namespace platform {

void ActivateWindow(HWND window, bool active, bool minimized);
void SendMove(HWND window);

namespace {
Host* currentHost = nullptr;
HostEventTap* tap = nullptr;
}  // namespace

void SetHostEventTap(HostEventTap* newTap) {
    tap = newTap;
}

Host& CurrentHost() {
    return *currentHost;
}
void SetHost(Host* host) {
    currentHost = host;
}

bool HostHasMainWindow() {
    return MainWindowRecord() != nullptr;
}

void HostKeyEvent(int virtualKey, bool down) {
    if (tap != nullptr) tap->KeyEvent(virtualKey, down);
    if (WindowRecord* record = MainWindowRecord()) {
        PostMessageA(record->handle, down ? WM_KEYDOWN : WM_KEYUP, static_cast<WPARAM>(virtualKey),
                     down ? 1 : static_cast<LPARAM>(0xC0000001u));
    }
}

void HostCloseClicked() {
    if (tap != nullptr) tap->CloseClicked();
    if (WindowRecord* record = MainWindowRecord()) {
        PostMessageA(record->handle, WM_CLOSE, 0, 0);
    }
}

void HostActivated(bool active) {
    if (tap != nullptr) tap->Activated(active);
    if (WindowRecord* record = MainWindowRecord()) {
        if (record->active != active) ActivateWindow(record->handle, active, record->minimized);
    }
}

void HostMinimized(bool minimized) {
    if (tap != nullptr) tap->Minimized(minimized);
    if (WindowRecord* record = MainWindowRecord()) {
        if (record->minimized != minimized) ActivateWindow(record->handle, !minimized, minimized);
    }
}

void HostMoved(int clientX, int clientY) {
    if (tap != nullptr) tap->Moved(clientX, clientY);
    WindowRecord* record = MainWindowRecord();
    if (record == nullptr) return;
    RECT offsets = ClientOffsets(record->style);
    LONG width = record->outer.right - record->outer.left;
    LONG height = record->outer.bottom - record->outer.top;
    LONG left = clientX - offsets.left, top = clientY - offsets.top;
    if (left == record->outer.left && top == record->outer.top) return;
    record->outer = {left, top, left + width, top + height};
    SendMove(record->handle);
}

}  // namespace platform
