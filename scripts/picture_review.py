#!/usr/bin/python3
"""Puts freshly drawn pictures in place of checked-in ones, and makes a review picture of each
one whose pixels changed: the old picture, the new one and the difference side by side.

    picture_review.py REVIEW_FOLDER NEW DEST [NEW DEST ...]
    picture_review.py --full-screen-shot SCREEN.png SHOT.png

A DEST whose pixels are those of NEW is left as it is (a PNG may be encoded otherwise); any
other file that differs byte for byte is replaced. Each replaced DEST is printed, and its review
picture is REVIEW_FOLDER/DEST with the slashes made dashes, as a PNG.

--full-screen-shot turns the scripted host's 640 x 480 full-screen picture into what a
1920 x 1080 screen shows: the play area at three times, centred on black.
"""

import os
import shutil
import sys

from PIL import Image, ImageChops

GAP = 8
MARK = (255, 0, 255)  # the changed pixels in the difference picture


def pixels(path):
    return Image.open(path).convert("RGB")


def review_picture(old, new):
    """Old, new and the new one dimmed with its changed pixels in magenta, side by side."""
    width = max(old.width, new.width)
    height = max(old.height, new.height)
    sheet = Image.new("RGB", (3 * width + 2 * GAP, height), (64, 64, 64))
    sheet.paste(old, (0, 0))
    sheet.paste(new, (width + GAP, 0))
    if old.size == new.size:
        changed = ImageChops.difference(old, new).convert("L").point(lambda v: 255 if v else 0)
        difference = Image.blend(Image.new("RGB", new.size, (0, 0, 0)), new, 0.3)
        difference.paste(Image.new("RGB", new.size, MARK), (0, 0), changed)
        sheet.paste(difference, (2 * (width + GAP), 0))
    return sheet


def put_in_place(review, new, dest):
    """True when DEST was replaced by NEW."""
    if os.path.exists(dest):
        with open(new, "rb") as a, open(dest, "rb") as b:
            if a.read() == b.read():
                return False
        old = pixels(dest)
        after = pixels(new)
        same = old.size == after.size and ImageChops.difference(old, after).getbbox() is None
        if same and dest.endswith(".png"):
            return False
    else:
        old, same = Image.new("RGB", (1, 1)), False
        after = pixels(new)
    if not same:
        name = dest.replace(os.sep, "-")
        name = os.path.splitext(name)[0] + ".png"
        review_picture(old, after).save(os.path.join(review, name))
    os.makedirs(os.path.dirname(dest) or ".", exist_ok=True)
    shutil.copyfile(new, dest)
    print("changed %s%s" % (dest, "" if not same else " (bytes only, same pixels)"))
    return True


def full_screen_shot(screen, shot):
    frame = pixels(screen)
    play = frame.crop((80, 80, 560, 400)).resize((1440, 960), Image.NEAREST)
    picture = Image.new("RGB", (1920, 1080), (0, 0, 0))
    picture.paste(play, (240, 60))
    picture.save(shot)


def main(argv):
    if len(argv) == 4 and argv[1] == "--full-screen-shot":
        full_screen_shot(argv[2], argv[3])
        return 0
    if len(argv) < 4 or len(argv) % 2 != 0:
        print(__doc__, file=sys.stderr)
        return 2
    review = argv[1]
    os.makedirs(review, exist_ok=True)
    pairs = argv[2:]
    for new, dest in zip(pairs[::2], pairs[1::2]):
        put_in_place(review, new, dest)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
