#include <windows.h>

#include "game/play_core.h"
#include "game/play_rules.h"
#include "game/play_state.h"
#include "screens/play_screen.h"
#include "shell/keyboard.h"
#include "shell/shell_state.h"
#include "sound/sound_effects.h"

void RunPlayStep() {
    // Polled in every step: a key pressed during the pause after a phrase is taken and lost.
    int key = PollTypingKey();
    uint32_t now = timeGetTime();
    const ClockEvents clock = AdvancePlayClock(now);
    if (clock.held) return;
    if (clock.pauseEnded) {
        shownPlayScreen.resultMark.reset();
        DrawInTwoPasses([] { ClearPlayPiece(PlayPiece::ResultMark); });
    }
    if (clock.ticked) {
        shownPlayScreen.ticks = play.ticks;
        DrawInTwoPasses([] {
            ClearPlayPiece(PlayPiece::TimerBar);
            DrawTimerBar(play.ticks);
        });
    }
    // The request is cleared before drawing: a present that finds the display lost asks again.
    if (shell.phraseDirty) {
        shell.phraseDirty = false;
        DrawInTwoPasses(DrawPhraseText);
    }
    if (key != 0) JudgeKey(key);
    EndLineWhenTyped(now);
    if (play.gameOverPending) {
        EndGame(timeGetTime());
        PlaySoundEffect(SoundId::End);
    }
}
