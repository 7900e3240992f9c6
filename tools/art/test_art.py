#!/usr/bin/python3
"""Checks of the art: the files the game loads, the palette, and that every
rectangle the screens take holds a piece that behaves as the screens need.

Run from the repository root (check.sh does); the checked-in files are read from
data/images and resources, the rest is rebuilt in memory.
"""

import os
import re
import sys
import unittest

import numpy as np

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(os.path.dirname(HERE))
sys.path.insert(0, HERE)

import bmpfile  # noqa: E402
import canvas as cv  # noqa: E402
import glyphs  # noqa: E402
import painters  # noqa: E402
import palette as P  # noqa: E402
import pieces  # noqa: E402
import render  # noqa: E402


def read(path):
    with open(os.path.join(ROOT, path), encoding="utf-8") as f:
        return f.read()


def game_images():
    """{file: (width, height)} of the images the game loads, in the order of its ImageId, read
    from its own table."""
    table = re.findall(r'\{"images/([\w-]+\.bmp)", (\d+), (\d+)\}',
                       read("display/image_assets.cpp"))
    return {name: (int(w), int(h)) for name, w, h in table}


def screen_sources():
    """Every source rectangle the screens copy, as (file, box): the pieces written out in the
    screens' sources (`{ImageId::NAME, left, top, right, bottom}`), and the ones they work
    out: the digits and the full timer bar."""
    ids = re.search(r"enum class ImageId \{([^}]*)\}", read("display/image_id.h")).group(1)
    file_of = dict(zip(re.findall(r"(\w+),", ids), IMAGE_FILES))
    written = r"\{ImageId::(\w+), (\d+), (\d+), (\d+), (\d+)\}"
    sources = []
    for name in sorted(os.listdir(os.path.join(ROOT, "screens"))):
        for image, *box in re.findall(written, read(os.path.join("screens", name))):
            sources.append((file_of[image], tuple(int(v) for v in box)))
    return sources + [("parts1-2.bmp", (16 * d, 0, 16 * d + 16, 32)) for d in range(10)] \
        + [("hisco1-1.bmp", (8 * d, 48, 8 * d + 8, 64)) for d in range(10)] \
        + [("bar1-1.bmp", (0, 0, 208, 16))]


IMAGE_FILES = game_images()
SCREEN_SOURCES = screen_sources()

IMAGES = render.render_all()
BY_BOX = {(desc.file, pc.box): pc for desc in pieces.IMAGES for pc in desc.pieces}


def region(file, box):
    x0, y0, x1, y1 = box
    return IMAGES[file].px[y0:y1, x0:x1]


class PaletteTest(unittest.TestCase):
    def test_colours_the_screens_fill_with(self):
        cases = [(0, 0x000000), (21, 0xE86A46), (37, 0xA29FDB), (38, 0xF89271),
                 (41, 0xFFFFC4), (42, 0x808080), (43, 0x0000FF), (44, 0xE6E6E6),
                 (45, 0xFFFFFF), (48, 0xFFC4C4), (249, 0xFF0000), (255, 0xFFFFFF)]
        for index, value in cases:
            with self.subTest(index=index):
                self.assertEqual(P.COLOURS[index], value)

    def test_palette_bitmap(self):
        with open(os.path.join(ROOT, "resources", "mypallet.bmp"), "rb") as f:
            blob = f.read()
        width, height, pixels, table = bmpfile.decode(blob)
        self.assertEqual((width, height), (1, 1))
        self.assertEqual(table, [P.rgb(i) for i in range(256)])
        # The loader reads these fields of the info header.
        self.assertEqual(int.from_bytes(blob[14:18], "little"), 40)
        self.assertEqual(int.from_bytes(blob[28:30], "little"), 8)
        self.assertIn(int.from_bytes(blob[46:50], "little"), (0, 256))


class BmpFileTest(unittest.TestCase):
    def test_round_trip_at_every_row_padding(self):
        table = [P.rgb(i) for i in range(256)]
        for width, height in [(1, 1), (2, 3), (3, 2), (5, 4), (208, 16)]:
            with self.subTest(size=(width, height)):
                pixels = bytes((x * 7 + y * 13) % 256 for y in range(height) for x in range(width))
                blob = bmpfile.encode(pixels, width, height, table)
                self.assertEqual(bmpfile.decode(blob), (width, height, pixels, table))
                stride = (width + 3) // 4 * 4
                self.assertEqual(len(blob), 14 + 40 + 1024 + stride * height)

    def test_rejects_what_the_game_cannot_load(self):
        good = bmpfile.encode(bytes(4), 2, 2, [P.rgb(i) for i in range(256)])
        cases = {
            "not a bitmap": b"PK" + good[2:],
            "truncated": good[:-3],
            "24 bits": good[:28] + (24).to_bytes(2, "little") + good[30:],
            "compressed": good[:30] + (1).to_bytes(4, "little") + good[34:],
        }
        for name, blob in cases.items():
            with self.subTest(name):
                with self.assertRaises(ValueError):
                    bmpfile.decode(blob)


class CheckedInImagesTest(unittest.TestCase):
    def test_each_file_loads_with_its_size_and_the_palette(self):
        folder = os.path.join(ROOT, "data", "images")
        self.assertEqual(sorted(f for f in os.listdir(folder) if f.endswith(".bmp")),
                         sorted(IMAGE_FILES))
        table = [P.rgb(i) for i in range(256)]
        for name, size in IMAGE_FILES.items():
            with self.subTest(name), open(os.path.join(folder, name), "rb") as f:
                width, height, pixels, colours = bmpfile.decode(f.read())
                self.assertEqual((width, height), size)
                self.assertEqual(colours, table)
                used = set(pixels)
                self.assertFalse(used & P.FORBIDDEN, "colours that break the colour key")


class DescriptionTest(unittest.TestCase):
    def test_every_rectangle_the_screens_take_is_a_piece(self):
        # Far fewer would mean the screens are written in a way the reading above misses.
        self.assertEqual(len(IMAGE_FILES), 12)
        self.assertGreater(len(SCREEN_SOURCES), 70)
        for file, box in SCREEN_SOURCES:
            with self.subTest(file=file, box=box):
                self.assertIn((file, box), BY_BOX)

    def test_pieces_lie_inside_their_image_and_apart(self):
        for desc in pieces.IMAGES:
            taken = np.zeros(desc.size[::-1], dtype=int)
            for pc in desc.pieces:
                with self.subTest(file=desc.file, piece=pc.name):
                    x0, y0, x1, y1 = pc.box
                    self.assertTrue(0 <= x0 < x1 <= desc.size[0] and 0 <= y0 < y1 <= desc.size[1])
                    self.assertFalse(taken[y0:y1, x0:x1].any(), "overlaps another piece")
                    taken[y0:y1, x0:x1] = 1
                    self.assertTrue((region(desc.file, pc.box) != P.KEY).any(), "nothing drawn")

    def test_menu_item_states_cover_the_same_pixels(self):
        # The menu draws an item over its other state without erasing first.
        pairs = [((0, 0, 160, 32), (0, 96, 160, 128)), ((0, 32, 128, 64), (0, 128, 128, 160)),
                 ((0, 496, 96, 528), (96, 496, 192, 528)), ((0, 64, 80, 96), (80, 64, 160, 96))]
        for plain, chosen in pairs:
            with self.subTest(plain=plain):
                a = region("words1-1.bmp", plain) != P.KEY
                b = region("words1-1.bmp", chosen) != P.KEY
                np.testing.assert_array_equal(a, b)
                self.assertFalse((region("words1-1.bmp", plain) == region("words1-1.bmp", chosen)).all())

    def test_areas_the_game_erases_fit_the_art(self):
        # (file, rectangle in the image, what must be there)
        cases = [
            ("win1-1.bmp", (16, 16, 304, 80), "white"),  # the dialect line is erased white
            ("win1-2.bmp", (16, 16, 304, 80), "white"),  # the standard line
            ("timewin1-1.bmp", (16, 16, 224, 32), "white"),  # the timer bar
            ("timewin1-2.bmp", (16, 16, 160, 32), "white"),  # the lives
            ("bar1-1.bmp", (0, 0, 208, 16), "opaque"),
            # The result mark is erased in cream across the edges of both windows.
            ("win1-1.bmp", (32, 92, 208, 96), "clear"),
            ("win1-2.bmp", (128, 0, 304, 5), "clear"),
            # The upper window stands over the top of the lower character.
            ("yama1-1.bmp", (0, 0, 93, 18), "clear"),
            # The rule under a heading runs through the top row of the panels.
            ("hisco1-1.bmp", (0, 18, 32, 19), "clear"),
            ("hisco1-1.bmp", (64, 18, 80, 19), "clear"),
        ]
        for file, box, expect in cases:
            with self.subTest(file=file, box=box):
                px = region(file, box)
                if expect == "white":
                    self.assertTrue((px == P.WHITE).all())
                elif expect == "opaque":
                    self.assertTrue((px != P.KEY).all())
                else:
                    self.assertTrue((px == P.KEY).all())

    def test_digits_stand_on_one_line_and_apart(self):
        # (image, cell of digit d, the pitch the screens draw them at)
        cases = [("parts1-2.bmp", lambda d: (16 * d, 0, 16 * d + 16, 32), 22),
                 ("hisco1-1.bmp", lambda d: (8 * d, 48, 8 * d + 8, 64), 11)]
        for file, cell, pitch in cases:
            bottoms = set()
            for d in range(10):
                box = cv.ink_box(region(file, cell(d)) != P.KEY)
                bottoms.add(box[3])
                with self.subTest(file=file, digit=d):
                    self.assertLess(box[2] - box[0], pitch, "would touch its neighbour")
            with self.subTest(file=file):
                self.assertEqual(len(bottoms), 1)

    def test_words_beside_small_digits_share_their_line(self):
        digit_bottom = cv.ink_box(region("hisco1-1.bmp", (0, 48, 8, 64)) != P.KEY)[3]
        # (piece, rows lower than the digits the screens draw it, allowed slack)
        cases = [((0, 96, 48, 112), 0, 0), ((48, 96, 112, 112), 0, 0), ((0, 112, 48, 128), 0, 0),
                 ((32, 64, 80, 80), 0, 0), ((80, 64, 96, 80), 0, 0), ((0, 64, 32, 80), 3, 1)]
        for box, lower, slack in cases:
            with self.subTest(piece=BY_BOX[("hisco1-1.bmp", box)].name):
                bottom = cv.ink_box(region("hisco1-1.bmp", box) != P.KEY)[3] + lower
                self.assertLessEqual(abs(bottom - digit_bottom), slack)


class PainterTest(unittest.TestCase):
    def test_type_that_does_not_fit_is_an_error(self):
        cases = [(painters.words, dict(s="ゲームスタート", font="dot", size=16), (40, 16)),
                 (painters.words, dict(s="あ", font="dot", size=16, bottom=4), (32, 16)),
                 (painters.tiny, dict(s="F4: FULL SCREEN"), (50, 5)),
                 (painters.tiny, dict(s="F4: WINDOW"), (50, 4))]
        for paint, args, size in cases:
            with self.subTest(args=args, size=size):
                with self.assertRaises(ValueError):
                    paint(cv.Canvas(*size), **args)


class CanvasTest(unittest.TestCase):
    def test_paint_clips_at_every_side(self):
        mask = np.ones((3, 3), dtype=bool)
        # (where the mask's corner lands, pixels of a 4 x 4 canvas it covers)
        cases = [((0, 0), 9), ((-1, -1), 4), ((2, 2), 4), ((3, -2), 1), ((4, 0), 0),
                 ((-3, 0), 0)]
        for at, covered in cases:
            with self.subTest(at=at):
                c = cv.Canvas(4, 4)
                c.paint(mask, 1, at)
                self.assertEqual(int((c.px == 1).sum()), covered)

    def test_edges_count_the_border_of_the_array_as_outside(self):
        full = np.ones((4, 5), dtype=bool)
        self.assertEqual(int(cv.edge(full).sum()), 4 * 5 - 2 * 3)
        self.assertEqual(int(cv.ring(np.pad(full, 1)).sum()), 2 * (5 + 4) + 4)

    def test_doubling_rounds_off_diagonals(self):
        cases = [
            (["#"], ["##", "##"]),
            # A diagonal step gets its corner filled on both sides.
            (["#.", ".#"], ["##..", "###.", ".###", "..##"]),
            # Straight edges stay straight; outer corners are cut by one pixel.
            (["###"], ["######", "######"]),
            (["##", "##"], [".##.", "####", "####", ".##."]),
        ]
        for rows, expected in cases:
            with self.subTest(rows=rows):
                out = glyphs.scale2x(glyphs.bitmap_mask(rows))
                np.testing.assert_array_equal(out, glyphs.bitmap_mask(expected))


if __name__ == "__main__":
    unittest.main(verbosity=1)
