#include "game/play_core.h"

#include "game/game_state.h"
#include "game/play_state.h"
#include "shell/shell_state.h"
#include "typing/key_match.h"
#include "typing/typing_records.h"

namespace {

constexpr int32_t kSpeedUpPoints = 200;
constexpr int32_t kSpeedUpAmount = 20;
constexpr int32_t kFastestTickInterval = 140;
constexpr int32_t kTicksAllowed = 52;
constexpr uint32_t kResultPause = 1100;
constexpr int32_t kCleanPhraseBonus = 5;
constexpr int32_t kOneMistakeBonus = 1;
constexpr int32_t kBonusCap = 50;
constexpr int32_t kLifeStepPoints = 1000;
constexpr int32_t kLivesCap = 8;

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

const PhraseEntry& CurrentPhrase() {
    return phraseTable[play.phraseIndex];
}

const char* CurrentRomaji() {
    return play.line == 0 ? CurrentPhrase().dialectRomaji : CurrentPhrase().standardRomaji;
}

int16_t CurrentRomajiLength() {
    return play.line == 0 ? CurrentPhrase().dialectRomajiLength
                          : CurrentPhrase().standardRomajiLength;
}

void AddBonus() {
    if (play.phraseMistakes == 0) {
        play.bonus += kCleanPhraseBonus;
    } else if (play.phraseMistakes == 1) {
        play.bonus += kOneMistakeBonus;
    } else {
        play.bonus = 0;
    }
    if (play.bonus > kBonusCap) play.bonus = kBonusCap;
    play.score += play.bonus;
}

// Every 1000 points give a life back, while there are fewer than 8; a step taken at 8 lives
// is counted all the same. At most one step a phrase.
void TakeLifeStep() {
    if (play.score - play.lifeStepBase < kLifeStepPoints) return;
    play.lifeSteps += 1;
    if (play.lives < kLivesCap) {
        play.lives += 1;
        play.lifeGained = true;
    }
    play.lifeStepBase = play.lifeSteps * kLifeStepPoints;
}

PlayMark ResultMark() {
    if (play.phraseMistakes == 0) return PlayMark::ResultNoMiss;
    if (play.phraseMistakes == 1) return PlayMark::ResultOneMiss;
    return PlayMark::ResultManyMisses;
}

LineEvents CompletePhrase(uint32_t now) {
    play.position = 0;
    play.line = 0;
    play.ticks = 0;
    // A phrase with more wrong keys than right ones adds nothing and takes nothing away.
    if (play.phrasePoints > 0) play.score += play.phrasePoints;
    play.phrasePoints = 0;
    shell.phraseDirty = true;
    ChoosePhrase(game.phaseTime);
    AddBonus();
    TakeLifeStep();
    const LineEvents events{LineEnd::Phrase, ResultMark(), play.lifeGained};
    play.resultPause = true;
    play.resultPauseStart = now;
    play.lifeLostThisPhrase = false;
    play.phraseMistakes = 0;
    play.lifeGained = false;
    return events;
}

}  // namespace

ClockEvents AdvancePlayClock(uint32_t now) {
    ClockEvents events;
    SpeedUp();
    // The pause after a phrase holds play until it has run out; then it is taken out of the
    // playing time.
    if (play.resultPause) {
        if (!MoreThanElapsed(play.resultPauseStart, kResultPause, now)) {
            events.held = true;
            return events;
        }
        events.pauseEnded = true;
        play.playStartTime += now - play.resultPauseStart;
        play.resultPause = false;
    }
    // At most one tick a step, however long the step was held back.
    if (MoreThanElapsed(game.phaseTime, static_cast<uint32_t>(play.tickInterval), now)) {
        events.ticked = true;
        play.ticks += 1;
        game.phaseTime = now;
        if (play.ticks > kTicksAllowed) play.gameOverPending = true;
    }
    return events;
}

KeyEvents TakeKey(int key) {
    KeyEvents events;
    if (KeyMatchesRomaji(CurrentRomaji(), key, play.position)) {
        events.right = true;
        play.position += 1;
        play.phrasePoints += 1;
        play.correctKeys += 1;
        return events;
    }
    play.phrasePoints -= 1;
    play.totalMistakes += 1;
    play.phraseMistakes += 1;
    // Only the first mistake on a phrase costs a life.
    if (!play.lifeLostThisPhrase) {
        events.lifeLost = true;
        play.lifeLostThisPhrase = true;
        play.lives -= 1;
        if (play.lives < 0) play.gameOverPending = true;
    }
    events.missSounds = play.lives >= 0;
    return events;
}

LineEvents EndTypedLine(uint32_t now) {
    if (play.position < CurrentRomajiLength()) return {};
    if (play.line != 0) return CompletePhrase(now);
    play.position = 0;
    play.line = 1;
    // The next step draws both lines.
    shell.phraseDirty = true;
    return {LineEnd::DialectLine};
}

void EndGame(uint32_t now) {
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

    play.playEndTime = now;
    uint32_t playedMilliseconds = play.playEndTime - play.playStartTime;
    play.elapsedSeconds = static_cast<float>(static_cast<double>(playedMilliseconds) * 0.001);
    // A game lasts at least a few frames; a zero time would still give no speed at all.
    play.typingSpeed =
        play.elapsedSeconds > 0 ? static_cast<float>(play.correctKeys) / play.elapsedSeconds : 0.0f;
    play.correctKeys = 0;

    game.currentPhase = GamePhase::GameOver;
}
