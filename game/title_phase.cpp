// The title menu: start a game, the rankings, the settings, quit; F4 switches the display.
#include <windows.h>

#include "display/display_device.h"
#include "game/game_state.h"
#include "game/phases.h"
#include "game/play_state.h"
#include "screens/title_screen.h"
#include "shell/keyboard.h"
#include "shell/shell_state.h"
#include "sound/music.h"
#include "sound/sound_effects.h"

namespace {

constexpr int kMenuItems = 4;

void MoveCursor(int32_t cursor) {
    game.titleCursor = cursor;
    DrawInTwoPasses([] { DrawTitleMenu(game.titleCursor); });
    PlaySoundEffect(SoundId::Select);
}

void Choose() {
    switch (game.titleCursor) {
        case 0: {
            game.currentPhase = GamePhase::Ready;
            shell.screenDirty = true;
            // The first phrase is chosen with the clock reading that starts the game.
            uint32_t now = timeGetTime();
            game.phaseTime = now;
            ChoosePhrase(now);
            PlaySoundEffect(SoundId::Decide);
            PlayMusic(MusicId::Game);
            break;
        }
        case 1:
            game.currentPhase = GamePhase::RankingsView;
            shell.screenDirty = true;
            PlaySoundEffect(SoundId::Decide);
            break;
        case 2:
            game.currentPhase = GamePhase::Settings;
            shell.screenDirty = true;
            PlaySoundEffect(SoundId::Decide);
            break;
        default:
            // The main loop ends the program after this step.
            shell.quitRequested = true;
            break;
    }
}

}  // namespace

void RunTitleStep() {
    if (shell.screenDirty) {
        shell.screenDirty = false;
        DrawInTwoPasses([] {
            DrawTitleScreen();
            DrawTitleMenu(game.titleCursor);
        });
    }
    switch (PollControlKey()) {
        case VK_RETURN:
            Choose();
            break;
        case VK_UP:
            MoveCursor((game.titleCursor + kMenuItems - 1) % kMenuItems);
            break;
        case VK_DOWN:
            MoveCursor((game.titleCursor + 1) % kMenuItems);
            break;
        case VK_F4:
            // A failed switch ends the program; the shutdown runs from the destruction.
            if (!ToggleDisplayMode(shell.mainWindow)) DestroyWindow(shell.mainWindow);
            shell.screenDirty = true;
            shell.phraseDirty = true;
            break;
        default:
            break;
    }
}
