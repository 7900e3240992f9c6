#include "tests/screens/scenes.h"

#include <cstring>
#include <stdexcept>
#include <vector>

#include "display/text_drawing.h"
#include "screens/play_screen.h"
#include "screens/settings_screen.h"
#include "screens/table_screens.h"
#include "screens/title_screen.h"

namespace {

// "めっちゃおもろいやん" and "とてもおもしろいね" in Shift-JIS, with their romaji.
const char kDialect[] =
    "\x82\xdf\x82\xc1\x82\xbf\x82\xe1\x82\xa8\x82\xe0\x82\xeb\x82\xa2\x82\xe2\x82\xf1";
const char kDialectRomaji[] = "metyaomoroiyann";
const char kStandard[] = "\x82\xc6\x82\xc4\x82\xe0\x82\xa8\x82\xe0\x82\xb5\x82\xeb\x82\xa2\x82\xcb";
const char kStandardRomaji[] = "totemoomosiroine";
// "1位" to "5位".
const char* const kPlaces[] = {"1\x88\xca", "2\x88\xca", "3\x88\xca", "4\x88\xca", "5\x88\xca"};

int Length(const char* text) {
    return static_cast<int>(std::strlen(text));
}

void Ready(bool second) {
    DrawPlayScreen();
    DrawScore(0);
    DrawBonus(0);
    DrawLives(3);
    DrawTimerBar(0);
    DrawReadyWindow(0);
    DrawPlayMark(PlayMark::ReadyFirst);
    if (second) {
        DrawReadyWindow(1);
        DrawPlayMark(PlayMark::ReadySecond);
    }
}

// A game in its course: the first line typed, the second typed to its seventh letter, which
// was missed once, and the phrase before judged with the mark.
void Play(PlayMark mark) {
    Ready(true);
    ClearPlayPiece(PlayPiece::DialectLine);
    ClearPlayPiece(PlayPiece::StandardLine);
    DrawTextShadowed(kDialect, 144, 64, Length(kDialect), 0, 0, 0);
    DrawTextShadowed(kDialectRomaji, 144, 90, Length(kDialectRomaji), 255, 0, 0);
    DrawTextShadowed(kStandard, 48, 192, Length(kStandard), 0, 0, 0);
    DrawTextShadowed(kStandardRomaji, 48, 218, Length(kStandardRomaji), 0, 0, 0);
    DrawTextShadowed(kStandardRomaji, 48, 218, 7, 255, 164, 0);
    DrawTextShadowed(kStandardRomaji, 48, 218, 6, 255, 0, 0);
    ClearPlayPiece(PlayPiece::TimerBar);
    DrawTimerBar(13);
    ClearPlayPiece(PlayPiece::Lives);
    DrawLives(5);
    DrawPlayMark(mark);
    ClearPlayPiece(PlayPiece::Score);
    DrawScore(12345);
    ClearPlayPiece(PlayPiece::Bonus);
    DrawBonus(25);
}

void GameOver() {
    Play(PlayMark::ResultOneMiss);
    ClearPlayPiece(PlayPiece::ResultMark);
    DrawPlayMark(PlayMark::Finish);
}

void Results() {
    GameOver();
    DrawResultsScreen(12345, 4.56f, 7);
    DrawTextBold(kPlaces[0], 262, 193, 3, 232, 106, 70);
    DrawTextBold(kPlaces[2], 262, 225, 3, 232, 106, 70);
}

void RankingsScene() {
    Rankings rankings = {{23456, 12345, 9870, 4200, 0}, {12.75f, 6.02f, 5.5f, 4.31f, 0.0f}};
    DrawRankingsScreen(rankings);
    for (int r = 0; r < 5; ++r) {
        DrawTextBold(kPlaces[r], 52, 112 + 32 * r, 3, 232, 106, 70);
        DrawTextBold(kPlaces[r], 276, 112 + 32 * r, 3, 232, 106, 70);
    }
}

void Settings() {
    const int32_t values[9] = {0, 1, 1, 0, 0, 0, 1, 0, 1};
    DrawSettingsBackground();
    DrawSettingsLabels();
    DrawSettingsCursor(2);
    for (int row = 0; row < 9; ++row) DrawSettingsChoice(row, values);
}

}  // namespace

const Scene& SceneNamed(const std::string& name) {
    static const std::vector<Scene> scenes = {
        {"title",
         [] {
             DrawTitleScreen();
             DrawTitleMenu(0);
         }},
        {"ready", [] { Ready(false); }},
        {"ready-go", [] { Ready(true); }},
        {"play-good", [] { Play(PlayMark::ResultOneMiss); }},
        {"play-perfect", [] { Play(PlayMark::ResultNoMiss); }},
        {"play-many-misses", [] { Play(PlayMark::ResultManyMisses); }},
        {"game-over", GameOver},
        {"results", Results},
        {"rankings", RankingsScene},
        {"settings", Settings},
    };
    for (const Scene& scene : scenes) {
        if (name == scene.name) return scene;
    }
    throw std::invalid_argument("no scene " + name);
}
