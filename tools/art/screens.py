"""Mock-ups of the game's screens, composed from the pieces exactly where the
screens place them, for looking at the art in its setting.

Coordinates are play-area coordinates (480 x 320), as the screens use them.
The sample numbers and phrases are only there to fill the screens.
"""

import numpy as np
from PIL import Image, ImageDraw

import canvas as cv
import palette as P
import text

ORIGIN = 80
BLACK, RED, ORANGE_TEXT, VERMILION = P.BLACK, 249, 218, P.VERMILION


class Frame:
    """The 640 x 480 frame the screens draw into, in palette indices."""

    def __init__(self, images):
        self.images = images
        self.c = cv.Canvas(640, 480, P.BLACK)

    def blit(self, file, src, x, y):
        x0, y0, x1, y1 = src
        piece = self.images[file].crop((x0, y0, x1, y1))
        self.c.paste(piece, (x + ORIGIN, y + ORIGIN))

    def fill(self, colour, box=None):
        if box is None:
            self.c.fill(colour)
        else:
            x0, y0, x1, y1 = box
            self.c.fill(colour, (x0 + ORIGIN, y0 + ORIGIN, x1 + ORIGIN, y1 + ORIGIN))

    def _text(self, s, x, y, colour, size, bold):
        f = text.font("gothic", size)
        image = Image.new("1", (640, 480), 0)
        draw = ImageDraw.Draw(image)
        draw.fontmode = "1"
        draw.text((x + ORIGIN, y + ORIGIN), s, font=f, fill=1)
        mask = np.array(image, dtype=bool)
        if bold:
            mask |= cv.shift(mask, 1, 0)
        self.c.paint(mask, colour)

    def text_shadowed(self, s, x, y, colour):
        self._text(s, x + 1, y + 1, P.SHADOW, 19, False)
        self._text(s, x, y, colour, 19, False)

    def text_bold(self, s, x, y, colour):
        self._text(s, x, y, colour, 14, True)

    def play_area(self):
        return self.c.crop((ORIGIN, ORIGIN, ORIGIN + 480, ORIGIN + 320)).to_image()


WORDS, HISCO, PARTS = "words1-1.bmp", "hisco1-1.bmp", "parts1-2.bmp"


def _enter_prompt(f, x, y):
    f.blit(HISCO, (48, 120, 120, 128), x, y)


def _number(f, value, limit, file, glyph, x0, pitch, y):
    value = min(value, limit)
    digits = [int(d) for d in reversed(str(value))]
    for i, d in enumerate(digits):
        f.blit(file, glyph(d), x0 - pitch * i, y)


def _large(d):
    return (16 * d, 0, 16 * d + 16, 32)


def _small(d):
    return (8 * d, 48, 8 * d + 8, 64)


def _speed(f, v, x0, y):
    v = min(v, 99.99)
    glyphs = [int(v * 100) % 10, int(v * 10) % 10, None, int(v) % 10]
    if v >= 10:
        glyphs.append(int(v * 0.1) % 10)
    for j, g in enumerate(glyphs):
        src = (80, 48, 88, 64) if g is None else _small(g)
        f.blit(HISCO, src, x0 - 11 * j, y)


def title(images, selected=0, windowed=True):
    f = Frame(images)
    f.fill(P.BLACK)
    f.fill(P.CREAM, (0, 0, 480, 320))
    f.fill(P.LAVENDER, (0, 0, 480, 16))
    f.fill(P.LAVENDER, (448, 16, 464, 320))
    f.fill(P.SALMON, (16, 16, 32, 208))
    f.fill(P.SALMON, (0, 288, 480, 304))
    f.fill(P.PINK, (16, 0, 32, 16))
    f.fill(P.PINK, (448, 288, 464, 304))
    f.blit(WORDS, (0, 160, 208, 176), 4, 221)
    f.blit(WORDS, (0, 176, 160, 240), 17, 240)
    f.blit("title1-1.bmp", (0, 0, 224, 224), 208, 48)
    _enter_prompt(f, 363, 31)
    if windowed:
        f.blit(WORDS, (96, 352, 170, 357), 362, 275)
    else:
        f.blit(WORDS, (96, 360, 146, 365), 362, 275)
    items = [((48, 40), (0, 0, 160, 32), (0, 96, 160, 128)),
             ((59, 83), (0, 32, 128, 64), (0, 128, 128, 160)),
             ((66, 124), (0, 496, 96, 528), (96, 496, 192, 528)),
             ((77, 166), (0, 64, 80, 96), (80, 64, 160, 96))]
    # Draw the previous selection first, as the menu does when the cursor moves.
    for i, (at, plain, chosen) in enumerate(items):
        f.blit(WORDS, chosen, *at)
    for i, (at, plain, chosen) in enumerate(items):
        f.blit(WORDS, chosen if i == selected else plain, *at)
    return f


def play_screen(images, score=0, bonus=0, lives=3, ticks=0):
    f = Frame(images)
    f.fill(P.BLACK)
    f.fill(P.CREAM, (0, 0, 480, 320))
    f.blit("back1-1.bmp", (112, 0, 210, 120), 28, 40)
    f.blit("back1-1.bmp", (0, 0, 98, 120), 355, 144)
    f.blit("zubi1-1.bmp", (0, 0, 96, 144), 31, 25)
    f.blit("yama1-1.bmp", (0, 0, 96, 144), 355, 126)
    f.blit("timewin1-1.bmp", (0, 0, 240, 48), 16, 272)
    f.blit("timewin1-2.bmp", (0, 0, 176, 48), 288, 272)
    f.blit(PARTS, (64, 32, 112, 40), 384, 304)
    f.blit(PARTS, (64, 40, 112, 48), 176, 304)
    f.blit(PARTS, (0, 32, 32, 48), 432, 32)
    f.blit(WORDS, (128, 128, 208, 144), 144, 19)
    _number(f, score, 999999, PARTS, _large, 416, 22, 12)
    _number(f, bonus, 999999, HISCO, _small, 246, 11, 16)
    for i in range(lives):
        f.blit(PARTS, (32, 32, 48, 48) if i % 2 == 0 else (48, 32, 64, 48), 304 + 16 * i, 288)
    width = 208 - 4 * ticks
    if width > 0:
        f.blit("bar1-1.bmp", (0, 0, width, 16), 32, 288)
    f.blit("win1-1.bmp", (0, 0, 320, 96), 128, 48)
    return f


def ready(images, second):
    f = play_screen(images)
    _enter_prompt(f, 352, 120)
    f.blit(WORDS, (0, 240, 166, 278), 195, 79)
    if second:
        f.blit("win1-2.bmp", (0, 0, 320, 96), 32, 176)
        f.fill(P.WHITE, (352, 120, 424, 128))
        f.blit(WORDS, (0, 278, 170, 316), 102, 207)
    return f


SAMPLE = ("めっちゃおもろいやん", "metyaomoroiyann", "とてもおもしろいね", "totemoomosiroine")


def play(images, mark):
    f = play_screen(images, score=12345, bonus=25, lives=5, ticks=13)
    f.blit("win1-2.bmp", (0, 0, 320, 96), 32, 176)
    dialect, dialect_romaji, standard, standard_romaji = SAMPLE
    f.text_shadowed(dialect, 144, 64, BLACK)
    f.text_shadowed(dialect_romaji, 144, 90, RED)
    f.text_shadowed(standard, 48, 192, BLACK)
    f.text_shadowed(standard_romaji, 48, 218, BLACK)
    f.text_shadowed(standard_romaji[:7], 48, 218, ORANGE_TEXT)
    f.text_shadowed(standard_romaji[:6], 48, 218, RED)
    marks = {"perfect": (0, 368, 176, 409), "good": (0, 409, 176, 450),
             "never-mind": (0, 450, 160, 491)}
    f.blit(WORDS, marks[mark], 160, 140)
    return f


def game_over(images):
    f = play(images, "good")
    f.fill(P.CREAM, (160, 140, 336, 181))
    f.blit(WORDS, (0, 320, 91, 360), 200, 138)
    return f


def _panel(f, n, x, y, yb):
    tl, tr, bl, br = (0, 16, 16, 32), (16, 16, 32, 32), (32, 16, 48, 32), (48, 16, 64, 32)
    top, rule, left, right = (64, 16, 80, 32), (80, 16, 96, 32), (96, 16, 112, 32), (112, 16, 128, 32)
    band, bottom = (0, 32, 16, 48), (16, 32, 32, 48)
    rows = [(y, tl, top, tr), (y + 16, left, band, right), (y + 32, left, rule, right),
            (yb, bl, bottom, br)]
    for ry, first, middle, last in rows:
        for c in range(n):
            src = first if c == 0 else last if c == n - 1 else middle
            f.blit(HISCO, src, x + 16 * c, ry)
    for ry in range(48, yb, 16):
        f.blit(HISCO, left, x, ry)
        f.blit(HISCO, right, x + 16 * (n - 1), ry)


def results(images):
    f = game_over(images)
    f.fill(P.WHITE, (144, 32, 336, 272))
    _panel(f, 14, 128, 16, 272)
    for i in range(6):
        f.fill(P.MID_GREY, (160, 85 + 32 * i, 320, 86 + 32 * i))
    f.blit(HISCO, (96, 64, 128, 80), 224, 35)
    for at in ((179, 96), (189, 192)):
        f.blit(HISCO, (0, 96, 48, 112), *at)
    for at in ((179, 128), (189, 224)):
        f.blit(HISCO, (0, 112, 48, 128), *at)
    f.blit(HISCO, (48, 96, 112, 112), 179, 160)
    f.blit(HISCO, (0, 64, 32, 80), 290, 99)
    f.blit(HISCO, (32, 64, 80, 80), 290, 128)
    f.blit(HISCO, (80, 64, 96, 80), 290, 160)
    _enter_prompt(f, 240, 264)
    for at in ((166, 100), (166, 132), (166, 164)):
        f.blit(HISCO, (48, 112, 56, 120), *at)
    for at in ((178, 197), (178, 229)):
        f.blit(HISCO, (56, 112, 64, 120), *at)
    _number(f, 12345, 999999, HISCO, _small, 274, 11, 96)
    _speed(f, 4.56, 274, 128)
    _number(f, 7, 999, HISCO, _small, 274, 11, 160)
    f.text_bold("1位", 262, 193, VERMILION)
    f.text_bold("3位", 262, 225, VERMILION)
    return f


def _outer_frame(f):
    for i in range(30):
        f.blit(HISCO, (0, 0, 16, 16) if i == 0 else (16, 0, 32, 16) if i == 29 else (64, 0, 80, 16),
               16 * i, 0)
        f.blit(HISCO, (32, 0, 48, 16) if i == 0 else (48, 0, 64, 16) if i == 29 else (80, 0, 96, 16),
               16 * i, 304)
    for i in range(1, 19):
        f.blit(HISCO, (96, 0, 112, 16), 0, 16 * i)
        f.blit(HISCO, (112, 0, 128, 16), 464, 16 * i)


def rankings(images):
    f = Frame(images)
    f.fill(P.BLACK)
    f.fill(P.CREAM, (0, 0, 480, 320))
    _outer_frame(f)
    scores = [23456, 12345, 9870, 4200, 0]
    speeds = [6.02, 5.5, 4.31, 12.75, 0.0]
    speeds.sort(reverse=True)
    for t in (0, 1):
        dx = 224 * t
        f.fill(P.WHITE, (32 + dx, 48, 224 + dx, 288))
        _panel(f, 14, 16 + dx, 32, 288)
        for i in range(6):
            f.fill(P.MID_GREY, (48 + dx, 101 + 32 * i, 208 + dx, 102 + 32 * i))
        if t == 0:
            f.blit(HISCO, (80, 80, 128, 96), 98, 52)
            for r, s in enumerate(scores):
                _number(f, s, 999999, HISCO, _small, 162, 11, 112 + 32 * r)
            for r in range(5):
                f.blit(HISCO, (0, 64, 32, 80), 178, 115 + 32 * r)
        else:
            f.blit(HISCO, (64, 32, 128, 48), 322, 52)
            for r, s in enumerate(speeds):
                _speed(f, s, 386, 112 + 32 * r)
                f.blit(HISCO, (32, 64, 80, 80), 402, 112 + 32 * r)
    f.blit(HISCO, (0, 80, 80, 96), 199, 16)
    f.fill(P.VERMILION, (184, 34, 295, 35))
    _enter_prompt(f, 368, 24)
    for c in (0, 1):
        for r in range(5):
            f.text_bold(f"{r + 1}位", 52 + 224 * c, 112 + 32 * r, VERMILION)
    return f


ROWS = [("し", 48, 80, "si", "shi", 128, 176), ("ち", 48, 112, "ti", "chi", 128, 176),
        ("つ", 48, 144, "tu", "tsu", 128, 176), ("ふ", 48, 176, "fu", "hu", 128, 176),
        ("じ", 48, 208, "ji", "zi", 128, 176), ("しゃ", 48, 240, "sha", "sya", 128, 176),
        ("じゃ", 276, 80, "jya", "zya", 354, 402), ("ちゃ", 276, 112, "cha", "tya", 354, 402),
        ("ん", 276, 144, "n", "nn", 354, 402)]


def settings(images, cursor=2, values=(0, 1, 1, 0, 0, 0, 1, 0, 1)):
    f = Frame(images)
    f.fill(P.BLACK)
    f.fill(P.CREAM, (0, 0, 480, 320))
    _outer_frame(f)
    f.fill(P.WHITE, (32, 48, 448, 288))
    for c in range(28):
        src = (0, 16, 16, 32) if c == 0 else (16, 16, 32, 32) if c == 27 else (64, 16, 80, 32)
        f.blit(HISCO, src, 16 + 16 * c, 32)
        src = (32, 16, 48, 32) if c == 0 else (48, 16, 64, 32) if c == 27 else (16, 32, 32, 48)
        f.blit(HISCO, src, 16 + 16 * c, 288)
    for r in range(15):
        f.blit(HISCO, (96, 16, 112, 32), 16, 48 + 16 * r)
        f.blit(HISCO, (112, 16, 128, 32), 448, 48 + 16 * r)
    for i in range(7):
        f.fill(P.MID_GREY, (48, 69 + 32 * i, 208, 70 + 32 * i))
    for i in (0, 1, 2, 3, 5):
        f.fill(P.MID_GREY, (272, 69 + 32 * i, 432, 70 + 32 * i))
    f.fill(P.MID_GREY, (240, 64, 241, 272))
    for i in range(6):
        f.blit(HISCO, (80, 144, 88, 152), 103, 84 + 32 * i)
    for j in range(3):
        f.blit(HISCO, (80, 144, 88, 152), 327, 84 + 32 * j)
    f.blit(HISCO, (0, 144, 80, 160), 343, 208)
    f.blit(HISCO, (0, 128, 96, 144), 192, 16)
    f.fill(P.VERMILION, (184, 34, 295, 35))
    for i, (kana, kx, y, v0, v1, x0, x1) in enumerate(ROWS):
        f.text_shadowed(kana, kx, y, VERMILION if i == cursor else BLACK)
        f.text_shadowed(v0, x0, y, BLACK if values[i] else VERMILION)
        f.text_shadowed(v1, x1, y, VERMILION if values[i] else BLACK)
    return f


def all_screens(images):
    """{name: PIL image of the play area}."""
    return {
        "title": title(images, 0, True).play_area(),
        "title-settings-fullscreen": title(images, 2, False).play_area(),
        "ready": ready(images, False).play_area(),
        "ready-go": ready(images, True).play_area(),
        "play-perfect": play(images, "perfect").play_area(),
        "play-good": play(images, "good").play_area(),
        "play-never-mind": play(images, "never-mind").play_area(),
        "game-over": game_over(images).play_area(),
        "results": results(images).play_area(),
        "rankings": rankings(images).play_area(),
        "settings": settings(images).play_area(),
    }
