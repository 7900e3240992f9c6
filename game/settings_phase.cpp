// The settings screen: the player picks a spelling for each of nine kana, confirms with Enter
// (the phrases are rebuilt at once) or cancels with Space.
#include <windows.h>

#include <algorithm>
#include <iterator>

#include "game/game_state.h"
#include "game/phases.h"
#include "screens/settings_screen.h"
#include "shell/keyboard.h"
#include "shell/shell_state.h"
#include "sound/sound_effects.h"
#include "typing/typing_records.h"

namespace {

constexpr int kRows = 9;

void DrawWholeScreen() {
    DrawSettingsBackground();
    DrawSettingsLabels();
    DrawSettingsCursor(game.settingsCursor);
    for (int row = 0; row < kRows; ++row) DrawSettingsChoice(row, game.pendingPreferences);
}

void MoveCursor(int32_t row) {
    PlaySoundEffect(SoundId::Select);
    game.settingsCursor = row;
    DrawInTwoPasses([] { DrawSettingsCursor(game.settingsCursor); });
}

void Toggle() {
    PlaySoundEffect(SoundId::Select);
    // Only the lowest bit flips, so a stored value other than 0 or 1 keeps its other bits.
    game.pendingPreferences[game.settingsCursor] ^= 1;
    DrawInTwoPasses([] { DrawSettingsChoice(game.settingsCursor, game.pendingPreferences); });
}

void Confirm() {
    game.currentPhase = GamePhase::Title;
    shell.screenDirty = true;
    std::copy(std::begin(game.pendingPreferences), std::end(game.pendingPreferences),
              std::begin(romajiPreferences.values));
    // The phrases are rebuilt even when nothing changed; "key.dat" is written at shutdown.
    game.phraseCount = static_cast<int16_t>(LoadPhraseTable(phraseTable, romajiPreferences));
    if (game.phraseCount == 0) {
        DestroyWindow(shell.mainWindow);
        return;
    }
    game.settingsCursor = 0;
    PlaySoundEffect(SoundId::Decide);
}

void Cancel() {
    game.currentPhase = GamePhase::Title;
    shell.screenDirty = true;
    game.settingsCursor = 0;
    PlaySoundEffect(SoundId::Decide);
}

}  // namespace

void RunSettingsStep() {
    if (shell.screenDirty) {
        shell.screenDirty = false;
        // Every full draw starts again from the stored preferences, so a redraw asked for
        // while the screen is open (a move, a change of focus) drops unconfirmed toggles.
        std::copy(std::begin(romajiPreferences.values), std::end(romajiPreferences.values),
                  std::begin(game.pendingPreferences));
        DrawInTwoPasses(DrawWholeScreen);
    }
    switch (PollControlKey()) {
        case VK_RETURN:
            Confirm();
            break;
        case VK_SPACE:
            Cancel();
            break;
        case VK_LEFT:
        case VK_RIGHT:
            Toggle();
            break;
        case VK_UP:
            MoveCursor(game.settingsCursor == 0 ? kRows - 1 : game.settingsCursor - 1);
            break;
        case VK_DOWN:
            MoveCursor(game.settingsCursor == kRows - 1 ? 0 : game.settingsCursor + 1);
            break;
        default:
            break;
    }
}
