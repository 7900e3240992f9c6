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

}  // namespace

const PhraseEntry& CurrentPhrase() {
    return phraseTable[play.phraseIndex];
}

void DrawPhraseText() {
    const PhraseEntry& phrase = CurrentPhrase();
    const LinePlace& d = kDialectPlace;
    const LinePlace& s = kStandardPlace;
    if (play.line == 0) {
        ClearPlayPiece(PlayPiece::DialectLine);
        ClearPlayPiece(PlayPiece::StandardLine);
        DrawText(phrase.dialectText, d.x, d.textY, phrase.dialectTextLength, kUntyped);
        DrawText(phrase.dialectRomaji, d.x, d.romajiY, phrase.dialectRomajiLength, kUntyped);
        DrawText(phrase.dialectRomaji, d.x, d.romajiY, play.position, kTyped);
    } else {
        DrawText(phrase.dialectText, d.x, d.textY, phrase.dialectTextLength, kUntyped);
        DrawText(phrase.dialectRomaji, d.x, d.romajiY, phrase.dialectRomajiLength, kTyped);
        DrawText(phrase.standardText, s.x, s.textY, phrase.standardTextLength, kUntyped);
        DrawText(phrase.standardRomaji, s.x, s.romajiY, phrase.standardRomajiLength, kUntyped);
        DrawText(phrase.standardRomaji, s.x, s.romajiY, play.position, kTyped);
    }
}

void DrawTypedRomaji(bool missed) {
    const PhraseEntry& phrase = CurrentPhrase();
    const LinePlace& place = play.line == 0 ? kDialectPlace : kStandardPlace;
    const char* romaji = play.line == 0 ? phrase.dialectRomaji : phrase.standardRomaji;
    if (missed) DrawText(romaji, place.x, place.romajiY, play.position + 1, kMissed);
    DrawText(romaji, place.x, place.romajiY, play.position, kTyped);
}
