// The phrase text on the play screen: the display text of each line with its romaji beneath,
// black while untyped, red once typed, the expected letter orange after a wrong key.
#include "display/text_drawing.h"
#include "game/play_rules.h"
#include "game/play_state.h"
#include "screens/play_screen.h"
#include "typing/typing_records.h"

namespace {

struct TextColor {
    int red, green, blue;
};
constexpr TextColor kUntyped = {0, 0, 0};
constexpr TextColor kTyped = {255, 0, 0};
constexpr TextColor kMissed = {255, 164, 0};

struct LinePlace {
    int x, textY, romajiY;
};
constexpr LinePlace kDialectPlace = {144, 64, 90};
constexpr LinePlace kStandardPlace = {48, 192, 218};

void DrawText(const char* text, int x, int y, int length, TextColor color) {
    DrawTextShadowed(text, x, y, length, color.red, color.green, color.blue);
}

// The text about to be drawn is the current line as typed so far.
void ShowCurrentText(bool missed) {
    ShownPlayScreen& shown = shownPlayScreen;
    shown.phraseShown = true;
    shown.phraseIndex = play.phraseIndex;
    shown.line = play.line;
    shown.position = play.position;
    shown.missed = missed;
}

// The typed part of the shown line in red; after a wrong key the expected letter in orange.
void DrawShownTypedRomaji() {
    const ShownPlayScreen& shown = shownPlayScreen;
    const PhraseEntry& phrase = phraseTable[shown.phraseIndex];
    const LinePlace& place = shown.line == 0 ? kDialectPlace : kStandardPlace;
    const char* romaji = shown.line == 0 ? phrase.dialectRomaji : phrase.standardRomaji;
    if (shown.missed) DrawText(romaji, place.x, place.romajiY, shown.position + 1, kMissed);
    DrawText(romaji, place.x, place.romajiY, shown.position, kTyped);
}

}  // namespace

void DrawShownPhraseText() {
    const ShownPlayScreen& shown = shownPlayScreen;
    if (!shown.phraseShown) return;
    const PhraseEntry& phrase = phraseTable[shown.phraseIndex];
    const LinePlace& d = kDialectPlace;
    const LinePlace& s = kStandardPlace;
    if (shown.line == 0) {
        ClearPlayPiece(PlayPiece::DialectLine);
        ClearPlayPiece(PlayPiece::StandardLine);
        DrawText(phrase.dialectText, d.x, d.textY, phrase.dialectTextLength, kUntyped);
        DrawText(phrase.dialectRomaji, d.x, d.romajiY, phrase.dialectRomajiLength, kUntyped);
    } else {
        DrawText(phrase.dialectText, d.x, d.textY, phrase.dialectTextLength, kUntyped);
        DrawText(phrase.dialectRomaji, d.x, d.romajiY, phrase.dialectRomajiLength, kTyped);
        DrawText(phrase.standardText, s.x, s.textY, phrase.standardTextLength, kUntyped);
        DrawText(phrase.standardRomaji, s.x, s.romajiY, phrase.standardRomajiLength, kUntyped);
    }
    DrawShownTypedRomaji();
}

void DrawPhraseText() {
    ShowCurrentText(false);
    DrawShownPhraseText();
}

void DrawTypedRomaji(bool missed) {
    ShowCurrentText(missed);
    DrawShownTypedRomaji();
}
