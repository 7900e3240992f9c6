#!/usr/bin/python3
"""Message boxes drawn inside the game's window, in `parrun` under Xvfb with openbox.

The close box at scale 3: it shows inside the window (openbox gets no second window), pixel for
pixel as the reference picture, N, a click on いいえ, or → and Enter keep the game (and the
keys pick nothing on the title), and Enter on the default はい ends it with status 0. Then an
image missing when F4 switches to full screen: its message shows in full screen (the play area
at 3 times on 1920 x 1080) as its reference picture, and OK ends the game with status 0.

Usage: message_box_test.py PARRUN DATA_FOLDER REFERENCE_FOLDER
With KEEP=FOLDER in the environment the shots are kept there.
"""
import os
import subprocess
import sys

import numpy
from PIL import Image, ImageGrab

from sdl_game import ask_to_close, grab, make_game_folder, shows_box
from x_session import Display, Failure, find_window, hold, run, run_test, wait_for

# The window at scale 3; full screen shows the play area at 3 times too, at (240, 60).
SCREEN = "1920x1080x24"
SCALE = 3
WINDOW = (480, 320)
PLAY_AREA_ON_SCREEN = (240, 60, 1680, 1020)
NO_BUTTON = (280, 186)  # the middle of the close box's いいえ, in the game's pixels


def client_list():
    return run("xprop", "-root", "_NET_CLIENT_LIST")


def start(parrun, folder, log):
    game = subprocess.Popen([parrun, "--scale", str(SCALE)], cwd=folder, stdout=log,
                            stderr=log)
    return game, find_window(game)


def steady_picture(window, display, size):
    """The window's picture once two grabs a moment apart agree."""
    last = {}

    def steady():
        picture = grab(window, display, size)
        if picture is None:
            return None
        same = "picture" in last and numpy.array_equal(last["picture"], picture)
        last["picture"] = picture
        return (picture,) if same else None
    return wait_for(60, "a steady picture", steady)[0]


def full_screen_play_area(display):
    """The play area shown in full screen, in the game's pixels, or None while the screen
    shows anything else around it than black, or not whole pixels."""
    screen = numpy.asarray(ImageGrab.grab(xdisplay=display).convert("RGB"))
    left, top, right, bottom = PLAY_AREA_ON_SCREEN
    if screen.shape[:2] != (1080, 1920):
        return None
    around = screen.copy()
    around[top:bottom, left:right] = 0
    if around.any():
        return None
    area = screen[top:bottom, left:right]
    small = area[::SCALE, ::SCALE]
    if not numpy.array_equal(numpy.repeat(numpy.repeat(small, SCALE, 0), SCALE, 1), area):
        return None
    return small


def check_against(picture, references, name, work):
    Image.fromarray(picture).save(os.path.join(work, name))
    keep = os.environ.get("KEEP")
    if keep:
        Image.fromarray(picture).save(os.path.join(keep, name))
    path = os.path.join(references, name)
    if not os.path.exists(path):
        raise Failure("no reference picture %s (shot kept in %s)" % (path, work))
    reference = numpy.asarray(Image.open(path).convert("RGB"))
    if reference.shape != picture.shape:
        raise Failure("%s: %s, the reference %s" % (name, picture.shape, reference.shape))
    differ = int(numpy.count_nonzero(numpy.any(picture != reference, axis=2)))
    if differ:
        raise Failure("%s: %d pixels differ from the reference (shot kept in %s; "
                      "scripts/refresh-pictures.sh)" % (name, differ, work))
    print("%s: as the reference" % name)


def ended(game, what):
    wait_for(30, what, lambda: game.poll() is not None)
    if game.returncode != 0:
        raise Failure("%s: status %d" % (what, game.returncode))


def test(work, stop_at_end):
    parrun, data, references = (os.path.realpath(a) for a in sys.argv[1:4])
    display = stop_at_end(Display(work, SCREEN))
    log = open(os.path.join(work, "game.log"), "w")

    # The close box in the window.
    folder = os.path.join(work, "window")
    make_game_folder(folder, data)
    game, window = start(parrun, folder, log)
    stop_at_end(game)
    title = steady_picture(window, display.name, WINDOW)
    windows = client_list()
    # N, a click on いいえ, then いいえ chosen with → and Enter: the box's keys pick nothing
    # on the title, so the next question shows over the same title.
    for keys in (["n"], ["click"], ["Right", "Return"], ["Return"]):
        asked = ask_to_close(window, display.name, WINDOW)
        if client_list() != windows:
            raise Failure("another top-level window appeared: " + client_list())
        check_against(asked, references, "close-box.png", work)
        for key in keys:
            if key == "click":
                # The middle of いいえ, in the window's pixels.
                x, y = NO_BUTTON
                run("xdotool", "mousemove", "--window", window, str(x * SCALE),
                    str(y * SCALE), "click", "1")
            else:
                hold(key)
        if keys == ["Return"]:
            break
        wait_for(30, "the title after " + " ".join(keys),
                 lambda: numpy.array_equal(grab(window, display.name, WINDOW), title))
        if game.poll() is not None:
            raise Failure("the game ended after " + " ".join(keys))
        print("%s kept the game, and the title as it was" % " ".join(keys))
    ended(game, "the game's end after はい")
    print("Enter on はい ended the game with status 0")

    # An image gone when F4 reloads them for full screen.
    folder = os.path.join(work, "full-screen")
    make_game_folder(folder, data)
    game, window = start(parrun, folder, log)
    stop_at_end(game)
    steady_picture(window, display.name, WINDOW)
    os.remove(os.path.join(folder, "images", "title1-1.bmp"))
    hold("F4")

    def message():
        picture = full_screen_play_area(display.name)
        return (picture,) if picture is not None and shows_box(picture) else None
    check_against(wait_for(30, "the image's message in full screen", message)[0], references,
                  "image-box-full-screen.png", work)
    hold("Return")
    ended(game, "the game's end after OK")
    print("OK ended the game with status 0")


def main():
    return run_test(test)

if __name__ == "__main__":
    sys.exit(main())
