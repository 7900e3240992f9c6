"""Type: fonts from Debian's packages and a hand-made pixel font, rendered as masks.

Text is rendered without anti-aliasing, one glyph at a time on a shared baseline,
so every letter is a clean set of pixels in one colour.
"""

import numpy as np
from PIL import Image, ImageDraw, ImageFont

import canvas as cv

# Debian packages: fonts-dotgothic16, fonts-misaki, fonts-motoya-l-maruberi,
# fonts-ipafont-gothic (the last only for the contact sheet's labels).
FONT_FILES = {
    "dot": "/usr/share/fonts/truetype/dotgothic16/DotGothic16-Regular.ttf",
    "misaki": "/usr/share/fonts/truetype/misaki/misaki_gothic_2nd.ttf",
    "maru": "/usr/share/fonts/truetype/motoya-l-maruberi/MTLmr3m.ttf",
    "gothic": "/usr/share/fonts/opentype/ipafont-gothic/ipag.ttf",
}

_fonts = {}


def font(name, size):
    key = (name, size)
    if key not in _fonts:
        _fonts[key] = ImageFont.truetype(FONT_FILES[name], size)
    return _fonts[key]


def line_mask(text, name, size, bold=0, spacing=0):
    """(mask, baseline) of one line of text; bold thickens strokes to the right."""
    f = font(name, size)
    ascent, descent = f.getmetrics()
    advances = [f.getlength(ch) for ch in text]
    width = int(sum(advances) + spacing * max(len(text) - 1, 0)) + bold + 4
    image = Image.new("1", (width, ascent + descent + 2), 0)
    draw = ImageDraw.Draw(image)
    draw.fontmode = "1"
    x = 0.0
    for ch, adv in zip(text, advances):
        draw.text((round(x), ascent), ch, font=f, fill=1, anchor="ls")
        x += adv + spacing
    mask = np.array(image, dtype=bool)
    for _ in range(bold):
        mask = mask | cv.shift(mask, 1, 0)
    return mask, ascent


# --- the hand-made pixel font of the tiny labels -------------------------------
# Letters five pixels high; '#' is ink.  Widths vary, one blank column between letters.
TINY = {
    "A": ["###", "#.#", "###", "#.#", "#.#"],
    "C": ["###", "#..", "#..", "#..", "###"],
    "D": ["##.", "#.#", "#.#", "#.#", "##."],
    "E": ["###", "#..", "##.", "#..", "###"],
    "F": ["###", "#..", "##.", "#..", "#.."],
    "I": ["#", "#", "#", "#", "#"],
    "L": ["#..", "#..", "#..", "#..", "###"],
    "M": ["#...#", "##.##", "#.#.#", "#...#", "#...#"],
    "N": ["#..#", "##.#", "#.##", "#..#", "#..#"],
    "O": ["###", "#.#", "#.#", "#.#", "###"],
    "R": ["##.", "#.#", "##.", "#.#", "#.#"],
    "S": ["###", "#..", "###", "..#", "###"],
    "U": ["#.#", "#.#", "#.#", "#.#", "###"],
    "W": ["#...#", "#...#", "#.#.#", "##.##", "#...#"],
    "4": ["#.#", "#.#", "###", "..#", "..#"],
    ":": [".", "#", ".", "#", "."],
    ">": ["#..", ".#.", "..#", ".#.", "#.."],
    " ": ["..", "..", "..", "..", ".."],
}


def tiny_mask(text):
    columns = []
    for i, ch in enumerate(text):
        rows = TINY[ch]
        if i:
            columns.append([False] * 5)
        for x in range(len(rows[0])):
            columns.append([rows[y][x] == "#" for y in range(5)])
    return np.array(columns, dtype=bool).T


def bitmap_mask(rows):
    """A mask from rows of '#' (ink) and '.' (none)."""
    return np.array([[c == "#" for c in row] for row in rows], dtype=bool)
