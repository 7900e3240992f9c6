"""A picture in palette indices, and the masks the painters draw it with.

Everything is drawn without anti-aliasing: a shape is a boolean mask, painted in
one palette colour, so the result uses palette colours only and stays crisp at 1:1.
"""

import numpy as np
from PIL import Image, ImageDraw

import palette


class Canvas:
    """A width x height array of palette indices, transparent at first."""

    def __init__(self, width, height, fill=palette.KEY):
        self.width = width
        self.height = height
        self.px = np.full((height, width), fill, dtype=np.uint8)

    def fill(self, colour, box=None):
        x0, y0, x1, y1 = box if box else (0, 0, self.width, self.height)
        self.px[max(y0, 0):max(y1, 0), max(x0, 0):max(x1, 0)] = colour

    def paint(self, mask, colour, at=(0, 0)):
        """Set colour wherever mask is true; the mask's top-left corner lands at `at`."""
        x, y = at
        mh, mw = mask.shape
        sx0, sy0 = max(0, -x), max(0, -y)
        dx0, dy0 = max(0, x), max(0, y)
        w = min(mw - sx0, self.width - dx0)
        h = min(mh - sy0, self.height - dy0)
        if w <= 0 or h <= 0:
            return
        region = self.px[dy0:dy0 + h, dx0:dx0 + w]
        region[mask[sy0:sy0 + h, sx0:sx0 + w]] = colour

    def paste(self, other, at=(0, 0), keyed=True):
        """Copy another canvas here; with keyed, its transparent pixels are skipped."""
        mask = other.px != palette.KEY if keyed else np.ones_like(other.px, dtype=bool)
        x, y = at
        for colour in np.unique(other.px[mask]):
            self.paint(mask & (other.px == colour), int(colour), at)

    def bands(self, colours, top=0, height=None, mask=None, dither=2):
        """Horizontal bands of colours from `top` down, each `height` rows, with a
        checkered seam of `dither` rows between neighbours so the steps look soft."""
        height = height or max(1, (self.height - top) // len(colours))
        area = np.ones_like(self.px, dtype=bool) if mask is None else mask
        yy, xx = np.mgrid[0:self.height, 0:self.width]
        for i, colour in enumerate(colours):
            y0 = top + i * height
            y1 = self.height if i == len(colours) - 1 else y0 + height
            self.paint(area & (yy >= y0) & (yy < y1), colour)
            if i and dither:
                seam = area & (yy >= y0) & (yy < y0 + dither) & ((xx + yy) % 2 == 0)
                self.paint(seam, colours[i - 1])

    def crop(self, box):
        x0, y0, x1, y1 = box
        out = Canvas(x1 - x0, y1 - y0)
        out.px[:, :] = self.px[y0:y1, x0:x1]
        return out

    def to_image(self):
        image = Image.fromarray(self.px, mode="P")
        image.putpalette(palette.flat_rgb())
        return image


# --- masks -------------------------------------------------------------------


def _pil_mask(width, height, draw):
    image = Image.new("1", (width, height), 0)
    draw(ImageDraw.Draw(image))
    return np.array(image, dtype=bool)


def blank(width, height):
    return np.zeros((height, width), dtype=bool)


def rect(width, height, box):
    m = blank(width, height)
    x0, y0, x1, y1 = box
    m[max(y0, 0):max(y1, 0), max(x0, 0):max(x1, 0)] = True
    return m


def ellipse(width, height, box):
    """Filled ellipse inside box (x0, y0, x1, y1), right and bottom exclusive."""
    x0, y0, x1, y1 = box
    return _pil_mask(width, height, lambda d: d.ellipse((x0, y0, x1 - 1, y1 - 1), fill=1))


def rounded(width, height, box, radius):
    x0, y0, x1, y1 = box
    return _pil_mask(width, height,
                     lambda d: d.rounded_rectangle((x0, y0, x1 - 1, y1 - 1), radius=radius, fill=1))


def polygon(width, height, points):
    return _pil_mask(width, height, lambda d: d.polygon(points, fill=1, outline=1))


def line(width, height, points, thickness=1):
    return _pil_mask(width, height, lambda d: d.line(points, fill=1, width=thickness))


def arc(width, height, box, start, end):
    x0, y0, x1, y1 = box
    return _pil_mask(width, height, lambda d: d.arc((x0, y0, x1 - 1, y1 - 1), start, end, fill=1))


def shift(mask, dx, dy):
    out = np.zeros_like(mask)
    h, w = mask.shape
    out[max(dy, 0):h + min(dy, 0), max(dx, 0):w + min(dx, 0)] = \
        mask[max(-dy, 0):h + min(-dy, 0), max(-dx, 0):w + min(-dx, 0)]
    return out


def dilate(mask, radius=1, square=True):
    out = mask.copy()
    for dy in range(-radius, radius + 1):
        for dx in range(-radius, radius + 1):
            if not square and abs(dx) + abs(dy) > radius:
                continue
            out |= shift(mask, dx, dy)
    return out


def erode(mask, radius=1, square=False):
    """Shrink a mask; whatever lies beyond the array counts as outside it."""
    padded = np.pad(mask, radius)
    return (~dilate(~padded, radius, square))[radius:-radius, radius:-radius]


def edge(mask, square=False):
    """The pixels of a mask that touch its outside: a one-pixel inner outline."""
    return mask & ~erode(mask, 1, square)


def ring(mask, square=True):
    """The pixels just outside a mask: a one-pixel outer outline."""
    return dilate(mask, 1, square) & ~mask


def place(mask, width, height, at):
    """A small mask put at `at` on a width x height blank."""
    out = blank(width, height)
    c = Canvas(width, height, 0)
    c.paint(mask, 1, at)
    out[:, :] = c.px == 1
    return out


def ink_box(mask):
    """(x0, y0, x1, y1) of the true pixels, or None."""
    ys, xs = np.nonzero(mask)
    if len(xs) == 0:
        return None
    return int(xs.min()), int(ys.min()), int(xs.max()) + 1, int(ys.max()) + 1


def trim(mask):
    box = ink_box(mask)
    if box is None:
        return mask[:0, :0]
    x0, y0, x1, y1 = box
    return mask[y0:y1, x0:x1]
