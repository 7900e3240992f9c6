// The two screens of tables: the rankings chosen from the title, and the results of a game,
// each drawn once with the places written beside its rows, then waiting for Enter.
#include <windows.h>

#include "display/text_drawing.h"
#include "game/game_state.h"
#include "game/phases.h"
#include "game/play_state.h"
#include "screens/table_screens.h"
#include "shell/keyboard.h"
#include "shell/shell_state.h"
#include "sound/music.h"
#include "sound/sound_effects.h"
#include "typing/typing_records.h"

namespace {

// "1位" to "5位" in Shift-JIS: a digit and the two bytes of 位.
constexpr const char* kPlaceLabels[5] = {"1\x88\xca", "2\x88\xca", "3\x88\xca", "4\x88\xca",
                                         "5\x88\xca"};
constexpr int kPlaceLabelLength = 3;

// Writes the label of place 1 to 5 in vermilion; any other place writes nothing.
void DrawPlaceLabel(int place, int x, int y) {
    if (place < 1 || place > 5) return;
    DrawTextBold(kPlaceLabels[place - 1], x, y, kPlaceLabelLength, 232, 106, 70);
}

}  // namespace

void RunRankingsStep() {
    if (shell.screenDirty) {
        shell.screenDirty = false;
        DrawRankingsScreen(rankings);
        for (int column = 0; column < 2; ++column) {
            for (int row = 0; row < 5; ++row) {
                DrawPlaceLabel(row + 1, 52 + 224 * column, 112 + 32 * row);
            }
        }
        PresentFrame();
    }
    if (PollControlKey() == VK_RETURN) {
        shell.screenDirty = true;
        game.currentPhase = GamePhase::Title;
        PlaySoundEffect(SoundId::Decide);
    }
}

void RunResultsStep() {
    if (shell.screenDirty) {
        shell.screenDirty = false;
        DrawResultsScreen(play.score, play.typingSpeed, play.totalMistakes);
        // The game enters the rankings once, at the first full draw. A later full draw (the
        // window moved, the focus came back) shows the places it took again.
        if (!game.resultsEntered) {
            RankingPlaces places = InsertIntoRankings();
            game.scorePlace = places.score;
            game.speedPlace = places.speed;
            game.resultsEntered = true;
        }
        DrawPlaceLabel(game.scorePlace, 262, 193);
        DrawPlaceLabel(game.speedPlace, 262, 225);
        PresentFrame();
    }
    if (PollControlKey() == VK_RETURN) {
        shell.screenDirty = true;
        play.score = 0;
        play.totalMistakes = 0;
        game.resultsEntered = false;
        game.scorePlace = 0;
        game.speedPlace = 0;
        game.currentPhase = GamePhase::Title;
        PlaySoundEffect(SoundId::Decide);
        PlayMusic(MusicId::Title);
    }
}
