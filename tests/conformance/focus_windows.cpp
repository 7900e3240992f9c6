// Focus on Windows: a window of a second thread comes to the front, as another program's
// would, and goes away again.
#include "tests/conformance/facts.h"

namespace {

HANDLE focusThread = nullptr;
DWORD focusThreadId = 0;
HANDLE focusReady = nullptr;

DWORD WINAPI FocusThread(LPVOID) {
    HWND other = CreateWindowExA(0, "STATIC", "other", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr,
                                 nullptr, GetModuleHandleA(nullptr), nullptr);
    SetForegroundWindow(other);
    SetEvent(focusReady);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0)) DispatchMessageA(&msg);
    DestroyWindow(other);
    return 0;
}

DWORD WINAPI AnswerThread(LPVOID caption) {
    for (int tries = 0; tries < 500; ++tries) {
        if (HWND box = FindWindowA(nullptr, static_cast<const char*>(caption))) {
            PostMessageA(box, WM_COMMAND, IDOK, 0);
            return 0;
        }
        Sleep(10);
    }
    return 1;
}

}  // namespace

void AnswerMessageBoxSoon(const char* caption) {
    CloseHandle(CreateThread(nullptr, 0, AnswerThread, const_cast<char*>(caption), 0, nullptr));
}

void TakeFocusAway() {
    focusReady = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    focusThread = CreateThread(nullptr, 0, FocusThread, nullptr, 0, &focusThreadId);
    WaitForSingleObject(focusReady, 5000);
}

void GiveFocusBack(HWND window) {
    PostThreadMessageA(focusThreadId, WM_QUIT, 0, 0);
    WaitForSingleObject(focusThread, 5000);
    CloseHandle(focusThread);
    CloseHandle(focusReady);
    SetForegroundWindow(window);
}
