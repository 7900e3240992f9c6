#include "shell/main_loop.h"

#include <windows.h>

#include "game/game_step.h"
#include "shell/shell_state.h"
#include "shell/window_procedure.h"

namespace {
constexpr uint32_t kFramePeriod = 16;
}

int RunMainLoop() {
    MSG msg;
    for (;;) {
        if (PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
            if (!GetMessageA(&msg, nullptr, 0, 0)) return static_cast<int>(msg.wParam);
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
            continue;
        }
        if (!shell.windowRestored || shell.windowActive == 0) {
            // Frozen until the window is back.
            WaitMessage();
            continue;
        }
        // Messages (a confirmation box, a burst of moves) or a spell of inactivity may have
        // held this frame back past its time. It then counts from its own start, so the next
        // frame still comes 16 ms later instead of at once to catch up.
        uint32_t frameStart = timeGetTime();
        if (MoreThanElapsed(shell.lastFrameTime, kFramePeriod, frameStart)) {
            shell.lastFrameTime = frameStart;
        }
        RunGameStep();
        if (shell.quitRequested) {
            RunShutdownSequence();
            return 0;
        }
        // Yield rather than sleep a computed time, so the frame starts as soon as it may.
        // A frame that took longer than the period is not made up for.
        uint32_t now = timeGetTime();
        while (static_cast<int32_t>(shell.lastFrameTime + kFramePeriod - now) > 0) {
            Sleep(0);
            now = timeGetTime();
        }
        shell.lastFrameTime = timeGetTime();
    }
}
