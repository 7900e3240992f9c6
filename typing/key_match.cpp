#include "typing/key_match.h"

namespace {
constexpr int kKeyA = 65;
constexpr int kKeyZ = 90;
constexpr int kKeyMinus = 189;  // VK_OEM_MINUS
}  // namespace

int KeyMatchesRomaji(const char* romaji, int keyCode, int position) {
    char typed;
    if (keyCode >= kKeyA && keyCode <= kKeyZ) {
        typed = static_cast<char>('a' + (keyCode - kKeyA));
    } else if (keyCode == kKeyMinus) {
        typed = '-';
    } else {
        return 0;
    }
    if (romaji == nullptr || position < 0) {
        return 0;
    }
    // Never look past the romaji's end, whatever position the caller has reached.
    for (int i = 0; i < position; ++i) {
        if (romaji[i] == '\0') {
            return 0;
        }
    }
    return romaji[position] == typed ? 1 : 0;
}
