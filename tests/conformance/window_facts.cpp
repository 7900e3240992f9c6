// Windows and messages: the class, the game's window with its geometry, the messages its
// procedure receives, focus, key state, the queue and the quit message.
#include <windows.h>

#include <mmsystem.h>

#include <initializer_list>

#include "tests/conformance/facts.h"

namespace {

constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU;
HWND probedWindow = nullptr;

LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_NCCREATE:
            Fact("message WM_NCCREATE");
            break;
        case WM_CREATE: {
            auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
            if (create == nullptr) {
                Fact("message WM_CREATE without CREATESTRUCT");
            } else {
                Fact("message WM_CREATE name=%s style=%08x size=%dx%d", create->lpszName,
                     static_cast<unsigned>(create->style), create->cx, create->cy);
            }
            return 0;
        }
        case WM_SIZE:
            Fact("message WM_SIZE %u %dx%d", static_cast<unsigned>(wParam), LOWORD(lParam),
                 HIWORD(lParam));
            return 0;
        case WM_MOVE:
            Fact("message WM_MOVE %d,%d", static_cast<short>(LOWORD(lParam)),
                 static_cast<short>(HIWORD(lParam)));
            return 0;
        case WM_SHOWWINDOW:
            Fact("message WM_SHOWWINDOW %u", static_cast<unsigned>(wParam));
            break;
        case WM_ACTIVATEAPP:
            Fact("message WM_ACTIVATEAPP %u", static_cast<unsigned>(wParam != 0));
            return 0;
        case WM_ACTIVATE:
            Fact("message WM_ACTIVATE %u minimized=%u", LOWORD(wParam), HIWORD(wParam) != 0);
            return 0;
        case WM_CLOSE:
            Fact("message WM_CLOSE");
            return 0;
        case WM_KEYDOWN:
            Fact("message WM_KEYDOWN %u", static_cast<unsigned>(wParam));
            return 0;
        case WM_USER + 1:
            Fact("message WM_USER+1 %u %ld", static_cast<unsigned>(wParam),
                 static_cast<long>(lParam));
            return 42;
        case WM_DESTROY:
            Fact("message WM_DESTROY is-window=%d", IsWindow(window) ? 1 : 0);
            return 0;
        case WM_NCDESTROY:
            Fact("message WM_NCDESTROY");
            break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

void WindowGeometry(HWND window, const char* when) {
    RECT outer;
    RECT client;
    GetWindowRect(window, &outer);
    GetClientRect(window, &client);
    Fact("%s window %d,%d,%d,%d client %d,%d,%d,%d", when, int(outer.left), int(outer.top),
         int(outer.right), int(outer.bottom), int(client.left), int(client.top), int(client.right),
         int(client.bottom));
}

}  // namespace

void ProbeClock() {
    Fact("timeBeginPeriod(1) %u", timeBeginPeriod(1));
    Fact("timeEndPeriod(1) %u", timeEndPeriod(1));
    DWORD before = timeGetTime();
    Sleep(20);
    LONG slept = static_cast<LONG>(timeGetTime() - before);
    Fact("Sleep(20) took at least 20 ms: %d", slept >= 20 ? 1 : 0);
}

HWND ProbeWindowStart(HINSTANCE instance) {
    Fact("SM_CXSCREEN %d", GetSystemMetrics(SM_CXSCREEN));
    Fact("SM_CYSCREEN %d", GetSystemMetrics(SM_CYSCREEN));
    Fact("SM_CYCAPTION %d", GetSystemMetrics(SM_CYCAPTION));
    Fact("SM_CXDLGFRAME %d", GetSystemMetrics(SM_CXDLGFRAME));
    Fact("SM_CYDLGFRAME %d", GetSystemMetrics(SM_CYDLGFRAME));
    RECT desktop;
    GetWindowRect(GetDesktopWindow(), &desktop);
    Fact("desktop %d,%d,%d,%d", int(desktop.left), int(desktop.top), int(desktop.right),
         int(desktop.bottom));

    WNDCLASSA windowClass = {};
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = Procedure;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconA(instance, "MYICON");
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    windowClass.lpszClassName = "edit01";
    Fact("icon loaded %d", windowClass.hIcon != nullptr ? 1 : 0);
    Fact("cursor loaded %d", windowClass.hCursor != nullptr ? 1 : 0);
    Fact("RegisterClassA %d", RegisterClassA(&windowClass) != 0 ? 1 : 0);
    Fact("RegisterClassA again %d", RegisterClassA(&windowClass) != 0 ? 1 : 0);
    Fact("CreateWindowExA unknown class %d",
         CreateWindowExA(0, "nothing", "x", kStyle, 0, 0, 10, 10, nullptr, nullptr, instance,
                         nullptr) != nullptr
             ? 1
             : 0);

    int width = 480 + 2 * GetSystemMetrics(SM_CXDLGFRAME);
    int height = 320 + GetSystemMetrics(SM_CYCAPTION) + 2 * GetSystemMetrics(SM_CYDLGFRAME);
    HWND window = CreateWindowExA(0, "edit01", "Parrun", kStyle, 0, 0, width, height, nullptr,
                                  nullptr, instance, nullptr);
    Fact("CreateWindowExA %d", window != nullptr ? 1 : 0);
    if (window == nullptr) return nullptr;
    probedWindow = window;
    WindowGeometry(window, "created");
    Fact("IsWindow %d", IsWindow(window) ? 1 : 0);

    // Centred and shown as the game's creation handling does it.
    int x = (desktop.right - width) >> 1;
    int y = (desktop.bottom - height) >> 1;
    Fact("SetWindowPos %d",
         SetWindowPos(window, nullptr, x, y, width, height, SWP_NOZORDER | SWP_SHOWWINDOW) ? 1 : 0);
    WindowGeometry(window, "centred");
    Fact("ShowWindow was visible %d", ShowWindow(window, SW_SHOWNORMAL) ? 1 : 0);
    UpdateWindow(window);
    Pump(200);
    Fact("SendMessageA returns %ld", static_cast<long>(SendMessageA(window, WM_USER + 1, 5, -6)));
    Fact("PostMessageA %d", PostMessageA(window, WM_USER + 1, 7, 8) ? 1 : 0);
    MSG msg;
    Fact("PeekMessageA PM_NOREMOVE %d", PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE) ? 1 : 0);
    Fact("peeked message is WM_USER+1 %d", msg.message == WM_USER + 1 ? 1 : 0);
    Fact("GetMessageA %d", GetMessageA(&msg, nullptr, 0, 0) ? 1 : 0);
    Fact("DispatchMessageA returns %ld", static_cast<long>(DispatchMessageA(&msg)));
    Fact("PeekMessageA on an empty queue %d",
         PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE) ? 1 : 0);
    for (int key : {VK_RETURN, VK_SPACE, VK_LEFT, VK_F4, int{'A'}, int{'Z'}, VK_OEM_MINUS}) {
        Fact("GetAsyncKeyState(%d) down=%d", key, (GetAsyncKeyState(key) & 0x8000) != 0 ? 1 : 0);
    }
    return window;
}

void ProbeFocus(HWND window) {
    TakeFocusAway();
    Pump(300);
    GiveFocusBack(window);
    Pump(300);
}

void ProbeWindowEnd(HWND window) {
    AnswerMessageBoxSoon("probe box");
    Fact("MessageBoxA %d", MessageBoxA(window, "text", "probe box", MB_OK));
    int cursor = ShowCursor(TRUE);
    Fact("ShowCursor(TRUE) then FALSE moves the count by %d", ShowCursor(FALSE) - cursor);
    Fact("PostMessageA WM_CLOSE %d", PostMessageA(window, WM_CLOSE, 0, 0) ? 1 : 0);
    Pump(50);
    Fact("DestroyWindow %d", DestroyWindow(window) ? 1 : 0);
    Fact("IsWindow after DestroyWindow %d", IsWindow(window) ? 1 : 0);
    Fact("DestroyWindow again %d", DestroyWindow(window) ? 1 : 0);
    PostQuitMessage(7);
    MSG msg;
    BOOL got = GetMessageA(&msg, nullptr, 0, 0);
    Fact("GetMessageA after PostQuitMessage(7) %d message WM_QUIT=%d code %d", got,
         msg.message == WM_QUIT ? 1 : 0, static_cast<int>(msg.wParam));
}
