// The program's entry point: the window class and window, the player's data, the main loop.
#include <windows.h>

#include <mmsystem.h>

#include "game/game_state.h"
#include "shell/main_loop.h"
#include "shell/shell_state.h"
#include "shell/window_procedure.h"
#include "typing/typing_records.h"

namespace {

constexpr char kClassName[] = "edit01";
constexpr char kCaption[] = "Parrun";
constexpr DWORD kWindowStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU;
constexpr int kClientWidth = 480;
constexpr int kClientHeight = 320;

bool RegisterWindowClass(HINSTANCE instance) {
    WNDCLASSA windowClass = {};
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = MainWindowProcedure;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconA(instance, "MYICON");
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    windowClass.lpszMenuName = nullptr;
    windowClass.lpszClassName = kClassName;
    return RegisterClassA(&windowClass) != 0;
}

int StartAndRun(HINSTANCE instance, HINSTANCE previousInstance, int showCommand) {
    if (previousInstance == nullptr && !RegisterWindowClass(instance)) return 0;

    int width = kClientWidth + 2 * GetSystemMetrics(SM_CXDLGFRAME);
    int height =
        kClientHeight + GetSystemMetrics(SM_CYCAPTION) + 2 * GetSystemMetrics(SM_CYDLGFRAME);
    HWND window = CreateWindowExA(0, kClassName, kCaption, kWindowStyle, 0, 0, width, height,
                                  nullptr, nullptr, instance, nullptr);
    if (window == nullptr) return 0;
    ShowWindow(window, showCommand);
    UpdateWindow(window);

    // A missing preferences file is created at once with the values in memory (all zero).
    if (!LoadRomajiPreferences(romajiPreferences)) SaveRomajiPreferences(romajiPreferences);
    shell.preferencesLoaded = true;

    game.phraseCount = static_cast<int16_t>(LoadPhraseTable(phraseTable, romajiPreferences));
    if (game.phraseCount == 0) return 0;

    if (!LoadRankings(rankings)) SaveRankings(rankings);

    shell.lastFrameTime = timeGetTime();
    return RunMainLoop();
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previousInstance, LPSTR commandLine,
                   int showCommand) {
    // Windows' clock otherwise ticks in steps of 5 ms or more, and the 16 ms frames would
    // alternate between one and two of them.
    timeBeginPeriod(1);
    int code = StartAndRun(instance, previousInstance, showCommand);
    timeEndPeriod(1);
    return code;
}
