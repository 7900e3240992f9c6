// The start of a game and its end: the ready phase with its two start messages and its wait
// for Enter, and the pause on the game-over picture before the results.
#include <windows.h>

#include "game/game_state.h"
#include "game/phases.h"
#include "game/play_rules.h"
#include "game/play_state.h"
#include "screens/play_screen.h"
#include "shell/keyboard.h"
#include "shell/shell_state.h"
#include "sound/sound_effects.h"

namespace {

constexpr uint32_t kFirstMessageDelay = 300;
constexpr uint32_t kSecondMessageTime = 1000;
constexpr uint32_t kGameOverPause = 1500;

void DrawFirstMessage() {
    DrawReadyWindow(0);
    DrawPlayMark(PlayMark::ReadyFirst);
}

void DrawSecondMessage() {
    DrawReadyWindow(1);
    DrawPlayMark(PlayMark::ReadySecond);
}

void DrawBackgroundAndNumbers() {
    const ShownPlayScreen& shown = shownPlayScreen;
    DrawPlayScreen();
    DrawScore(shown.score);
    DrawBonus(shown.bonus);
    DrawLives(shown.lives);
    DrawTimerBar(shown.ticks);
}

void DrawWholeScreen() {
    // A game begins on the counters' starting values, with no phrase and no mark yet.
    shownPlayScreen = ShownPlayScreen{
        .score = play.score, .bonus = play.bonus, .lives = play.lives, .ticks = play.ticks};
    DrawBackgroundAndNumbers();
    if (game.readyStep >= 1) DrawFirstMessage();
    if (game.readyStep == 2) DrawSecondMessage();
}

// Play and the game-over pause as they were last drawn: the windows with the phrase text, the
// mark of a phrase just completed, and the game-over picture after a game. The end of a game
// has already put the counters back, so they come from what was drawn.
void DrawPlayingScreen() {
    DrawBackgroundAndNumbers();
    DrawReadyWindow(0);
    DrawReadyWindow(1);
    DrawShownPhraseText();
    if (shownPlayScreen.resultMark) DrawPlayMark(*shownPlayScreen.resultMark);
    if (game.currentPhase == GamePhase::GameOver) DrawPlayMark(PlayMark::Finish);
}

}  // namespace

void RunReadyStep() {
    if (shell.screenDirty) {
        shell.screenDirty = false;
        DrawInTwoPasses(DrawWholeScreen);
    }
    uint32_t now = timeGetTime();
    switch (game.readyStep) {
        case 0:
            if (MoreThanElapsed(game.phaseTime, kFirstMessageDelay, now)) {
                PlaySoundEffect(SoundId::Start1);
                DrawInTwoPasses(DrawFirstMessage);
                game.phaseTime = now;
                game.readyStep = 1;
            }
            break;
        case 1:
            // The game waits here for Enter as long as the player likes.
            if (PollControlKey() == VK_RETURN) {
                DrawInTwoPasses(DrawSecondMessage);
                PlaySoundEffect(SoundId::Start2);
                game.readyStep = 2;
                game.phaseTime = now;
            }
            break;
        default:
            if (MoreThanElapsed(game.phaseTime, kSecondMessageTime, now)) {
                DrawInTwoPasses([] {
                    ClearPlayPiece(PlayPiece::DialectLine);
                    ClearPlayPiece(PlayPiece::StandardLine);
                });
                game.readyStep = 0;
                game.phaseTime = now;
                game.currentPhase = GamePhase::Play;
                play.playStartTime = timeGetTime();
            }
            break;
    }
}

void RedrawPlayScreenAfterRestore() {
    DrawInTwoPasses(DrawPlayingScreen);
}

void RunGameOverStep() {
    if (shell.screenDirty) {
        shell.screenDirty = false;
        DrawInTwoPasses([] { DrawPlayMark(PlayMark::Finish); });
    }
    // The pause counts from the game's last timer tick (or the start of play), so a game
    // ended by a mistake shows the picture for less than the full pause.
    if (MoreThanElapsed(game.phaseTime, kGameOverPause, timeGetTime())) {
        shell.screenDirty = true;
        game.currentPhase = GamePhase::Results;
    }
}
