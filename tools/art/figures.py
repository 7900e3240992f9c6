"""Pictures: the two characters, their backdrops, the title picture, the signboard.

A figure is a stack of shapes, each with a fill, a shade along its lower right
rim (light comes from the upper left) and a line where it lies over another
shape.  The silhouette gets a soft brown outline.  Small features (eyes, mouths,
highlights) are drawn last, pixel by pixel.
"""

import numpy as np

import canvas as cv
import glyphs
import palette as P
import text

OUTLINE = P.BROWN


class Figure:
    def __init__(self, width, height, scale=1.0, at=(0, 0)):
        self.w, self.h = width, height
        self.scale = scale
        self.at = at
        self.layers = []  # (mask, fill, shade, line)
        self.details = []  # (mask, colour)

    # Coordinates are given in the figure's own frame and moved by scale and at,
    # so one design can be drawn at another size (the title picture).
    def _p(self, x, y):
        return (self.at[0] + x * self.scale, self.at[1] + y * self.scale)

    def _box(self, box):
        x0, y0 = self._p(box[0], box[1])
        x1, y1 = self._p(box[2], box[3])
        return round(x0), round(y0), round(x1), round(y1)

    def ellipse(self, box):
        return cv.ellipse(self.w, self.h, self._box(box))

    def rounded(self, box, r):
        return cv.rounded(self.w, self.h, self._box(box), max(1, round(r * self.scale)))

    def poly(self, points):
        return cv.polygon(self.w, self.h, [tuple(round(v) for v in self._p(x, y)) for x, y in points])

    def rect(self, box):
        return cv.rect(self.w, self.h, self._box(box))

    def line(self, points, thickness=1):
        return cv.line(self.w, self.h, [tuple(round(v) for v in self._p(x, y)) for x, y in points],
                       max(1, round(thickness * self.scale)))

    def arc(self, box, start, end):
        return cv.arc(self.w, self.h, self._box(box), start, end)

    def part(self, mask, fill, shade=None, line=None, depth=2):
        self.layers.append((mask, fill, shade, line, depth))

    def detail(self, mask, colour):
        self.details.append((mask, colour))

    def render(self, c, outline=OUTLINE):
        owner = np.full((self.h, self.w), -1, dtype=np.int32)
        for i, (mask, *_rest) in enumerate(self.layers):
            owner[mask] = i
        body = owner >= 0
        for i, (mask, fill, shade, line, depth) in enumerate(self.layers):
            mine = owner == i
            c.paint(mine, fill)
            if shade is not None:
                d = max(1, round(depth * self.scale))
                c.paint(mine & ~cv.shift(mask, -d, -d), shade)
            if line is not None:
                below = np.zeros_like(mine)
                for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)):
                    other = _shift_int(owner, dx, dy)
                    below |= (other < i) & (other >= 0)
                c.paint(mine & below, line)
        c.paint(cv.edge(body), outline)
        for mask, colour in self.details:
            c.paint(mask, colour)


def _shift_int(a, dx, dy):
    out = np.full_like(a, -1)
    h, w = a.shape
    out[max(dy, 0):h + min(dy, 0), max(dx, 0):w + min(dx, 0)] = \
        a[max(-dy, 0):h + min(-dy, 0), max(-dx, 0):w + min(-dx, 0)]
    return out


# --- the characters ---------------------------------------------------------------

HAIR_BROWN = (P.WOOD, 122, P.BROWN)
SKIN = (118, P.SKIN_WARM, P.SKIN_SHADE)


def dialect_speaker(c, scale=1.0, at=(0, 0), wave=True):
    """A cheerful girl with pigtails and a sunflower clip, waving: she speaks dialect."""
    f = Figure(c.width, c.height, scale, at)
    hair, hair_shade, hair_line = HAIR_BROWN
    skin, skin_shade, skin_line = SKIN
    # Pigtails behind the head, with their ties.
    f.part(f.ellipse((6, 40, 24, 78)), hair, hair_shade, hair_line)
    f.part(f.ellipse((72, 40, 90, 78)), hair, hair_shade, hair_line)
    f.part(f.ellipse((12, 36, 22, 44)) | f.ellipse((74, 36, 84, 44)), P.VERMILION, 213, P.BROWN)
    # Legs and shoes first, under the skirt.
    f.part(f.rect((37, 110, 44, 134)), skin, skin_shade, skin_line, 1)
    f.part(f.rect((52, 110, 59, 134)), skin, skin_shade, skin_line, 1)
    f.part(f.rounded((31, 128, 46, 140), 5), P.VERMILION, 213, P.BROWN)
    f.part(f.rounded((50, 128, 65, 140), 5), P.VERMILION, 213, P.BROWN)
    f.part(f.rect((32, 136, 46, 140)) | f.rect((50, 136, 64, 140)), P.WHITE, None, P.BROWN)
    # Left arm hangs down.
    f.part(f.poly([(28, 76), (34, 78), (30, 102), (23, 100)]), P.ORANGE, 114, P.BROWN)
    f.part(f.ellipse((20, 98, 30, 108)), skin, skin_shade, skin_line, 1)
    # Body: a T-shirt and a denim skirt.
    f.part(f.poly([(36, 70), (60, 70), (68, 82), (66, 104), (30, 104), (28, 82)]),
           P.ORANGE, 114, P.BROWN)
    f.part(f.poly([(29, 100), (67, 100), (72, 118), (24, 118)]), P.BLUE, 137, P.NAVY)
    f.detail(f.rect((46, 101, 50, 117)), 137)
    f.detail(f.arc((40, 64, 56, 76), 20, 160), 114)
    # A star on the shirt.
    star = glyphs.bitmap_mask(glyphs.STAR_8)
    f.detail(cv.place(star, c.width, c.height, tuple(round(v) for v in f._p(44, 84))), P.LEMON)
    # Right arm waves beside the head, over the pigtail.
    if wave:
        f.part(f.poly([(60, 74), (68, 78), (86, 52), (80, 48)]), P.ORANGE, 114, P.BROWN)
        f.part(f.ellipse((79, 36, 93, 50)), skin, skin_shade, skin_line, 1)
        f.detail(f.line([(83, 38), (83, 41)]) | f.line([(87, 37), (87, 40)]), P.SKIN_SHADE)
    # Head: hair, face, fringe.
    f.part(f.ellipse((15, 8, 81, 68)), hair, hair_shade, hair_line)
    f.part(f.ellipse((21, 22, 75, 72)), skin, skin_shade, skin_line)
    fringe = f.ellipse((17, 10, 79, 62)) & f.rect((0, 0, 96, 36))
    for x in (28, 40, 52, 64):
        fringe &= ~f.poly([(x - 4, 37), (x + 4, 37), (x, 30)])
    f.part(fringe, hair, hair_shade, hair_line, 1)
    # Sunflower clip.
    f.part(f.ellipse((63, 12, 79, 28)), P.GOLD, P.AMBER, P.BROWN, 1)
    f.part(f.ellipse((68, 17, 74, 23)), P.WOOD, None, P.BROWN)
    # Face.
    for x in (33, 55):
        f.detail(f.ellipse((x, 40, x + 8, 53)), P.INDIGO)
        f.detail(f.ellipse((x + 1, 47, x + 7, 53)), P.BLUE)
        f.detail(f.rect((x + 1, 42, x + 4, 45)), P.WHITE)
        f.detail(f.rect((x + 5, 49, x + 6, 50)), P.WHITE)
    for x in (25, 63):
        f.detail(f.ellipse((x, 54, x + 8, 59)), P.PINK)
    mouth = f.poly([(42, 57), (54, 57), (52, 62), (48, 64), (44, 62)])
    f.detail(mouth, 213)
    f.detail(f.poly([(44, 61), (52, 61), (48, 64)]) & mouth, P.SALMON)
    f.render(c)


def standard_speaker(c, scale=1.0, at=(0, 0), mic=True):
    """A tidy boy in a blazer and round glasses, holding a microphone: he speaks
    standard Japanese, like an announcer."""
    f = Figure(c.width, c.height, scale, at)
    skin, skin_shade, skin_line = SKIN
    hair, hair_shade, hair_line = P.NAVY, P.INDIGO, P.INDIGO
    # Legs and shoes.
    f.part(f.rect((37, 118, 46, 136)), P.GREY, P.MID_GREY, P.DARK_GREY, 1)
    f.part(f.rect((50, 118, 59, 136)), P.GREY, P.MID_GREY, P.DARK_GREY, 1)
    f.part(f.rounded((31, 132, 47, 142), 4), P.DARK_BROWN, None, P.BROWN)
    f.part(f.rounded((49, 132, 65, 142), 4), P.DARK_BROWN, None, P.BROWN)
    # Right arm down.
    f.part(f.poly([(64, 84), (70, 86), (74, 110), (67, 112)]), P.BLUE_MID, P.NAVY, P.INDIGO)
    f.part(f.ellipse((65, 108, 75, 118)), skin, skin_shade, skin_line, 1)
    # Blazer with a white shirt and a red tie.
    f.part(f.poly([(36, 80), (60, 80), (68, 92), (66, 122), (30, 122), (28, 92)]),
           P.BLUE_MID, P.NAVY, P.INDIGO)
    f.part(f.poly([(40, 80), (56, 80), (48, 100)]), P.WHITE, None, P.INDIGO)
    f.part(f.poly([(46, 82), (50, 82), (51, 94), (48, 99), (45, 94)]), P.VERMILION, 213, P.BROWN)
    f.detail(f.line([(48, 100), (48, 121)]), P.NAVY)
    f.detail(f.rect((53, 106, 55, 108)) | f.rect((53, 113, 55, 115)), P.GOLD)
    # Left arm holds the microphone up, towards the listener on the left.
    if mic:
        f.part(f.poly([(32, 84), (26, 86), (16, 98), (22, 102)]), P.BLUE_MID, P.NAVY, P.INDIGO)
        f.part(f.poly([(14, 84), (17, 83), (21, 99), (18, 100)]), P.LIGHT_GREY, P.GREY, P.DARK_GREY, 1)
        f.part(f.ellipse((8, 72, 20, 86)), P.DARK_GREY, 225, P.BLACK, 1)
        f.part(f.ellipse((13, 94, 25, 104)), skin, skin_shade, skin_line, 1)
    # Head.
    f.part(f.ellipse((18, 22, 78, 78)), hair, hair_shade, hair_line)
    f.part(f.ellipse((21, 34, 75, 84)), skin, skin_shade, skin_line)
    fringe = f.ellipse((18, 22, 78, 74)) & f.rect((0, 0, 96, 44))
    fringe &= ~f.poly([(52, 44), (76, 44), (70, 36), (56, 38)])
    f.part(fringe, hair, hair_shade, hair_line, 1)
    f.detail(f.line([(30, 30), (44, 26)]), 139)
    # Ears.
    face = f.ellipse((21, 34, 75, 84))
    f.part((f.ellipse((16, 52, 25, 64)) | f.ellipse((71, 52, 80, 64))) & ~face, skin, skin_shade,
           skin_line, 1)
    # Eyes behind round glasses.
    for x in (31, 53):
        f.detail(f.ellipse((x + 3, 52, x + 9, 60)), P.INDIGO)
        f.detail(f.rect((x + 4, 53, x + 6, 55)), P.WHITE)
        f.detail(f.ellipse((x, 48, x + 13, 63)) & ~f.ellipse((x + 1, 49, x + 12, 62)), P.INDIGO)
        f.detail(f.line([(x + 2, 50), (x + 4, 50)]), P.BLUE_PALE)
    f.detail(f.line([(44, 55), (53, 55)]), P.INDIGO)
    f.detail(f.line([(32, 45), (41, 44)]) | f.line([(55, 44), (64, 45)]), P.NAVY)
    for x in (25, 63):
        f.detail(f.ellipse((x, 64, x + 8, 68)), P.PINK)
    f.detail(f.arc((42, 62, 54, 72), 20, 160), 213)
    f.render(c)


# --- backdrops -------------------------------------------------------------------


def _rounded_frame(c):
    w, h = c.width, c.height
    shape = cv.rounded(w, h, (0, 0, w, h), 9)
    return shape


def _finish_backdrop(c, shape):
    # Outside the rounded frame the picture is transparent; the frame is white
    # with a purple line, like the windows.
    c.paint(~shape, P.KEY)
    c.paint(cv.edge(shape, square=True), P.PURPLE)
    c.paint(cv.edge(shape & ~cv.edge(shape, square=True), square=True), P.WHITE)


def country_backdrop(c):
    """Green hills, rice fields and a warm sun: the home of the dialect speaker."""
    w, h = c.width, c.height
    shape = _rounded_frame(c)
    c.bands([133, 134, 135, P.BUTTER], 0, 18)
    c.paint(cv.ellipse(w, h, (62, 8, 86, 32)), P.WHITE)
    c.paint(cv.ellipse(w, h, (65, 11, 83, 29)), P.LEMON)
    for cloud in ((6, 14, 26, 22), (14, 10, 30, 20), (18, 16, 38, 24)):
        c.paint(cv.ellipse(w, h, cloud), P.WHITE)
    c.paint(cv.polygon(w, h, [(-10, 70), (22, 38), (46, 62), (70, 34), (108, 70)]), 172)
    c.paint(cv.polygon(w, h, [(-10, 70), (22, 38), (46, 62), (70, 34), (108, 70)]) &
            ~cv.shift(cv.polygon(w, h, [(-10, 70), (22, 38), (46, 62), (70, 34), (108, 70)]), 0, 2),
            171)
    c.paint(cv.ellipse(w, h, (-30, 58, 60, 96)), 170)
    c.paint(cv.ellipse(w, h, (40, 60, 130, 100)), 171)
    c.fill(P.LEAF, (0, 80, w, h))
    for y in range(84, h, 7):
        c.fill(P.LIME, (0, y, w, y + 3))
    for y in range(86, h, 14):
        for x in range((y // 7) % 2 * 5, w, 10):
            c.fill(170, (x, y, x + 2, y + 2))
    _finish_backdrop(c, shape)


def town_backdrop(c):
    """Tidy buildings under an evening sky: the town of the standard speaker."""
    w, h = c.width, c.height
    shape = _rounded_frame(c)
    c.bands([P.PURPLE_MIST, 159, P.PALE_PINK, 119], 0, 16)
    c.paint(cv.ellipse(w, h, (8, 8, 24, 24)), P.WHITE)
    c.paint(cv.ellipse(w, h, (12, 6, 28, 22)), P.PURPLE_MIST)
    buildings = [((-2, 50, 18, 104), 142, 141), ((16, 34, 36, 104), 141, 140),
                 ((60, 28, 82, 104), 142, 141), ((80, 46, 100, 104), 141, 140),
                 ((36, 58, 62, 104), 158, 157)]
    for (x0, y0, x1, y1), fill, shade in buildings:
        c.fill(fill, (x0, y0, x1, y1))
        c.fill(shade, (x1 - 3, y0, x1, y1))
        c.fill(P.BLUE_MID, (x0, y0, x1, y0 + 1))
        for wy in range(y0 + 5, y1 - 6, 8):
            for wx in range(x0 + 4, x1 - 5, 6):
                c.fill(P.BUTTER if (wx + wy) % 3 else P.WHITE, (wx, wy, wx + 3, wy + 4))
    c.fill(P.MID_GREY, (0, 104, w, h))
    c.fill(P.GREY, (0, 104, w, 106))
    for x in range(4, w, 16):
        c.fill(P.WHITE, (x, 112, x + 8, 114))
    c.paint(cv.ellipse(w, h, (84, 94, 104, 110)), 170)
    c.paint(cv.ellipse(w, h, (-8, 92, 14, 110)), 170)
    _finish_backdrop(c, shape)


# --- the title picture and the signboard ---------------------------------------------


def _bubble(c, box, tip, s, fill=P.WHITE):
    """A small round speech bubble with a word in it; tip is the triangle of its tail."""
    w, h = c.width, c.height
    x0, y0, x1, y1 = box
    shape = cv.rounded(w, h, box, 8) | cv.polygon(w, h, tip)
    c.paint(shape, P.PURPLE)
    c.paint(cv.erode(shape, 1), fill)
    mask, _ = text.line_mask(s, "maru", 14, 1)
    mask = cv.trim(mask)
    mh, mw = mask.shape
    c.paint(mask, P.INDIGO, (x0 + (x1 - x0 - mw) // 2, y0 + (y1 - y0 - mh) // 2))


def title_picture(c):
    """The game's name over the two characters greeting each other, each in their
    own way: 'おおきに' in dialect, 'ありがとう' in standard Japanese."""
    w, h = c.width, c.height
    card = cv.rounded(w, h, (0, 0, w, h), 16)
    c.paint(card, P.PURPLE)
    inner = cv.erode(card, 2)
    c.paint(inner, P.WHITE)
    sky = cv.erode(inner, 2)
    c.bands([P.PALE_PINK, 111, P.PURPLE_MIST, 151, P.BLUE_MIST, 135], 0, 28, sky)
    c.paint(sky & cv.rect(w, h, (0, 168, w, h)), P.MINT)
    c.paint(sky & cv.ellipse(w, h, (-40, 176, 120, 260)), 198)
    c.paint(sky & cv.ellipse(w, h, (100, 180, 280, 270)), 198)
    c.paint(sky & cv.ellipse(w, h, (-40, 176, 120, 260)) & ~cv.shift(cv.ellipse(w, h, (-40, 176, 120, 260)), 0, 2), 197)
    # Little stars in the sky.
    for x, y in ((20, 20), (196, 28), (182, 104), (30, 96), (110, 6)):
        c.paint(cv.place(glyphs.bitmap_mask(glyphs.STAR_8), w, h, (x, y)), P.WHITE)
    # The name, big and round, with a sticker edge and a lavender drop.
    name, _ = text.line_mask("Parrun", "maru", 56, 3, spacing=-3)
    name = np.pad(cv.trim(name), 3)
    nh, nw = name.shape
    x, y = (w - nw) // 2, 14
    line = cv.ring(name)
    rim = cv.ring(name | line)
    whole = name | line | rim
    c.paint(cv.shift(whole, 2, 3) & ~whole, P.LAVENDER, (x, y))
    c.paint(rim, P.WHITE, (x, y))
    c.paint(line, P.BROWN, (x, y))
    colours = [P.PINK, P.SALMON, P.SALMON, P.VERMILION, P.VERMILION]
    box = cv.ink_box(name)
    for i, colour in enumerate(colours):
        a = box[1] + (box[3] - box[1]) * i // len(colours)
        b = box[1] + (box[3] - box[1]) * (i + 1) // len(colours)
        band = np.zeros_like(name)
        band[a:b, :] = True
        c.paint(name & band, colour, (x, y))
    shine = name & ~cv.shift(name, 1, 0) & ~cv.shift(name, 0, 1)
    top = np.zeros_like(name)
    top[: box[1] + (box[3] - box[1]) // 2, :] = True
    c.paint(shine & top, P.WHITE, (x, y))
    # The ribbon with what the game is.
    ribbon = cv.rounded(w, h, (30, 74, 194, 96), 10)
    c.paint(ribbon, P.PURPLE)
    c.paint(cv.erode(ribbon, 1), P.LAVENDER)
    c.paint(cv.erode(ribbon, 1) & cv.rect(w, h, (0, 75, w, 80)), P.LILAC)
    sub, _ = text.line_mask("ほうげん タイピング", "dot", 16, 1)
    sub = cv.trim(sub)
    sh, sw = sub.shape
    c.paint(cv.ring(np.pad(sub, 1)), P.INDIGO, ((w - sw) // 2 - 1, 77))
    c.paint(sub, P.WHITE, ((w - sw) // 2, 78))
    # The two characters and what they say.
    dialect_speaker(c, scale=0.6, at=(8, 136))
    standard_speaker(c, scale=0.6, at=(160, 130), mic=False)
    _bubble(c, (64, 112, 146, 136), [(72, 134), (82, 134), (62, 146)], "おおきに！")
    _bubble(c, (74, 150, 164, 174), [(162, 156), (162, 166), (172, 162)], "ありがとう！",
            fill=P.BLUE_MIST)
    c.paint(~card, P.KEY)


def signboard(c):
    """A wooden signboard on two posts inviting the player along."""
    w, h = c.width, c.height
    for x in (26, w - 34):
        post = cv.rect(w, h, (x, 40, x + 8, h))
        c.paint(post, P.WOOD)
        c.paint(cv.edge(post, square=True), P.BROWN)
        c.paint(cv.rect(w, h, (x + 5, 41, x + 7, h - 1)), 122)
    board = cv.rounded(w, h, (2, 0, w - 2, 46), 6)
    c.paint(board, P.BROWN)
    c.paint(cv.erode(board, 1), P.TAN)
    c.paint(cv.erode(board, 3), 119)
    c.paint(cv.erode(board, 1) & cv.rect(w, h, (0, 42, w, 45)), P.WOOD)
    for i, line in enumerate(("方言をタイプして", "日本をめぐろう！")):
        mask, _ = text.line_mask(line, "dot", 16, 0)
        mask = cv.trim(mask)
        mh, mw = mask.shape
        c.paint(mask, P.BROWN, ((w - mw) // 2, 5 + i * 18 + (15 - mh)))
    for x, y in ((6, 4), (w - 9, 4), (6, 38), (w - 9, 38)):
        c.fill(P.WOOD, (x, y, x + 3, y + 3))
