#!/usr/bin/python3
"""Checks a phrase file line by line and phrase by phrase.

For every phrase: the display texts fit in 28 bytes, the romaji holds only letters the player
can type, the kana reading in the comment above the phrase fits its display text, the romaji
spells that reading (each kana in one of the spellings the game can rewrite), and under every
one of the 512 spelling choices the game stores exactly the reading's romaji in that choice's
spellings, at most 28 characters long. Also: no line over 255 bytes, no stray or broken tags, no
phrase twice, at most 256 phrases.
"""

import argparse
import collections
import os
import re
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import phrase_file  # noqa: E402
import romaji  # noqa: E402

MAX_LINE_BYTES = 255
MAX_TEXT_BYTES = 28
MAX_ROMAJI = 28
MAX_PHRASES = 256
# Marks a display text may hold that have no sound; a reading may hold them too.
SILENT = set("、。！？「」『』・…　!?")
ROMAJI_CHARS = romaji.LETTERS | {" "}


def _is_kana(c):
    return "ぁ" <= c <= "ゖ" or ("ァ" <= c <= "ヺ" and c != "ヶ") or c == "ー"


def reading_pattern(text):
    """A pattern that the kana reading of a display text must match.

    Kana stand for themselves (katakana as hiragana); each run of anything else, such as kanji,
    stands for at least one kana of the reading.
    """
    parts = []
    for c in romaji.to_hiragana(text):
        if c in SILENT:
            continue
        if _is_kana(c):
            parts.append(re.escape(c))
        elif not parts or parts[-1] != "(.+)":
            parts.append("(.+)")
    return re.compile("".join(parts))


def _spoken(reading):
    return "".join(c for c in romaji.to_hiragana(reading) if c not in SILENT and c != " ")


def check_line(line, reading):
    """Errors of one tagged line and the longest romaji any choice gives it."""
    errors = []
    where = f"line {line.number}:"
    size = len(line.text.encode(phrase_file.ENCODING, errors="replace"))
    if not line.text:
        errors.append(f"{where} empty display text")
    if size > MAX_TEXT_BYTES:
        errors.append(f"{where} display text {line.text} is {size} bytes"
                      f" (at most {MAX_TEXT_BYTES})")
    bad = sorted(set(line.romaji) - ROMAJI_CHARS)
    if bad:
        errors.append(f"{where} romaji holds {''.join(bad)!r}; only a to z, '-' and spaces")
        return errors, 0
    if not line.romaji.strip():
        errors.append(f"{where} empty romaji")
    expected = None
    if reading is not None:
        if not reading_pattern(line.text).fullmatch(_spoken(reading)):
            errors.append(f"{where} reading {reading} does not fit display text {line.text}")
        try:
            mismatch = romaji.match_reading(reading, line.romaji)
            expected = romaji.canonical(reading)
        except romaji.ReadingError as e:
            errors.append(f"{where} {e}")
            mismatch = None
        if mismatch:
            errors.append(f"{where} {mismatch}")
            expected = None
    longest = 0
    sources = (line.romaji, expected) if expected else (line.romaji,)
    for choice in romaji.choices_that_matter(*sources):
        stored = romaji.convert(line.romaji, choice)
        longest = max(longest, len(stored))
        wanted = romaji.convert(expected, choice) if expected is not None else stored
        if stored != wanted:
            errors.append(f"{where} under spellings {','.join(map(str, choice))} the game stores"
                          f" {stored!r} where the reading gives {wanted!r}")
            expected = None  # one example says enough
    if longest > MAX_ROMAJI:
        errors.append(f"{where} romaji {line.romaji!r} grows to {longest} characters under some"
                      f" spellings (at most {MAX_ROMAJI})")
    return errors, longest


def check_collection(text, require_readings=True):
    """All errors of a phrase file's text, and the parsed collection with each line's longest
    romaji."""
    coll = phrase_file.parse(text)
    errors = list(coll.errors)
    for number, line in enumerate(text.split("\n"), 1):
        size = len(line.encode(phrase_file.ENCODING, errors="replace"))
        if size > MAX_LINE_BYTES:
            errors.append(f"line {number}: {size} bytes (at most {MAX_LINE_BYTES})")
    seen = {}
    longest = {}
    for phrase in coll.phrases:
        if phrase.dialect_reading is None and require_readings:
            errors.append(f"line {phrase.dialect.number}: no reading comment right above")
        for line, reading in ((phrase.dialect, phrase.dialect_reading),
                              (phrase.standard, phrase.standard_reading)):
            line_errors, longest[line.number] = check_line(line, reading)
            errors.extend(line_errors)
        key = (phrase.dialect.text, phrase.standard.text)
        if key in seen:
            errors.append(f"line {phrase.dialect.number}: the same phrase as line {seen[key]}")
        seen.setdefault(key, phrase.dialect.number)
    if len(coll.phrases) > MAX_PHRASES:
        errors.append(f"{len(coll.phrases)} phrases; the game loads only the first {MAX_PHRASES}")
    return errors, coll, longest


def main(argv=None):
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("file", nargs="?", default="drel.txt")
    parser.add_argument("--encoding", default=phrase_file.ENCODING,
                        help="cp932 for a drel.txt (the default), utf-8 for the source collection")
    parser.add_argument("--allow-missing-readings", action="store_true",
                        help="check phrases without a reading comment for their limits only")
    parser.add_argument("--min-phrases", type=int, default=1)
    parser.add_argument("--min-regions", type=int, default=0)
    args = parser.parse_args(argv)
    with open(args.file, "rb") as f:
        raw = f.read()
    try:
        text = raw.decode(args.encoding)
    except UnicodeDecodeError as e:
        print(f"{args.file}: not {args.encoding} at byte {e.start}", file=sys.stderr)
        return 1
    text = text.replace("\r\n", "\n")
    errors, coll, longest = check_collection(text, not args.allow_missing_readings)
    if len(coll.phrases) < args.min_phrases:
        errors.append(f"{len(coll.phrases)} phrases (at least {args.min_phrases} wanted)")
    if len(coll.regions) < args.min_regions:
        errors.append(f"{len(coll.regions)} regions (at least {args.min_regions} wanted)")
    for message in errors:
        print(f"{args.file}: {message}", file=sys.stderr)
    per_region = collections.Counter(p.region for p in coll.phrases)
    for region in coll.regions:
        print(f"{per_region[region]:4d}  {region}")
    worst = max(longest.values(), default=0)
    print(f"{len(coll.phrases)} phrases in {len(coll.regions)} regions; longest romaji under any"
          f" spelling choice: {worst} characters")
    if errors:
        print(f"{len(errors)} problems", file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
