#include "typing/spelling_rules.h"

#include <gtest/gtest.h>

#include <cstring>
#include <iterator>
#include <string>

namespace {

// Nine characters, one per kana in rule order: '0' and '1' choose a spelling, '2' and 'x' are
// stored values that are neither (2 and -1).
RomajiPreferences Preferences(const char* choice) {
    RomajiPreferences preferences{};
    for (int i = 0; i < kSpellingRuleCount; ++i) {
        preferences.values[i] = choice[i] == 'x' ? -1 : choice[i] - '0';
    }
    return preferences;
}

std::string Convert(const std::string& source, const char* choice) {
    char field[512];
    int length = ConvertRomaji(source, Preferences(choice), field, sizeof field);
    EXPECT_EQ(length, static_cast<int>(std::string(field).size())) << source;
    return field;
}

struct ConversionCase {
    const char* choice;
    const char* source;
    const char* expected;
};

void ExpectConversions(const ConversionCase* cases, size_t count) {
    for (size_t i = 0; i < count; ++i) {
        EXPECT_EQ(Convert(cases[i].source, cases[i].choice), cases[i].expected)
            << "source \"" << cases[i].source << "\" with " << cases[i].choice;
    }
}

TEST(SpellingRules, EachRuleInBothDirections) {
    const ConversionCase cases[] = {
        // し
        {"100000000", "si", "shi"},
        {"100000000", "shi", "shi"},
        {"000000000", "shi", "si"},
        {"000000000", "si", "si"},
        // ち
        {"010000000", "ti", "chi"},
        {"010000000", "chi", "chi"},
        {"000000000", "chi", "ti"},
        {"000000000", "ti", "ti"},
        // つ
        {"001000000", "tu", "tsu"},
        {"000000000", "tsu", "tu"},
        {"000000000", "tu", "tu"},
        // ふ
        {"000100000", "fu", "hu"},
        {"000100000", "hu", "hu"},
        {"000000000", "hu", "fu"},
        {"000000000", "fu", "fu"},
        // じ
        {"000010000", "ji", "zi"},
        {"000000000", "zi", "ji"},
        {"000000000", "ji", "ji"},
        // しゃ: only with a, u, e or o after it
        {"100001000", "sha shu she sho", "syasyusyesyo"},
        {"100001000", "shi", "shi"},
        {"000000000", "sya syu sye syo", "shashushesho"},
        {"000000000", "syi", "syi"},
        {"000001000", "sh", "sh"},
        // じゃ: any vowel after it
        {"000000100", "jya jyi jyu jye jyo", "zyazyizyuzyezyo"},
        {"000000000", "zya zyi zyu zye zyo", "jyajyijyujyejyo"},
        {"000000000", "zy", "zy"},
        // ちゃ: only with a, u, e or o after it
        {"010000010", "cha chu che cho", "tyatyutyetyo"},
        {"000000000", "tya tyu tye tyo", "chachuchecho"},
        {"000000000", "tyi", "tyi"},
        // ん: an "n" before a vowel or "y" is never touched
        {"000000001", "n", "nn"},
        {"000000001", "nb", "nnb"},
        {"000000001", "na", "na"},
        {"000000001", "nya", "nya"},
        {"000000000", "nn", "n"},
        {"000000000", "nnb", "nb"},
        {"000000000", "nna", "nna"},
        {"000000000", "nnya", "nnya"},
        {"000000000", "n", "n"},
    };
    ExpectConversions(cases, std::size(cases));
}

TEST(SpellingRules, DoubledConsonants) {
    const ConversionCase cases[] = {
        {"010000000", "tti", "cchi"},
        {"000000000", "cchi", "tti"},
        {"000100000", "ffu", "hhu"},
        {"000000000", "hhu", "ffu"},
        {"000010000", "jji", "zzi"},
        {"000000000", "zzi", "jji"},
        {"000000100", "jjyo", "zzyo"},
        {"000000000", "zzyo", "jjyo"},
        {"000000010", "ccha", "ttya"},
        {"000000000", "ttyu", "cchu"},
        // Where the doubled letter is the same in both spellings only the kana is rewritten.
        {"100000000", "ssi", "sshi"},
        {"000000000", "sshi", "ssi"},
        {"001000000", "ttu", "ttsu"},
        {"000000000", "ttsu", "ttu"},
        {"000001000", "ssha", "ssya"},
        {"000000000", "ssyo", "ssho"},
    };
    ExpectConversions(cases, std::size(cases));
}

TEST(SpellingRules, RulesTogether) {
    const ConversionCase cases[] = {
        {"000000000", "shinbunn", "sinbun"},
        {"100000001", "sinbun", "shinnbunn"},
        {"010000010", "chi", "chi"},
        {"010000010", "cho", "tyo"},
        {"000000000", "syu", "shu"},  // written out by one rule, not examined by another
        {"000000000", "tyu", "chu"},
        {"000100100", "jyuu fuji", "zyuuhuji"},
        {"111111111", "sinbun tikatetu fuji jya cha sya", "shinnbunnchikatetsuhuzizyatyasya"},
        {"000000000", "shinnbunn chikatetsu huzi zya tya sya", "sinbuntikatetufujijyachasha"},
        {"000000000", "oha you", "ohayou"},
        {"100000000", "SI", "SI"},  // only lowercase letters are rewritten
        {"000000000", "", ""},
        {"000000000", "   ", ""},
    };
    ExpectConversions(cases, std::size(cases));
}

TEST(SpellingRules, ValuesOtherThanZeroOrOneLeaveTheSpellingAlone) {
    const ConversionCase cases[] = {
        {"200000000", "si shi", "sishi"},    {"x00000000", "si shi", "sishi"},
        {"000200000", "hu fu", "hufu"},      {"00000000x", "nb nnb n", "nbnnbn"},
        {"000000002", "nb nnb n", "nbnnbn"}, {"222222222", "shinnbunn tuzi", "shinnbunntuzi"},
    };
    ExpectConversions(cases, std::size(cases));
}

// "shu" and "chu" are し and ち followed by ゅ, never a ふ.
TEST(SpellingRules, HuAfterSOrCIsNoFu) {
    const ConversionCase cases[] = {
        {"000000000", "shu", "shu"},
        {"000000000", "chu", "chu"},
        {"000000000", "sshu cchu", "sshucchu"},
        {"000000000", "huhu", "fufu"},
        {"000000000", "kahhu", "kaffu"},
        {"000001000", "shu", "syu"},
        {"000000010", "chu", "tyu"},
    };
    ExpectConversions(cases, std::size(cases));
}

// A written "nn" is one ん already: with ん = "nn" it stays, whatever follows.
TEST(SpellingRules, WrittenDoubleNStaysDouble) {
    const ConversionCase cases[] = {
        {"000000001", "nnb", "nnb"},
        {"000000001", "nn", "nn"},
        {"100000001", "shinnbunn", "shinnbunn"},
        {"000000001", "nna", "nnna"},
        {"000000001", "nnna", "nnna"},
        {"010000001", "konnichi", "konnnichi"},
        {"010000001", "kon nichi", "konnnichi"},
        {"000000001", "nnnb", "nnnnb"},
    };
    ExpectConversions(cases, std::size(cases));
}

TEST(SpellingRules, ConversionNeverWritesPastTheField) {
    char field[8];
    std::memset(field, '#', sizeof field);
    int length = ConvertRomaji("nnnnnnnnnn", Preferences("000000001"), field, 6);
    EXPECT_EQ(length, 10);
    EXPECT_STREQ(field, "nnnnn");
    EXPECT_EQ(field[6], '#');
    EXPECT_EQ(field[7], '#');
}

}  // namespace
