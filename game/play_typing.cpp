// The keys of play and the end of each line: a right key moves on, a wrong key costs a life
// once a phrase, and a completed phrase scores its keys and the bonus.
#include <windows.h>

#include "game/game_state.h"
#include "game/play_rules.h"
#include "game/play_state.h"
#include "screens/play_screen.h"
#include "shell/shell_state.h"
#include "sound/sound_effects.h"
#include "typing/key_match.h"

namespace {

constexpr int32_t kCleanPhraseBonus = 5;
constexpr int32_t kOneMistakeBonus = 1;
constexpr int32_t kBonusCap = 50;
constexpr int32_t kLifeStepPoints = 1000;
constexpr int32_t kLivesCap = 8;

const char* CurrentRomaji() {
    return play.line == 0 ? CurrentPhrase().dialectRomaji : CurrentPhrase().standardRomaji;
}

int16_t CurrentRomajiLength() {
    return play.line == 0 ? CurrentPhrase().dialectRomajiLength
                          : CurrentPhrase().standardRomajiLength;
}

void TakeRightKey() {
    play.position += 1;
    play.phrasePoints += 1;
    play.correctKeys += 1;
    PlaySoundEffect(SoundId::Type);
    DrawInTwoPasses([] { DrawTypedRomaji(false); });
}

void TakeWrongKey() {
    play.phrasePoints -= 1;
    play.totalMistakes += 1;
    play.phraseMistakes += 1;
    // Only the first mistake on a phrase costs a life.
    if (!play.lifeLostThisPhrase) {
        play.lifeLostThisPhrase = true;
        play.lives -= 1;
        if (play.lives < 0) play.gameOverPending = true;
        shownPlayScreen.lives = play.lives;
        DrawInTwoPasses([] {
            ClearPlayPiece(PlayPiece::Lives);
            DrawLives(play.lives);
        });
    }
    // The wrong key that ends the game is silent.
    if (play.lives >= 0) PlaySoundEffect(SoundId::Miss);
    DrawInTwoPasses([] { DrawTypedRomaji(true); });
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

void CompletePhrase() {
    play.position = 0;
    play.line = 0;
    play.ticks = 0;
    // A phrase with more wrong keys than right ones adds nothing and takes nothing away.
    if (play.phrasePoints > 0) play.score += play.phrasePoints;
    play.phrasePoints = 0;
    shell.phraseDirty = true;
    ChoosePhrase(game.phaseTime);
    PlaySoundEffect(SoundId::Cool);
    AddBonus();
    TakeLifeStep();
    ShownPlayScreen& shown = shownPlayScreen;
    shown.resultMark = ResultMark();
    shown.score = play.score;
    shown.bonus = play.bonus;
    if (play.lifeGained) shown.lives = play.lives;
    play.resultPause = true;
    bool firstPass = true;
    DrawInTwoPasses([&firstPass] {
        DrawPlayMark(ResultMark());
        // The pause counts from the last pass, after the mark has been shown once.
        play.resultPauseStart = timeGetTime();
        if (play.lifeGained) {
            // The life-up sound comes with the first showing of the mark; playing it in both
            // passes would start the same effect twice in one instant.
            if (firstPass) PlaySoundEffect(SoundId::LifeUp);
            ClearPlayPiece(PlayPiece::Lives);
            DrawLives(play.lives);
        }
        ClearPlayPiece(PlayPiece::Score);
        DrawScore(play.score);
        ClearPlayPiece(PlayPiece::Bonus);
        DrawBonus(play.bonus);
        firstPass = false;
    });
    play.lifeLostThisPhrase = false;
    play.phraseMistakes = 0;
    play.lifeGained = false;
}

}  // namespace

void JudgeKey(int key) {
    if (KeyMatchesRomaji(CurrentRomaji(), key, play.position)) {
        TakeRightKey();
    } else {
        TakeWrongKey();
    }
}

void EndLineWhenTyped() {
    if (play.position < CurrentRomajiLength()) return;
    if (play.line == 0) {
        play.position = 0;
        play.line = 1;
        // The next step draws both lines.
        shell.phraseDirty = true;
    } else {
        CompletePhrase();
    }
}
