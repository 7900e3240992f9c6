#!/usr/bin/python3
"""Tests of the phrase tools: the spelling rewrite, the reading matcher and the checker."""

import os
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import check_phrases  # noqa: E402
import phrase_file  # noqa: E402
import romaji  # noqa: E402


def choice(**values):
    """A spelling choice with the named rules set, e.g. choice(shi=1, n=1); the rest 0."""
    names = ("shi", "chi", "tsu", "fu", "ji", "sha", "ja", "cha", "n")
    return tuple(values.get(name, 0) for name in names)


class ConvertTest(unittest.TestCase):
    def test_rewrites(self):
        cases = [
            ("shinbunn", choice(), "sinbun"),
            ("sinbun", choice(shi=1, n=1), "shinnbunn"),
            ("ssi", choice(shi=1), "sshi"),
            ("ti", choice(chi=1), "chi"),
            ("tti", choice(chi=1), "cchi"),
            ("cchi", choice(chi=0), "tti"),
            ("chi", choice(chi=1, cha=1), "chi"),
            ("cho", choice(cha=1), "tyo"),
            ("ccha", choice(cha=1), "ttya"),
            ("ttya", choice(cha=0), "ccha"),
            ("ttu", choice(tsu=1), "ttsu"),
            ("tsu", choice(tsu=0), "tu"),
            ("fu", choice(fu=1), "hu"),
            ("ffu", choice(fu=1), "hhu"),
            ("hhu", choice(fu=0), "ffu"),
            ("ohuro", choice(fu=0), "ofuro"),
            # The "h" of しゅ and ちゅ is not the "h" of ふ.
            ("shu", choice(fu=0, sha=0), "shu"),
            ("chu", choice(fu=0), "chu"),
            ("syu", choice(fu=0, sha=0), "shu"),
            ("jji", choice(ji=1), "zzi"),
            ("zi", choice(ji=0), "ji"),
            ("zya", choice(ja=0), "jya"),
            ("jjyo", choice(ja=1), "zzyo"),
            ("ja", choice(ja=1), "ja"),
            ("she", choice(sha=1), "sye"),
            ("shi", choice(shi=1, sha=1), "shi"),
            ("n", choice(n=1), "nn"),
            ("nn", choice(n=0), "n"),
            ("nna", choice(n=1), "nnna"),
            ("nnb", choice(n=1), "nnb"),
            ("nnya", choice(n=0), "nnya"),
            ("nya", choice(n=1), "nya"),
            ("oha you", choice(), "ohayou"),
            # A space is not a vowel: the ん of "honn" is read before a consonant.
            ("honn aru", choice(), "honaru"),
            ("si", (2, 0, 0, 0, 0, 0, 0, 0, 0), "si"),
        ]
        for source, prefs, expected in cases:
            with self.subTest(source=source, prefs=prefs):
                self.assertEqual(romaji.convert(source, prefs), expected)

    def test_choices_that_matter_give_every_outcome(self):
        for source in ("sinbun", "kocchi", "jyanken", "fuzakeruna", "dakara", "syuttyou nnn"):
            with self.subTest(source=source):
                every = {romaji.convert(source, c) for c in romaji.ALL_CHOICES}
                some = {romaji.convert(source, c) for c in romaji.choices_that_matter(source)}
                self.assertEqual(some, every)


class ReadingTest(unittest.TestCase):
    def test_canonical(self):
        cases = [
            ("しんぶん", "sinbun"),
            ("きんようび", "kinnyoubi"),
            ("こんにちは", "konnitiha"),
            ("いっしょ", "issho"),
            ("まっちゃ", "maccha"),
            ("ジャージ", "jya-ji"),
            ("にふぇーでーびる", "nife-de-biru"),
            ("うちなーんちゅ", "utina-nchu"),
        ]
        for reading, expected in cases:
            with self.subTest(reading=reading):
                self.assertEqual(romaji.canonical(reading), expected)

    def test_match(self):
        cases = [
            ("しんぶん", "shinbun", True),
            ("しんぶん", "sinn bunn", True),
            ("きんようび", "kinyoubi", False),
            ("きんようび", "kinnyoubi", True),
            ("まっちゃ", "mattya", True),
            ("まっちゃ", "matcha", False),
            ("じゃあね", "zyaane", True),
            ("じゃあね", "jaane", False),
            ("こんにちは", "konnichiwa", False),
            ("おんな", "onna", True),
            ("おんな", "onnna", True),
            ("ふうふ", "huufu", True),
            ("しゅっちょう", "syuttyou", True),
            ("しゅっちょう", "shucchoo", False),
            ("いく", "ikuu", False),
        ]
        for reading, source, ok in cases:
            with self.subTest(reading=reading, source=source):
                self.assertEqual(romaji.match_reading(reading, source) is None, ok)

    def test_unspellable_readings(self):
        for reading in ("あっ", "っあ", "うんー", "ゐ", "ab"):
            with self.subTest(reading=reading):
                with self.assertRaises(romaji.ReadingError):
                    romaji.tokenize(reading)


GOOD = ("# ---- 北海道 (Hokkaido) ----\n"
        "# よみ: なまら さむいね / とても さむいね\n"
        "[drel]なまら寒いね namara samuine\n"
        "[normal]とても寒いね totemo samuine\n")


class CheckTest(unittest.TestCase):
    def test_good_collection(self):
        errors, coll, longest = check_phrases.check_collection(GOOD)
        self.assertEqual(errors, [])
        self.assertEqual(len(coll.phrases), 1)
        self.assertEqual(coll.regions, ["北海道 (Hokkaido)"])
        self.assertEqual(longest, {3: 13, 4: 13})

    def test_faults_are_found(self):
        cases = [
            ("display over 28 bytes",
             GOOD.replace("[drel]なまら寒いね", "[drel]なまら寒いねなまら寒いねなまら"), "bytes (at most 28)"),
            # A full-width question mark is not typed but takes two of the 28 bytes.
            ("question mark past 28 bytes",
             GOOD.replace("[drel]なまら寒いね", "[drel]なまら寒いねなまら寒いねなま？"), "30 bytes (at most 28)"),
            ("letters the player cannot type", GOOD.replace("namara", "Namara"), "only a to z"),
            ("reading of another text", GOOD.replace("[drel]なまら", "[drel]ばり"), "does not fit"),
            ("romaji of another reading", GOOD.replace("namara samuine", "namara atsuine"),
             "does not spell"),
            ("a spelling the settings cannot rewrite",
             GOOD.replace("なまら さむいね /", "じゃあ まった /").replace("[drel]なまら寒いね namara samuine",
                                                                 "[drel]じゃあまった jaa matta"),
             "expected one of jya, zya"),
            ("ん cut from its vowel by a space",
             GOOD.replace("なまら さむいね /", "ほん ある /").replace("[drel]なまら寒いね namara samuine",
                                                              "[drel]本ある honn aru"),
             "under spellings"),
            ("romaji that grows past 28",
             GOOD.replace("なまら さむいね /", "しんしんしんしんしんしんしん /").replace(
                 "[drel]なまら寒いね namara samuine", "[drel]しんしん shin shin shin shin shin shin shin"),
             "grows to 35"),
            ("dialect line alone", GOOD.replace("[normal]", "#"), "must be followed"),
            ("standard line alone", GOOD + "[normal]とても寒いね totemo samuine\n", "without a dialect"),
            ("no reading", GOOD.replace("# よみ:", "# yomi:"), "no reading"),
            ("phrase twice", GOOD + GOOD.split("\n", 1)[1], "the same phrase"),
            ("tag in upper case", GOOD + "[Drel]寒い samui\n", "lower case"),
            ("over-long line", GOOD + "#" + "x" * 255 + "\n", "256 bytes (at most 255)"),
            ("no space after the text", GOOD.replace("寒いね namara samuine", "寒いね"),
             "no space between"),
        ]
        for name, text, message in cases:
            with self.subTest(name):
                errors, _, _ = check_phrases.check_collection(text)
                self.assertTrue(any(message in e for e in errors), errors)

    def test_too_many_phrases(self):
        body = "".join(f"# よみ: あ / い\n[drel]{i}あ a\n[normal]い i\n" for i in range(257))
        errors, _, _ = check_phrases.check_collection("# ---- R ----\n" + body)
        self.assertIn("257 phrases; the game loads only the first 256", errors)


class EncodeTest(unittest.TestCase):
    def test_encode(self):
        self.assertEqual(phrase_file.encode("[drel]寒い samui\n"), b"[drel]\x8a\xa6\x82\xa2 samui\n")
        for text, message in (("a\r\nb", "line 1: carriage return"), ("a\n\u00e9", "line 2:")):
            with self.subTest(text=text):
                with self.assertRaisesRegex(ValueError, message):
                    phrase_file.encode(text)


if __name__ == "__main__":
    unittest.main()
