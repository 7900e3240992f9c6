"""What the tests of `parrun` in a real window share beyond the X session: the game folder, the
window's picture in the game's pixels, and the message box drawn in it."""
import os
import re
import shutil
import subprocess
import sys

import numpy
from PIL import ImageGrab

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from x_session import run, wait_for  # noqa: E402

PHRASES = "[drel]し si\n[normal]い i\n".encode("cp932")
BOX_FACE = (0xD4, 0xD0, 0xC8)  # the message box's face


def make_game_folder(path, data):
    shutil.copytree(data, path)
    with open(os.path.join(path, "drel.txt"), "wb") as f:
        f.write(PHRASES)


def window_geometry(window):
    out = run("xwininfo", "-id", window)
    value = {key: int(re.search(key + r":\s+(-?\d+)", out).group(1))
             for key in ("Absolute upper-left X", "Absolute upper-left Y", "Width", "Height")}
    return (value["Absolute upper-left X"], value["Absolute upper-left Y"], value["Width"],
            value["Height"])


def grab(window, display, size):
    """The window's picture in the game's pixels, or None while it isn't whole pixels of
    `size` (a window between two sizes, a frame between two pictures)."""
    try:
        x, y, width, height = window_geometry(window)
    except subprocess.CalledProcessError:
        return None
    if width % size[0] or height % size[1] or width // size[0] != height // size[1]:
        return None
    scale = width // size[0]
    picture = ImageGrab.grab(bbox=(x, y, x + width, y + height), xdisplay=display)
    pixels = numpy.asarray(picture.convert("RGB"))
    small = pixels[::scale, ::scale]
    if not numpy.array_equal(numpy.repeat(numpy.repeat(small, scale, 0), scale, 1), pixels):
        return None
    return small


def shows_box(picture):
    # The box's light face fills thousands of the game's pixels; no screen of the game has
    # that colour.
    return numpy.count_nonzero(numpy.all(picture == BOX_FACE, axis=2)) > 2000


def ask_to_close(window, display, size):
    """Asks the game to close as openbox does (WM_DELETE_WINDOW) and waits for the question
    drawn in its window; gives the window's picture with the question."""
    run("xdotool", "windowactivate", "--sync", window)
    run("xdotool", "key", "alt+F4")

    def asked():
        picture = grab(window, display, size)
        return (picture,) if picture is not None and shows_box(picture) else None
    return wait_for(30, "the question before closing", asked)[0]
