"""Reading the phrase collection: its lines, region headings, reading comments and phrases.

The collection is kept as UTF-8 text in the same line layout as the game's drel.txt, which is the
same text in code page 932. Besides the tagged phrase lines it holds two kinds of comment:

    # ---- 北海道 (Hokkaido) ----                  a region heading
    # よみ: なまら さむい ね / とても さむい ね      the kana of both lines of the next phrase
"""

import re
from dataclasses import dataclass, field

DIALECT_TAG = "[drel]"
STANDARD_TAG = "[normal]"
HEADING = re.compile(r"^# ---- (.+?) ----$")
READING_PREFIX = "# よみ:"
READING_SEPARATOR = " / "
ENCODING = "cp932"


@dataclass
class Line:
    """One tagged line of a phrase: its display text and romaji source."""

    number: int
    text: str
    romaji: str


@dataclass
class Phrase:
    region: str
    dialect: Line
    standard: Line
    dialect_reading: str = None
    standard_reading: str = None
    reading_line: int = None


@dataclass
class Collection:
    regions: list = field(default_factory=list)
    phrases: list = field(default_factory=list)
    errors: list = field(default_factory=list)

    def error(self, number, message):
        self.errors.append(f"line {number}: {message}")


def _split_tagged(tag, line, number, collection):
    body = line[len(tag):]
    if " " not in body:
        collection.error(number, "no space between the display text and the romaji")
        return Line(number, body, "")
    text, romaji = body.split(" ", 1)
    return Line(number, text, romaji)


def parse(text):
    """The regions, phrases and layout errors of a collection given as text."""
    collection = Collection()
    lines = text.split("\n")
    if lines and lines[-1] == "":
        lines.pop()
    region = None
    reading = None  # (line number, dialect reading, standard reading) awaiting its phrase
    i = 0
    while i < len(lines):
        number, line = i + 1, lines[i]
        i += 1
        heading = HEADING.match(line)
        if line.startswith(DIALECT_TAG):
            dialect = _split_tagged(DIALECT_TAG, line, number, collection)
            if i >= len(lines) or not lines[i].startswith(STANDARD_TAG):
                collection.error(number, "a dialect line must be followed by its standard line")
                reading = None
                continue
            standard = _split_tagged(STANDARD_TAG, lines[i], i + 1, collection)
            i += 1
            if region is None:
                collection.error(number, "phrase before the first region heading")
            phrase = Phrase(region, dialect, standard)
            if reading and reading[0] == number - 1:
                phrase.reading_line, phrase.dialect_reading, phrase.standard_reading = reading
            collection.phrases.append(phrase)
            reading = None
        elif line.startswith(STANDARD_TAG):
            collection.error(number, "a standard line without a dialect line before it")
        elif line.lstrip().lower().startswith(("[drel]", "[normal]")):
            collection.error(number, "a tag must be written in lower case in the first column")
        elif heading:
            region = heading.group(1)
            if region in collection.regions:
                collection.error(number, f"region {region} has a second heading")
            else:
                collection.regions.append(region)
        elif line.startswith(READING_PREFIX):
            parts = line[len(READING_PREFIX):].strip().split(READING_SEPARATOR)
            if len(parts) != 2:
                collection.error(number, f"a reading needs both lines, separated by"
                                 f" {READING_SEPARATOR.strip()!r}")
            else:
                reading = (number, parts[0].strip(), parts[1].strip())
    return collection


def encode(text):
    """The drel.txt bytes of a collection's text, or ValueError naming the first bad line."""
    out = []
    for number, line in enumerate(text.split("\n"), 1):
        if "\r" in line:
            raise ValueError(f"line {number}: carriage return; the file uses LF line ends")
        try:
            out.append(line.encode(ENCODING))
        except UnicodeEncodeError as e:
            raise ValueError(f"line {number}: {line[e.start]!r} has no code page 932 form") from e
    return b"\n".join(out)
