#include "typing/spelling_rules.h"

#include <cstring>

namespace {

// One way of writing a kana that a rule turns into the other way. A vowel after the pattern, when
// required, is taken too and written out unchanged.
struct SpellingVariant {
    std::string_view from;
    std::string_view to;
    std::string_view vowelAfter = {};  // one of these must follow
    std::string_view notAfter = {};    // none of these may follow; the end of the source may
    std::string_view notBefore = {};   // none of these may stand right before
};

struct SpellingRuleForms {
    // [0]: what a preference of 0 rewrites (second spelling to first), [1]: the other direction.
    const SpellingVariant* variants[2];
    int variantCounts[2];
};

constexpr std::string_view kYouonVowels = "aueo";  // "shi" and "chi" belong to rules 0 and 1
constexpr std::string_view kAllVowels = "aiueo";
constexpr std::string_view kSyllableStarts = "aiueoy";  // an "n" before these is part of な, にゃ..

constexpr SpellingVariant kShiTo0[] = {{"shi", "si"}};
constexpr SpellingVariant kShiTo1[] = {{"si", "shi"}};
constexpr SpellingVariant kChiTo0[] = {{"chi", "ti"}, {"cchi", "tti"}};
constexpr SpellingVariant kChiTo1[] = {{"ti", "chi"}, {"tti", "cchi"}};
constexpr SpellingVariant kTsuTo0[] = {{"tsu", "tu"}};
constexpr SpellingVariant kTsuTo1[] = {{"tu", "tsu"}};
// The "hu" of "shu" and "chu" is no ふ: those stay as written.
constexpr SpellingVariant kFuTo0[] = {{"hu", "fu", {}, {}, "sc"}, {"hhu", "ffu", {}, {}, "sc"}};
constexpr SpellingVariant kFuTo1[] = {{"fu", "hu"}, {"ffu", "hhu"}};
constexpr SpellingVariant kJiTo0[] = {{"zi", "ji"}, {"zzi", "jji"}};
constexpr SpellingVariant kJiTo1[] = {{"ji", "zi"}, {"jji", "zzi"}};
constexpr SpellingVariant kShaTo0[] = {{"sy", "sh", kYouonVowels}};
constexpr SpellingVariant kShaTo1[] = {{"sh", "sy", kYouonVowels}};
constexpr SpellingVariant kJaTo0[] = {{"zy", "jy", kAllVowels}, {"zzy", "jjy", kAllVowels}};
constexpr SpellingVariant kJaTo1[] = {{"jy", "zy", kAllVowels}, {"jjy", "zzy", kAllVowels}};
constexpr SpellingVariant kChaTo0[] = {{"ty", "ch", kYouonVowels}, {"tty", "cch", kYouonVowels}};
constexpr SpellingVariant kChaTo1[] = {{"ch", "ty", kYouonVowels}, {"cch", "tty", kYouonVowels}};
constexpr SpellingVariant kNTo0[] = {{"nn", "n", {}, kSyllableStarts}};
// A written "nn" is already the doubled ん and is taken whole; only a lone "n" is doubled.
constexpr SpellingVariant kNTo1[] = {{"nn", "nn", {}, kSyllableStarts},
                                     {"n", "nn", {}, kSyllableStarts}};

template <int N0, int N1>
constexpr SpellingRuleForms Forms(const SpellingVariant (&to0)[N0],
                                  const SpellingVariant (&to1)[N1]) {
    return {{to0, to1}, {N0, N1}};
}

constexpr SpellingRuleForms kRules[kSpellingRuleCount] = {
    Forms(kShiTo0, kShiTo1), Forms(kChiTo0, kChiTo1), Forms(kTsuTo0, kTsuTo1),
    Forms(kFuTo0, kFuTo1),   Forms(kJiTo0, kJiTo1),   Forms(kShaTo0, kShaTo1),
    Forms(kJaTo0, kJaTo1),   Forms(kChaTo0, kChaTo1), Forms(kNTo0, kNTo1),
};

bool Contains(std::string_view letters, char c) {
    return letters.find(c) != std::string_view::npos;
}

bool Matches(const SpellingVariant& variant, std::string_view source, size_t position,
             SpellingRewrite& rewrite) {
    if (source.substr(position, variant.from.size()) != variant.from) {
        return false;
    }
    if (!variant.notBefore.empty() && position > 0 &&
        Contains(variant.notBefore, source[position - 1])) {
        return false;
    }
    size_t after = position + variant.from.size();
    bool hasNext = after < source.size();
    if (!variant.notAfter.empty() && hasNext && Contains(variant.notAfter, source[after])) {
        return false;
    }
    bool takesVowel = !variant.vowelAfter.empty();
    if (takesVowel && (!hasNext || !Contains(variant.vowelAfter, source[after]))) {
        return false;
    }
    std::memcpy(rewrite.text, variant.to.data(), variant.to.size());
    rewrite.length = static_cast<int>(variant.to.size());
    rewrite.consumed = static_cast<int>(variant.from.size());
    if (takesVowel) {
        rewrite.text[rewrite.length++] = source[after];
        ++rewrite.consumed;
    }
    return true;
}

}  // namespace

bool RewriteSpelling(std::string_view source, int position, const RomajiPreferences& preferences,
                     SpellingRewrite& rewrite) {
    if (position < 0 || static_cast<size_t>(position) >= source.size()) {
        return false;
    }
    for (int rule = 0; rule < kSpellingRuleCount; ++rule) {
        int32_t value = preferences.values[rule];
        if (value != 0 && value != 1) {
            continue;
        }
        const SpellingRuleForms& forms = kRules[rule];
        for (int i = 0; i < forms.variantCounts[value]; ++i) {
            if (Matches(forms.variants[value][i], source, static_cast<size_t>(position), rewrite)) {
                return true;
            }
        }
    }
    return false;
}

void AppendRomaji(char* field, int fieldSize, const char* bytes, int byteCount, int writePosition) {
    for (int i = 0; i < byteCount && writePosition + i < fieldSize - 1; ++i) {
        field[writePosition + i] = bytes[i];
    }
}

int ConvertRomaji(std::string_view source, const RomajiPreferences& preferences, char* field,
                  int fieldSize) {
    int writePosition = 0;
    size_t position = 0;
    while (position < source.size()) {
        if (source[position] == ' ') {
            ++position;
            continue;
        }
        SpellingRewrite rewrite;
        if (RewriteSpelling(source, static_cast<int>(position), preferences, rewrite)) {
            AppendRomaji(field, fieldSize, rewrite.text, rewrite.length, writePosition);
            writePosition += rewrite.length;
            position += static_cast<size_t>(rewrite.consumed);
        } else {
            AppendRomaji(field, fieldSize, &source[position], 1, writePosition);
            ++writePosition;
            ++position;
        }
    }
    field[writePosition < fieldSize - 1 ? writePosition : fieldSize - 1] = '\0';
    return writePosition;
}
