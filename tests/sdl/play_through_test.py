#!/usr/bin/python3
"""A whole walk through `parrun` in a real X window (Xvfb with openbox), driven by xdotool
with keys held as a person holds them, against the same walk on the scripted host.

The walk: the title, F4 to full screen and back, a game of the one phrase "し si / い i" typed
once and then left to its timer, the results, the rankings, the settings with し switched to
"shi", a second game whose dialect line is typed "shi", and the close box answered No, then
Yes. The scripted host plays play_through.script, taking a shot at each moment the real walk
waits for; the real walk waits until its window shows that shot (downscaled exactly by the
window's scale) before its next key. Only the timer bar and the typing speeds may differ: they
follow the real clock. At the end the rankings file must hold the same scores and the speed in
the same place, and the preferences file the same bytes.

Usage: play_through_test.py PARRUN PARRUN_SCRIPT DATA_FOLDER SCRIPT
"""
import os
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import time

import numpy
from PIL import Image, ImageGrab

PHRASES = "[drel]し si\n[normal]い i\n".encode("cp932")
SCALE = 2
SCREEN = "1280x960x24"  # the window fits at scale 2, and full screen is 640 x 480 doubled
BOX_FACE = (0xD4, 0xD0, 0xC8)  # the message box's face

# Pieces that follow the real clock: (left, top, right, bottom) in the game's pixels.
TIMER_BAR = (32, 288, 240, 304)
RESULTS_SPEED = (176, 120, 300, 148)
RANKINGS_SPEEDS = (240, 64, 480, 320)

# The walk: wait for a shot (with the pieces that may differ), or hold keys in turn.
WALK = [
    ("shot", "title.png", []),
    ("keys", ["F4"]),
    ("shot", "title-full.png", []),
    ("keys", ["F4"]),
    ("shot", "title-back.png", []),
    ("keys", ["Return"]),
    ("shot", "ready.png", []),
    ("keys", ["Return"]),
    ("shot", "play.png", [TIMER_BAR]),
    ("keys", ["s", "i", "i"]),
    ("shot", "results.png", [RESULTS_SPEED]),
    ("keys", ["Return"]),
    ("shot", "title-again.png", []),
    ("keys", ["Down", "Return"]),
    ("shot", "rankings.png", [RANKINGS_SPEEDS]),
    ("keys", ["Return"]),
    ("shot", "title-rankings.png", []),
    ("keys", ["Down", "Return"]),
    ("shot", "settings.png", []),
    ("keys", ["Right"]),
    ("shot", "settings-shi.png", []),
    ("keys", ["Return"]),
    ("shot", "title-settings.png", []),
    ("keys", ["Up", "Up"]),
    ("shot", "title-start.png", []),
    ("keys", ["Return"]),
    ("shot", "ready-again.png", []),
    ("keys", ["Return"]),
    ("shot", "play-again.png", [TIMER_BAR]),
    ("keys", ["s", "h", "i"]),
    ("shot", "play-shi.png", [TIMER_BAR]),
    ("close", "no"),
    ("shot", "play-after-no.png", [TIMER_BAR]),
    ("close", "yes"),
]
# The longest wait: a game left to its timer takes about 25 s to its results.
DEADLINE = 45


class Failure(Exception):
    pass


def run(*args, **kwargs):
    return subprocess.run(args, check=True, capture_output=True, text=True, **kwargs).stdout


def wait_for(seconds, what, condition):
    deadline = time.monotonic() + seconds
    while True:
        result = condition()
        if result:
            return result
        if time.monotonic() > deadline:
            raise Failure("timed out waiting for " + what)
        time.sleep(0.05)


def make_game_folder(path, data):
    shutil.copytree(data, path)
    with open(os.path.join(path, "drel.txt"), "wb") as f:
        f.write(PHRASES)


class Display:
    """Xvfb on a free display number, with openbox to manage (and fill the screen with) the
    window."""

    def __init__(self, work, screen=SCREEN):
        read_end, write_end = os.pipe()
        self.xvfb = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0", screen, "-nolisten", "tcp"],
            pass_fds=[write_end], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write_end)
        with os.fdopen(read_end) as f:
            number = f.readline().strip()
        if not number:
            raise Failure("Xvfb did not start")
        self.name = ":" + number
        os.environ["DISPLAY"] = self.name
        self.wm = subprocess.Popen(["openbox", "--sm-disable"], stdout=subprocess.DEVNULL,
                                   stderr=open(os.path.join(work, "openbox.log"), "w"))

        def managed():
            out = subprocess.run(["xprop", "-root", "_NET_SUPPORTING_WM_CHECK"],
                                 capture_output=True, text=True).stdout
            return "window id" in out
        try:
            wait_for(20, "openbox to manage the screen", managed)
        except Failure:
            self.stop()
            raise

    def stop(self):
        for process in (self.wm, self.xvfb):
            if process.poll() is None:
                process.send_signal(signal.SIGTERM)
                process.wait(10)


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


def differing(picture, reference, ignored):
    """Counts the pixels that differ: outside the ignored pieces, and within them."""
    differ = numpy.any(picture != reference, axis=2)
    inside = numpy.zeros(differ.shape, dtype=bool)
    for left, top, right, bottom in ignored:
        inside[top:bottom, left:right] = True
    return int(numpy.count_nonzero(differ & ~inside)), int(numpy.count_nonzero(differ & inside))


def hold(key):
    # A person holds a key for a while, not for an instant, and lets it up as long before the
    # next: the same key twice is two presses only when a poll of the game sees it up between.
    run("xdotool", "keydown", key)
    time.sleep(0.08)
    run("xdotool", "keyup", key)
    time.sleep(0.08)


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
    return wait_for(10, "the question before closing", asked)[0]


def main():
    parrun, parrun_script, data, script = (os.path.realpath(a) for a in sys.argv[1:5])
    work = tempfile.mkdtemp()
    # The host's settings file goes here, not into the player's own folder.
    os.environ["XDG_CONFIG_HOME"] = os.path.join(work, "config")
    display = None
    game = None
    try:
        scripted = os.path.join(work, "scripted")
        real = os.path.join(work, "real")
        make_game_folder(scripted, data)
        make_game_folder(real, data)
        started = time.monotonic()
        result = subprocess.run([parrun_script, "--log", "log", script], cwd=scripted,
                                capture_output=True, text=True)
        if result.returncode != 0:
            raise Failure("the scripted walk ended with status %d:\n%s" %
                          (result.returncode, result.stderr))
        print("scripted walk: %.1f s" % (time.monotonic() - started))

        display = Display(work)
        started = time.monotonic()
        game_log = open(os.path.join(work, "game.log"), "w")
        game = subprocess.Popen([parrun, "--scale", str(SCALE)], cwd=real, stdout=game_log,
                                stderr=game_log)
        window = run("timeout", "20", "xdotool", "search", "--sync", "--onlyvisible",
                     "--name", "^Parrun$").split()[0]
        run("xdotool", "windowactivate", "--sync", window)

        report = []
        for step in WALK:
            if step[0] == "keys":
                for key in step[1]:
                    hold(key)
            elif step[0] == "close":
                # The close box, answered with its keys: N, or Enter on the default はい.
                ask_to_close(window, display.name, (480, 320))
                hold("n" if step[1] == "no" else "Return")
            else:
                name, ignored = step[1], step[2]
                reference = numpy.asarray(Image.open(os.path.join(scripted, name)).convert("RGB"))
                size = (reference.shape[1], reference.shape[0])
                seen = {}

                def shows_it():
                    if game.poll() is not None:
                        raise Failure("the game ended before " + name)
                    picture = grab(window, display.name, size)
                    if picture is None:
                        return None
                    outside, inside = differing(picture, reference, ignored)
                    seen["last"] = (outside, inside, picture)
                    return (outside, inside) if outside == 0 else None
                try:
                    outside, inside = wait_for(DEADLINE, name, shows_it)
                except Failure:
                    if "last" in seen:
                        Image.fromarray(seen["last"][2]).save(os.path.join(work, "real-" + name))
                        raise Failure("%s: %d pixels differ outside the clock's pieces (window "
                                      "kept as %s)" % (name, seen["last"][0],
                                                       os.path.join(work, "real-" + name)))
                    raise
                report.append((name, inside))
                print("%-22s %6d pixels differ (%s)" % (
                    name, inside, "timer bar or speeds" if ignored else "nothing may differ"))

        wait_for(10, "the game to end after Yes", lambda: game.poll() is not None)
        if game.returncode != 0:
            raise Failure("the game ended with status %d" % game.returncode)
        print("real walk: %.1f s" % (time.monotonic() - started))

        def read(folder, name):
            with open(os.path.join(folder, name), "rb") as f:
                return f.read()
        if read(real, "key.dat") != read(scripted, "key.dat"):
            raise Failure("key.dat differs: %s against %s" % (read(real, "key.dat").hex(),
                                                              read(scripted, "key.dat").hex()))
        ranks_real, ranks_scripted = read(real, "a.dat"), read(scripted, "a.dat")
        if ranks_real[:20] != ranks_scripted[:20]:
            raise Failure("the scores in a.dat differ: %s against %s" %
                          (ranks_real[:20].hex(), ranks_scripted[:20].hex()))
        places = [[ranks[20 + 4 * i:24 + 4 * i] != bytes(4) for i in range(5)]
                  for ranks in (ranks_real, ranks_scripted)]
        if places[0] != places[1]:
            raise Failure("the speeds in a.dat take other places: %s against %s" %
                          (ranks_real[20:].hex(), ranks_scripted[20:].hex()))
        print("a.dat: the same scores, the speed in the same place; key.dat the same")
        print("%d shots compared, %d pixels differ in all (timer bar and speeds only)" %
              (len(report), sum(inside for _, inside in report)))
        print("1 passed, 0 failed")
        return 0
    except (Failure, subprocess.CalledProcessError) as problem:
        print("FAIL:", problem)
        if isinstance(problem, subprocess.CalledProcessError):
            print(problem.stderr)
        log = os.path.join(work, "game.log")
        if os.path.exists(log):
            print("--- the game's output")
            print(open(log).read())
        print("--- kept for a look:", work)
        work = None
        return 1
    finally:
        if game is not None and game.poll() is None:
            game.send_signal(signal.SIGTERM)
            game.wait(10)
        if display is not None:
            display.stop()
        if work is not None:
            shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
