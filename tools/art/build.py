#!/usr/bin/python3
"""Draws the game's images from the description in pieces.py.

    tools/art/build.py [OUTPUT_ROOT]

writes, under OUTPUT_ROOT (the repository root when not given):
    data/images/*.bmp             the twelve images, 8-bit with the game's palette
    resources/mypallet.bmp        the palette bitmap the program carries
    docs/art/contact_sheet.png    every piece by name, enlarged, for review
The screens themselves, drawn by the game with these images, are refreshed by
scripts/refresh-pictures.sh.
The output depends only on this folder and the installed fonts, so running it
again gives the same bytes.
"""

import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)

import bmpfile  # noqa: E402
import palette  # noqa: E402
import pieces  # noqa: E402
import render  # noqa: E402
import sheet  # noqa: E402

PALETTE_RGB = [palette.rgb(i) for i in range(256)]


def write(path, data):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(data)


def save_png(image, path):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    image.save(path, format="PNG", optimize=False, compress_level=9)


def main(argv):
    root = argv[1] if len(argv) > 1 else os.path.dirname(os.path.dirname(HERE))
    images = render.render_all()
    for desc in pieces.IMAGES:
        c = images[desc.file]
        blob = bmpfile.encode(c.px.tobytes(), c.width, c.height, PALETTE_RGB)
        write(os.path.join(root, "data", "images", desc.file), blob)
    write(os.path.join(root, "resources", "mypallet.bmp"),
          bmpfile.encode(bytes([0]), 1, 1, PALETTE_RGB))
    contact = sheet.build_sheet(images, pieces.IMAGES, lambda c, box: c.crop(box))
    save_png(contact, os.path.join(root, "docs", "art", "contact_sheet.png"))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
