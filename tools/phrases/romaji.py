"""Romaji of the phrase file: the spelling rewrite the game applies while loading, and the
romanisation of a kana reading that the phrase checker compares each romaji source with.

The rewrite mirrors the game's loader rule for rule, so that the checker can tell, for every one
of the 512 spelling choices, which romaji the player will be asked to type.
"""

import itertools

# Preference indices, in the order the settings screen and key.dat use.
SHI, CHI, TSU, FU, JI, SHA, JA, CHA, N = range(9)
RULE_KANA = ("し", "ち", "つ", "ふ", "じ", "しゃ", "じゃ", "ちゃ", "ん")
RULE_COUNT = 9
ALL_CHOICES = tuple(itertools.product((0, 1), repeat=RULE_COUNT))

VOWELS = "aiueo"
LETTERS = set("abcdefghijklmnopqrstuvwxyz-")


def _free_before_n(source, at):
    """True where an "n" ending just before `at` is a syllable of its own (ん)."""
    return at >= len(source) or (source[at] not in VOWELS and source[at] != "y")


def _rule_match(rule, value, source, i):
    """The (replacement, consumed) of one rule at source[i], or None when it does not apply."""
    if value not in (0, 1):
        return None
    tail = source[i:]
    if rule == SHI:
        pairs = (("si", "shi"),)
    elif rule == CHI:
        pairs = (("ti", "chi"), ("tti", "cchi"))
    elif rule == TSU:
        pairs = (("tu", "tsu"),)
    elif rule == FU:
        # "shu" and "chu" hold an "h" that belongs to しゅ and ちゅ, never to ふ.
        if value == 0 and i > 0 and source[i - 1] in "sc":
            return None
        pairs = (("fu", "hu"), ("ffu", "hhu"))
    elif rule == JI:
        pairs = (("ji", "zi"), ("jji", "zzi"))
    elif rule in (SHA, JA, CHA):
        stems = {SHA: (("sh", "sy"),), JA: (("jy", "zy"), ("jjy", "zzy")),
                 CHA: (("ch", "ty"), ("cch", "tty"))}[rule]
        vowels = "aiueo" if rule == JA else "aueo"
        for stem0, stem1 in stems:
            old, new = (stem0, stem1) if value == 1 else (stem1, stem0)
            if tail.startswith(old) and len(tail) > len(old) and tail[len(old)] in vowels:
                return new + tail[len(old)], len(old) + 1
        return None
    else:  # N
        if value == 1:
            if tail.startswith("nn") and _free_before_n(source, i + 2):
                return "nn", 2
            if tail.startswith("n") and _free_before_n(source, i + 1):
                return "nn", 1
        elif tail.startswith("nn") and _free_before_n(source, i + 2):
            return "n", 2
        return None
    for spelling0, spelling1 in pairs:
        old, new = (spelling0, spelling1) if value == 1 else (spelling1, spelling0)
        if tail.startswith(old):
            return new, len(old)
    return None


def convert(source, choice):
    """The romaji the game stores for a romaji source under one spelling choice (nine values)."""
    out = []
    i = 0
    while i < len(source):
        if source[i] == " ":
            i += 1
            continue
        for rule in range(RULE_COUNT):
            hit = _rule_match(rule, choice[rule], source, i)
            if hit:
                out.append(hit[0])
                i += hit[1]
                break
        else:
            out.append(source[i])
            i += 1
    return "".join(out)


def rules_in_play(*sources):
    """The rules that can change these sources under some choice; the others never match them."""
    used = set()
    for source in sources:
        for i in range(len(source)):
            for rule in range(RULE_COUNT):
                if _rule_match(rule, 0, source, i) or _rule_match(rule, 1, source, i):
                    used.add(rule)
    return sorted(used)


def choices_that_matter(*sources):
    """One representative of every distinct way the rules can treat these sources.

    A rule that never matches leaves the output the same whatever its value, so only the rules
    in play need both values; the rest stay 0.
    """
    rules = rules_in_play(*sources)
    for values in itertools.product((0, 1), repeat=len(rules)):
        choice = [0] * RULE_COUNT
        for rule, value in zip(rules, values):
            choice[rule] = value
        yield tuple(choice)


# --- Kana readings -------------------------------------------------------------------------

# Each kana with its spellings; the first is the one the game's default choice asks for.
_SINGLE = {
    "あ": "a", "い": "i", "う": "u", "え": "e", "お": "o",
    "か": "ka", "き": "ki", "く": "ku", "け": "ke", "こ": "ko",
    "さ": "sa", "し": ("si", "shi"), "す": "su", "せ": "se", "そ": "so",
    "た": "ta", "ち": ("ti", "chi"), "つ": ("tu", "tsu"), "て": "te", "と": "to",
    "な": "na", "に": "ni", "ぬ": "nu", "ね": "ne", "の": "no",
    "は": "ha", "ひ": "hi", "ふ": ("fu", "hu"), "へ": "he", "ほ": "ho",
    "ま": "ma", "み": "mi", "む": "mu", "め": "me", "も": "mo",
    "や": "ya", "ゆ": "yu", "よ": "yo",
    "ら": "ra", "り": "ri", "る": "ru", "れ": "re", "ろ": "ro",
    "わ": "wa", "を": "wo",
    "が": "ga", "ぎ": "gi", "ぐ": "gu", "げ": "ge", "ご": "go",
    "ざ": "za", "じ": ("ji", "zi"), "ず": "zu", "ぜ": "ze", "ぞ": "zo",
    "だ": "da", "ぢ": "di", "づ": "du", "で": "de", "ど": "do",
    "ば": "ba", "び": "bi", "ぶ": "bu", "べ": "be", "ぼ": "bo",
    "ぱ": "pa", "ぴ": "pi", "ぷ": "pu", "ぺ": "pe", "ぽ": "po",
    "ゔ": "vu", "ー": "-",
}

# Kana followed by a small ゃ, ゅ, ょ (or ぇ): the stem before the vowel.
_YOON_STEMS = {
    "き": ("ky",), "ぎ": ("gy",), "に": ("ny",), "ひ": ("hy",), "び": ("by",), "ぴ": ("py",),
    "み": ("my",), "り": ("ry",), "ぢ": ("dy",),
    "し": ("sh", "sy"), "ち": ("ch", "ty"), "じ": ("jy", "zy"),
}
_SMALL_YA = {"ゃ": "a", "ゅ": "u", "ょ": "o"}

# Pairs with a small vowel that foreign words and some dialects use.
_PAIRS = {
    "ふぁ": "fa", "ふぃ": "fi", "ふぇ": "fe", "ふぉ": "fo",
    "てぃ": "thi", "でぃ": "dhi", "うぃ": "wi", "うぇ": "we", "いぇ": "ye",
    "しぇ": ("she", "sye"), "ちぇ": ("che", "tye"), "じぇ": ("jye", "zye"),
    "ゔぁ": "va", "ゔぃ": "vi", "ゔぇ": "ve", "ゔぉ": "vo",
}


class ReadingError(ValueError):
    pass


def to_hiragana(text):
    """Katakana turned into hiragana; everything else is kept."""
    return "".join(chr(ord(c) - 0x60) if "ァ" <= c <= "ヶ" else c for c in text)


def _spellings(value):
    return (value,) if isinstance(value, str) else tuple(value)


def tokenize(reading):
    """Split a kana reading into syllables, each a (kana, spellings) pair.

    Spaces are ignored. The small っ and ん depend on what follows them and are resolved here:
    っ joins the next syllable and doubles its first letter ("tti" or "cchi", never "tchi"), ん
    must be "nn" before a vowel or "y" and may be "n" or "nn" elsewhere.
    """
    kana = to_hiragana(reading.replace(" ", "").replace("\u3000", ""))
    syllables = []
    i = 0
    while i < len(kana):
        c = kana[i]
        pair = kana[i:i + 2]
        if c in ("っ", "ん"):
            syllables.append([c, None])
            i += 1
        elif pair in _PAIRS:
            syllables.append([pair, _spellings(_PAIRS[pair])])
            i += 2
        elif c in _YOON_STEMS and i + 1 < len(kana) and kana[i + 1] in _SMALL_YA:
            vowel = _SMALL_YA[kana[i + 1]]
            syllables.append([pair, tuple(stem + vowel for stem in _YOON_STEMS[c])])
            i += 2
        elif c in _SINGLE:
            syllables.append([c, _spellings(_SINGLE[c])])
            i += 1
        else:
            raise ReadingError(f"cannot spell {c!r} (U+{ord(c):04X}) in {reading!r}")
    for k in range(len(syllables) - 1, -1, -1):
        kana_k, spellings = syllables[k]
        following = syllables[k + 1][1] if k + 1 < len(syllables) else None
        if kana_k == "っ":
            first = following[0][0] if following else None
            if first is None or not first.isalpha() or first in VOWELS + "n":
                raise ReadingError(f"small っ must stand before a consonant in {reading!r}")
            # One syllable with the next, so that the doubled letter follows its spelling.
            syllables[k] = [kana_k + syllables[k + 1][0], tuple(s[0] + s for s in following)]
            del syllables[k + 1]
        elif kana_k == "ん":
            if following is None:
                syllables[k][1] = ("n", "nn")
            elif syllables[k + 1][0] in ("ん", "ー"):
                raise ReadingError(f"ん cannot stand before {syllables[k + 1][0]} in {reading!r}")
            elif any(s[0] in VOWELS + "y" for s in following):
                syllables[k][1] = ("nn",)
            else:
                syllables[k][1] = ("n", "nn")
    return [tuple(s) for s in syllables]


def canonical(reading):
    """The reading spelt the way the game's default choice asks for."""
    return "".join(spellings[0] for _, spellings in tokenize(reading))


def match_reading(reading, source):
    """Whether a romaji source spells the reading, each kana in one of its spellings.

    Returns None on success, otherwise a message saying how far the source agreed.
    """
    syllables = tokenize(reading)
    text = source.replace(" ", "")
    # Positions in the text reachable after each syllable; each syllable's spellings are few.
    reach = {0}
    for k, (_, spellings) in enumerate(syllables):
        nxt = set()
        for pos in reach:
            for s in spellings:
                if text.startswith(s, pos):
                    nxt.add(pos + len(s))
        if not nxt:
            pos = max(reach)
            kana = syllables[k][0]
            return (f"romaji {text[:pos]!r} then {text[pos:]!r} does not spell {kana} "
                    f"(expected one of {', '.join(spellings)})")
        reach = nxt
    if len(text) in reach:
        return None
    return f"romaji has {text[max(reach):]!r} left over after the whole reading"
