// The play step, run once a frame while a game is on: the key of the frame, the timer's speed,
// the pause after a phrase, the timer's ticks, the phrase text, the key's judgement, the end
// of a line, and the end of the game.
#include <windows.h>

#include "game/game_state.h"
#include "game/play_rules.h"
#include "game/play_state.h"
#include "screens/play_screen.h"
#include "shell/keyboard.h"
#include "shell/shell_state.h"
#include "sound/sound_effects.h"

namespace {

constexpr int32_t kSpeedUpPoints = 200;
constexpr int32_t kSpeedUpAmount = 20;
constexpr int32_t kFastestTickInterval = 140;
constexpr int32_t kTicksAllowed = 52;
constexpr uint32_t kResultPause = 1100;

// The timer speeds up every 200 points, down to 140 ms a tick. A score that passed several
// thresholds at once catches up one step a frame.
void SpeedUp() {
    if (play.tickInterval > kFastestTickInterval &&
        play.score - play.speedStepBase >= kSpeedUpPoints) {
        play.speedSteps += 1;
        play.tickInterval -= kSpeedUpAmount;
        play.speedStepBase = play.speedSteps * kSpeedUpPoints;
    }
}

// True while the pause after a completed phrase holds play. When it ends, the result mark goes
// and the pause is taken out of the playing time.
bool HeldByResultPause(uint32_t now) {
    if (!play.resultPause) return false;
    if (!MoreThanElapsed(play.resultPauseStart, kResultPause, now)) return true;
    shownPlayScreen.resultMark.reset();
    DrawInTwoPasses([] { ClearPlayPiece(PlayPiece::ResultMark); });
    play.playStartTime += now - play.resultPauseStart;
    play.resultPause = false;
    return false;
}

// At most one tick a step, however long the step was held back.
void CountTick(uint32_t now) {
    if (!MoreThanElapsed(game.phaseTime, static_cast<uint32_t>(play.tickInterval), now)) return;
    play.ticks += 1;
    game.phaseTime = now;
    if (play.ticks > kTicksAllowed) play.gameOverPending = true;
    shownPlayScreen.ticks = play.ticks;
    DrawInTwoPasses([] {
        ClearPlayPiece(PlayPiece::TimerBar);
        DrawTimerBar(play.ticks);
    });
}

// The counters of a game go back to their starting values; the score and the mistakes stay
// for the results screen, and the typing speed is worked out from the playing time.
void EndGame() {
    play.gameOverPending = false;
    shell.screenDirty = true;
    shell.phraseDirty = true;

    const PlayState fresh;
    play.resultPause = fresh.resultPause;
    play.bonus = fresh.bonus;
    play.lifeSteps = fresh.lifeSteps;
    play.lifeStepBase = fresh.lifeStepBase;
    play.speedStepBase = fresh.speedStepBase;
    play.speedSteps = fresh.speedSteps;
    play.position = fresh.position;
    play.line = fresh.line;
    play.lifeLostThisPhrase = fresh.lifeLostThisPhrase;
    play.phraseMistakes = fresh.phraseMistakes;
    play.ticks = fresh.ticks;
    play.phrasePoints = fresh.phrasePoints;
    play.lives = fresh.lives;
    play.tickInterval = fresh.tickInterval;

    play.playEndTime = timeGetTime();
    uint32_t playedMilliseconds = play.playEndTime - play.playStartTime;
    play.elapsedSeconds = static_cast<float>(static_cast<double>(playedMilliseconds) * 0.001);
    // A game lasts at least a few frames; a zero time would still give no speed at all.
    play.typingSpeed =
        play.elapsedSeconds > 0 ? static_cast<float>(play.correctKeys) / play.elapsedSeconds : 0.0f;
    play.correctKeys = 0;

    game.currentPhase = GamePhase::GameOver;
    PlaySoundEffect(SoundId::End);
}

}  // namespace

void RunPlayStep() {
    // Polled in every step: a key pressed during the pause after a phrase is taken and lost.
    int key = PollTypingKey();
    SpeedUp();
    uint32_t now = timeGetTime();
    if (HeldByResultPause(now)) return;
    CountTick(now);
    // The request is cleared before drawing: a present that finds the display lost asks again.
    if (shell.phraseDirty) {
        shell.phraseDirty = false;
        DrawInTwoPasses(DrawPhraseText);
    }
    if (key != 0) JudgeKey(key);
    EndLineWhenTyped();
    if (play.gameOverPending) EndGame();
}
