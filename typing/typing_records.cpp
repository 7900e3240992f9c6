#include "typing/typing_records.h"

PhraseTable phraseTable = {};
RomajiPreferences romajiPreferences = {};
Rankings rankings = {};

void ResetTypingRecords() {
    phraseTable = PhraseTable{};
    romajiPreferences = RomajiPreferences{};
    rankings = Rankings{};
}
