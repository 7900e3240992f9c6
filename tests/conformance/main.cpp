// parrun-conformance: calls every platform function the game uses, in the ways the game uses
// them and a few more, and writes what it observes. Built for Windows and for our layer.
#include <cstdarg>
#include <cstdio>

#include "tests/conformance/facts.h"

void Fact(const char* format, ...) {
    va_list args;
    va_start(args, format);
    std::vprintf(format, args);
    va_end(args);
    std::putchar('\n');
    std::fflush(stdout);
}

void Pump(DWORD milliseconds) {
    DWORD start = timeGetTime();
    MSG msg;
    while (static_cast<LONG>(timeGetTime() - start) < static_cast<LONG>(milliseconds)) {
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                Fact("pump quit %d", static_cast<int>(msg.wParam));
                continue;
            }
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        Sleep(5);
    }
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    ProbeClock();
    ProbeResources();
    HWND window = ProbeWindowStart(instance);
    if (window == nullptr) return 1;
    ProbeFocus(window);
    ProbeWindowedDisplay(window);
    ProbeFullScreenDisplay(window);
    ProbeSound(window);
    ProbeMmio();
    ProbeWindowEnd(window);
    Fact("end");
    return 0;
}
