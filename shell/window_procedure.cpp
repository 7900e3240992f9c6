#include "shell/window_procedure.h"

#include "display/display_device.h"
#include "display/image_assets.h"
#include "shell/shell_state.h"
#include "sound/music.h"
#include "sound/sound_effects.h"
#include "typing/typing_records.h"

namespace {

// "終了します。よろしいですか？" and "終了確認" in Shift-JIS.
constexpr char kQuitQuestion[] =
    "\x8f\x49\x97\xb9\x82\xb5\x82\xdc\x82\xb7\x81\x42\x82\xe6\x82\xeb\x82\xb5\x82\xa2\x82\xc5"
    "\x82\xb7\x82\xa9\x81\x48";
constexpr char kQuitCaption[] = "\x8f\x49\x97\xb9\x8a\x6d\x94\x46";

// Centres the window on the desktop, keeping its size, and shows it.
void CentreWindow(HWND window) {
    RECT outer;
    RECT desktop;
    GetWindowRect(window, &outer);
    GetWindowRect(GetDesktopWindow(), &desktop);
    int width = outer.right - outer.left;
    int height = outer.bottom - outer.top;
    int x = (desktop.right - width) >> 1;
    int y = (desktop.bottom - height) >> 1;
    SetWindowPos(window, nullptr, x, y, width, height, SWP_NOZORDER | SWP_SHOWWINDOW);
}

// Brings up display, sound effects and music; the first failure destroys the window.
void HandleCreate(HWND window) {
    shell.mainWindow = window;
    if (!StartDisplay(window) || !StartSoundEffects(window) || !CreateMusic()) {
        DestroyWindow(window);
        return;
    }
    LoadMusic();
    PlayMusic(MusicId::Title);
    CentreWindow(window);
    TrackClientRect(window);
}

}  // namespace

void RunShutdownSequence() {
    ShowCursor(TRUE);
    // During window creation the preferences in memory are not yet the player's.
    if (shell.preferencesLoaded) SaveRomajiPreferences(romajiPreferences);
    ReleaseDisplay();
    ReleaseSoundEffects();
    ReleaseMusic();
    PostQuitMessage(0);
}

LRESULT CALLBACK MainWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            HandleCreate(window);
            return 0;
        case WM_DESTROY:
            RunShutdownSequence();
            return 0;
        case WM_MOVE:
            shell.screenDirty = true;
            shell.phraseDirty = true;
            TrackClientRect(window);
            return 0;
        case WM_ACTIVATE:
            shell.windowRestored = HIWORD(wParam) == 0;
            shell.windowActive = LOWORD(wParam);
            return 0;
        case WM_CLOSE:
            if (MessageBoxA(window, kQuitQuestion, kQuitCaption, MB_YESNO | MB_ICONQUESTION) ==
                IDYES) {
                DestroyWindow(window);
            }
            return 0;
        case WM_ACTIVATEAPP:
            shell.screenDirty = true;
            shell.phraseDirty = true;
            return 0;
        case WM_KEYDOWN:
            if (wParam == VK_ESCAPE) DestroyWindow(window);
            return 0;
        default:
            return DefWindowProcA(window, message, wParam, lParam);
    }
}
