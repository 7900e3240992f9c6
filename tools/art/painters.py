"""Painters: each draws one kind of piece into a canvas of the piece's size.

The description in pieces.py names a painter and its arguments for every
rectangle; the look (colours, outlines, type) is decided here, once, so that all
pieces share it.
"""

import numpy as np

import canvas as cv
import glyphs
import palette as P
import text

INK = P.INDIGO  # the colour of ordinary type
FRAME = P.PURPLE  # border line of panels, windows and frames
FRAME_IN = P.LILAC  # the soft line inside it


def _rows_gradient(c, mask, colours, at=(0, 0)):
    """Paint a mask with colours from top to bottom, in equal bands."""
    box = cv.ink_box(mask)
    if box is None:
        return
    _, y0, _, y1 = box
    height = y1 - y0
    for i, colour in enumerate(colours):
        a = y0 + height * i // len(colours)
        b = y0 + height * (i + 1) // len(colours)
        band = np.zeros_like(mask)
        band[a:b, :] = True
        c.paint(mask & band, colour, at)


def _layout(c, mask, align, top, dx, dy, margin, bottom=None):
    h, w = mask.shape
    if align == "left":
        x = margin
    elif align == "right":
        x = c.width - w - margin
    else:
        x = (c.width - w) // 2
    if bottom is not None:
        y = bottom - h
    else:
        y = (c.height - h) // 2 if top is None else top
    return x + dx, y + dy


def words(c, s, font="dot", size=16, bold=1, ink=INK, outline=None, rim=None,
          gradient=None, align="center", top=None, bottom=None, dx=0, dy=0,
          margin=0, spacing=0):
    """One line of type laid into the canvas.

    outline: a one-pixel line around the letters; rim: a second one around that
    (a sticker-like edge); gradient: fill colours from top to bottom instead of ink.
    The letters are centred vertically, or their ink starts at row `top`, or ends
    above row `bottom`.
    """
    mask, _ = text.line_mask(s, font, size, bold, spacing)
    mask = cv.trim(mask)
    pad = (1 if outline is not None else 0) + (1 if rim is not None else 0)
    mask = np.pad(mask, pad)
    if mask.shape[1] > c.width or mask.shape[0] > c.height:
        raise ValueError(f"{s!r} does not fit in {c.width} x {c.height}")
    x, y = _layout(c, mask, align, top, dx, dy, margin, bottom)
    if x < 0 or y < 0:
        raise ValueError(f"{s!r} does not fit in {c.width} x {c.height} where it is placed")
    body = mask
    if outline is not None:
        line = cv.ring(body)
        body = body | line
    if rim is not None:
        rim_mask = cv.ring(body)
        body = body | rim_mask
    if rim is not None:
        c.paint(rim_mask, rim, (x, y))
    if outline is not None:
        c.paint(line, outline, (x, y))
    if gradient:
        _rows_gradient(c, mask, gradient, (x, y))
    else:
        c.paint(mask, ink, (x, y))


def lines(c, rows, font="misaki", size=8, bold=0, ink=INK, align="center", gap=0,
          margin=0):
    """Several short lines of type, stacked from the top."""
    y = 0
    for s in rows:
        mask, _ = text.line_mask(s, font, size, bold)
        mask = cv.trim(mask)
        x, _ = _layout(c, mask, align, 0, 0, 0, margin)
        c.paint(mask, ink, (x, y))
        y += size + gap


def tiny(c, s, ink=INK):
    """The five-pixel hand-made letters, centred."""
    mask = text.tiny_mask(s)
    if mask.shape[1] > c.width or mask.shape[0] > c.height:
        raise ValueError(f"{s!r} does not fit in {c.width} x {c.height}")
    x, y = _layout(c, mask, "center", None, 0, 0, 0)
    c.paint(mask, ink, (x, y))


def small_digit(c, ch, ink=INK):
    mask = glyphs.bitmap_mask(glyphs.POINT) if ch == "." else glyphs.digit(ch)
    h, w = mask.shape
    # Digits stand on row 14 of the 16; the point sits on the same line.
    c.paint(mask, ink, ((c.width - w) // 2 if ch != "." else 3, 14 - h))


def large_digit(c, ch):
    mask = np.pad(glyphs.scale2x(glyphs.digit(ch)), 1)
    h, w = mask.shape
    x, y = (c.width - w) // 2, 30 - h
    line = cv.ring(mask, square=False)
    c.paint(line, P.BROWN, (x, y))
    c.paint(cv.shift(line, 1, 1) & ~mask & ~line, P.PEACH, (x, y))
    _rows_gradient(c, mask, [P.LEMON, P.YELLOW, P.GOLD, P.GOLD, P.AMBER, P.AMBER], (x, y))
    # A glint on the upper left of every stroke.
    glint = mask & ~cv.shift(mask, 1, 0) & ~cv.shift(mask, 0, 1)
    top = np.zeros_like(mask)
    top[: h // 2, :] = True
    c.paint(glint & top, P.WHITE, (x, y))


def icon(c, rows, ink, line=None, at=None):
    mask = glyphs.bitmap_mask(rows)
    h, w = mask.shape
    if line is not None:
        mask = np.pad(mask, 1)
        h, w = mask.shape
    x, y = at if at else ((c.width - w) // 2, (c.height - h) // 2)
    if line is not None:
        c.paint(cv.ring(mask, square=False), line, (x, y))
    c.paint(mask, ink, (x, y))


def pixel_art(c, rows, colours, at=None):
    """A small picture given as rows of characters, each mapped to a colour in
    `colours`; characters not in it are transparent."""
    h, w = len(rows), len(rows[0])
    x, y = at if at else ((c.width - w) // 2, (c.height - h) // 2)
    for ch, colour in colours.items():
        mask = np.array([[k == ch for k in row] for row in rows], dtype=bool)
        c.paint(mask, colour, (x, y))


def heart(c, fill, shade, light):
    """A 16 x 16 life icon: a plump heart with a soft outline and a shine."""
    w, h = c.width, c.height
    m = cv.ellipse(w, h, (1, 2, 9, 10)) | cv.ellipse(w, h, (7, 2, 15, 10)) | \
        cv.polygon(w, h, [(1, 7), (14, 7), (8, 14), (7, 14)])
    c.paint(cv.edge(m), P.BROWN)
    inner = m & ~cv.edge(m)
    c.paint(inner, fill)
    c.paint(inner & ~cv.shift(inner, -2, -2), shade)
    c.paint(cv.rect(w, h, (3, 4, 5, 6)) | cv.rect(w, h, (4, 3, 6, 4)), light)


def caption(c, s, icon_rows=None, icon_ink=None, ink=INK):
    """An eight-pixel caption in the small pixel font, with an optional sign before it."""
    mask, _ = text.line_mask(s, "misaki", 8, 0)
    mask = cv.trim(mask)
    total = mask.shape[1] + (9 if icon_rows else 0)
    x = (c.width - total) // 2
    if icon_rows:
        icon(c, icon_rows, icon_ink, at=(x, 0))
        x += 9
    c.paint(mask, ink, (x, 0))


def enter_prompt(c):
    """'Enterをおしてね' with a pointer before it, in the 8-pixel font."""
    mask, _ = text.line_mask("Enterをおしてね", "misaki", 8, 0)
    mask = cv.trim(mask)
    pointer = glyphs.bitmap_mask(["#...", "##..", "###.", "####", "###.", "##..", "#..."])
    x = (c.width - mask.shape[1] - 6) // 2
    c.paint(pointer, P.SALMON, (x, 0))
    c.paint(mask, P.VERMILION, (x + 6, 0))


# --- bars, frames and windows ---------------------------------------------------


def timer_bar(c):
    """The timer bar: green on the right to red on the left, so that as it shrinks
    from the right what is left of it warms up."""
    w, h = c.width, c.height
    colours = [P.VERMILION, P.SALMON, P.ORANGE, P.GOLD, P.YELLOW, P.LIME, 163, 162]
    for x in range(w):
        i = min(x * len(colours) // w, len(colours) - 1)
        c.fill(colours[i], (x, 0, x + 1, h))
        # A checkered seam of two columns softens each step of colour.
        seam = x - i * w // len(colours)
        if i and seam < 2:
            for y in range(seam % 2, h, 2):
                c.fill(colours[i - 1], (x, y, x + 1, y + 1))
    c.fill(P.WHITE, (0, 2, w, 3))  # the shine along the top
    c.fill(P.BUTTER, (0, 3, w, 5))
    c.fill(P.SALMON, (0, h - 3, w, h - 1))
    c.fill(P.BROWN, (0, h - 1, w, h))
    c.fill(P.BROWN, (0, 0, w, 1))
    c.fill(P.BROWN, (0, 0, 1, h))
    # Stripes every eight pixels give the bar a sense of counting down.
    for x in range(6, w, 8):
        c.fill(P.WHITE, (x, 5, x + 1, h - 4))


def _panel(c, box, fill=FRAME_IN, border=FRAME, radius=7):
    w, h = c.width, c.height
    outer = cv.rounded(w, h, box, radius)
    c.paint(outer, border)
    inner = cv.rounded(w, h, (box[0] + 2, box[1] + 2, box[2] - 2, box[3] - 2), radius - 2)
    c.paint(inner, fill)
    return inner


def gauge_frame(c, slot, symbol, colours):
    """The frame around the timer bar or the lives: a soft panel with a white slot
    (the slot is erased white by the game) and a sign in the left margin."""
    w, h = c.width, c.height
    inner = _panel(c, (0, 6, w, h), fill=P.LILAC)
    c.paint(inner & cv.rect(w, h, (0, 6, w, 10)), P.PURPLE_MIST)
    x0, y0, x1, y1 = slot
    c.fill(P.PURPLE, (x0 - 1, y0 - 1, x1 + 1, y1 + 1))
    c.fill(P.WHITE, slot)
    pixel_art(c, symbol, colours, at=(3, (y0 + y1 - len(symbol)) // 2))


def speech_window(c, tail, tag):
    """A speech bubble: white inside (the phrase area is erased white by the game),
    with a tail towards the speaker and a name tag on its top edge."""
    w, h = c.width, c.height
    body = (6, 6, w - 6, 90)
    outer = cv.rounded(w, h, body, 12)
    if tail == "left":
        tip = cv.polygon(w, h, [(0, 44), (9, 36), (9, 54)])
    else:
        tip = cv.polygon(w, h, [(w - 1, 44), (w - 10, 36), (w - 10, 54)])
    shape = outer | tip
    c.paint(shape, FRAME)
    inner = cv.erode(shape, 2)
    c.paint(inner, FRAME_IN)
    c.paint(cv.erode(inner, 2), P.WHITE)
    # The tag: a pill carrying who speaks.
    label, _ = text.line_mask(tag, "misaki", 8, 0)
    label = cv.trim(label)
    lw = label.shape[1] + 12
    x0 = 18 if tail == "left" else 18
    pill = cv.rounded(w, h, (x0, 0, x0 + lw, 13), 6)
    c.paint(pill, FRAME)
    c.paint(cv.erode(pill, 1), P.PINK if tail == "left" else P.BLUE_MIST)
    c.paint(label, INK, (x0 + 6, 3))


def button(c, s, selected):
    """A menu item: a pill with its word.  Both states cover exactly the same
    pixels, because the menu redraws an item over itself without erasing."""
    w, h = c.width, c.height
    pill = cv.rounded(w, h, (0, 0, w, h), 15)
    c.paint(pill, P.PURPLE if selected else P.LAVENDER)
    inner = cv.erode(pill, 2)
    if selected:
        c.paint(inner, P.SALMON)
        c.paint(inner & cv.rect(w, h, (0, 0, w, 13)), P.PINK)
        words(c, s, font="maru", size=20, bold=1, ink=P.WHITE, outline=P.BROWN, dy=0)
    else:
        c.paint(inner, P.WHITE)
        c.paint(inner & cv.rect(w, h, (0, 0, w, 13)), P.PURPLE_MIST)
        words(c, s, font="maru", size=20, bold=1, ink=INK, dy=0)


def tile(c, kind, parts):
    """A 16 x 16 frame tile.

    parts names the sides of the tile that carry the frame, e.g. 'top', 'left',
    'top-left' (a corner).  kind 'outer' is the wide band around a whole screen;
    kind 'panel' is the thin line around a white panel.
    """
    if kind == "outer":
        _outer_tile(c, parts)
    else:
        _panel_tile(c, parts)


# The band around a whole screen: lavender at the top and right, salmon at the
# bottom and left, pink where two different bands meet (as on the title screen).
_OUTER_COLOUR = {"top": P.LAVENDER, "right": P.LAVENDER, "bottom": P.SALMON, "left": P.SALMON}
_OUTER_DOT = {P.LAVENDER: P.LILAC, P.SALMON: P.PINK, P.PINK: P.PALE_PINK}
_OUTER_LINE = {P.LAVENDER: P.PURPLE, P.SALMON: P.VERMILION, P.PINK: P.VERMILION}
BAND = 12  # depth of the band; the rest of the tile is transparent


def _outer_tile(c, parts):
    sides = parts.split("-")
    if len(sides) == 2:
        vertical, horizontal = sides[1], sides[0]
        a, b = _OUTER_COLOUR[vertical], _OUTER_COLOUR[horizontal]
        colour = P.PINK if a != b else a
    else:
        colour = _OUTER_COLOUR[sides[0]]
    m = _side_mask(sides, BAND)
    c.paint(m, colour)
    # Dots every eight pixels along the middle of the band.
    dots = []
    if len(sides) == 2:
        vx = 5 if vertical == "left" else 9
        hy = 5 if horizontal == "top" else 9
        dots = [(vx, hy), (11 if vertical == "left" else 3, hy), (vx, 11 if horizontal == "top" else 3)]
    elif sides[0] in ("top", "bottom"):
        dots = [(x, 5 if sides[0] == "top" else 9) for x in (3, 11)]
    else:
        dots = [(5 if sides[0] == "left" else 9, y) for y in (3, 11)]
    for x, y in dots:
        c.fill(_OUTER_DOT[colour], (x, y, x + 2, y + 2))
    # The band's inner line: where it meets the inside of the screen.  Beyond the
    # tile the band goes on, so the tile's own border is no edge.
    padded = np.pad(m, 1, mode="edge")
    inner = (padded & ~cv.erode(padded, 1, square=True))[1:-1, 1:-1]
    c.paint(inner, _OUTER_LINE[colour])


def _side_mask(sides, depth):
    m = cv.blank(16, 16)
    for side in sides:
        if side == "top":
            m[:depth, :] = True
        elif side == "bottom":
            m[16 - depth:, :] = True
        elif side == "left":
            m[:, :depth] = True
        elif side == "right":
            m[:, 16 - depth:] = True
    return m


# The panel line: transparent outside, a two-pixel purple line, a lilac line,
# then white up to the inner side of the tile, which meets the white fill.
PANEL_OFF = 6  # transparent depth on the outer side (the rule under headings runs there)


def _panel_tile(c, parts):
    sides = parts.split("-")
    w = h = 16
    # A big rounded rectangle whose corner falls in this tile.
    ox0 = PANEL_OFF if "left" in sides else -40
    oy0 = PANEL_OFF if "top" in sides else -40
    ox1 = 16 - PANEL_OFF if "right" in sides else 56
    oy1 = 16 - PANEL_OFF if "bottom" in sides else 56
    outer = cv.rounded(w, h, (ox0, oy0, ox1, oy1), 6)
    c.paint(outer, FRAME)
    mid = cv.rounded(w, h, (ox0 + 2, oy0 + 2, ox1 - 2, oy1 - 2), 4)
    c.paint(mid, FRAME_IN)
    inner = cv.rounded(w, h, (ox0 + 4, oy0 + 4, ox1 - 4, oy1 - 4), 2)
    c.paint(inner, P.WHITE)


def band_tile(c, rule=False):
    """The heading band of a table (pink), and below it the rule tile: the last
    rows of the band and a line that closes it."""
    if rule:
        c.fill(P.PINK, (0, 0, 16, 4))
        c.fill(P.SALMON, (0, 4, 16, 5))
        c.fill(P.WHITE, (0, 5, 16, 16))
        for x in range(1, 16, 4):
            c.fill(P.PINK, (x, 7, x + 2, 8))
    else:
        c.fill(P.PINK, (0, 0, 16, 16))
        c.fill(P.PALE_PINK, (0, 0, 16, 1))
