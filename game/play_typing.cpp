// The keys of play and the end of each line as the player sees and hears them.
#include <windows.h>

#include "game/play_core.h"
#include "game/play_rules.h"
#include "game/play_state.h"
#include "screens/play_screen.h"
#include "sound/sound_effects.h"

namespace {

void ShowCompletedPhrase(const LineEvents& events) {
    PlaySoundEffect(SoundId::Cool);
    ShownPlayScreen& shown = shownPlayScreen;
    shown.resultMark = events.mark;
    shown.score = play.score;
    shown.bonus = play.bonus;
    if (events.lifeGained) shown.lives = play.lives;
    bool firstPass = true;
    DrawInTwoPasses([&] {
        DrawPlayMark(events.mark);
        // The pause counts from the last pass, after the mark has been shown once.
        play.resultPauseStart = timeGetTime();
        if (events.lifeGained) {
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
}

}  // namespace

void JudgeKey(int key) {
    const KeyEvents events = TakeKey(key);
    if (events.right) {
        PlaySoundEffect(SoundId::Type);
        DrawInTwoPasses([] { DrawTypedRomaji(false); });
        return;
    }
    if (events.lifeLost) {
        shownPlayScreen.lives = play.lives;
        DrawInTwoPasses([] {
            ClearPlayPiece(PlayPiece::Lives);
            DrawLives(play.lives);
        });
    }
    if (events.missSounds) PlaySoundEffect(SoundId::Miss);
    DrawInTwoPasses([] { DrawTypedRomaji(true); });
}

void EndLineWhenTyped(uint32_t now) {
    const LineEvents events = EndTypedLine(now);
    if (events.end == LineEnd::Phrase) ShowCompletedPhrase(events);
}
