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
import subprocess
import sys
import time

import numpy
from PIL import Image

from sdl_game import ask_to_close, grab, make_game_folder
from x_session import Display, Failure, find_window, hold, run_test, wait_for

SCALE = 2
SCREEN = "1280x960x24"  # the window fits at scale 2, and full screen is 640 x 480 doubled

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
# The longest wait: a game left to its timer takes about 25 s to its results; a loaded machine
# may take longer.
DEADLINE = 90


def differing(picture, reference, ignored):
    """Counts the pixels that differ: outside the ignored pieces, and within them."""
    differ = numpy.any(picture != reference, axis=2)
    inside = numpy.zeros(differ.shape, dtype=bool)
    for left, top, right, bottom in ignored:
        inside[top:bottom, left:right] = True
    return int(numpy.count_nonzero(differ & ~inside)), int(numpy.count_nonzero(differ & inside))


def test(work, stop_at_end):
    parrun, parrun_script, data, script = (os.path.realpath(a) for a in sys.argv[1:5])
    # The host's settings file goes here, not into the player's own folder.
    os.environ["XDG_CONFIG_HOME"] = os.path.join(work, "config")
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

    display = stop_at_end(Display(work, SCREEN))
    started = time.monotonic()
    game_log = open(os.path.join(work, "game.log"), "w")
    game = stop_at_end(subprocess.Popen([parrun, "--scale", str(SCALE)], cwd=real,
                                        stdout=game_log, stderr=game_log))
    window = find_window(game)

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

    wait_for(30, "the game to end after Yes", lambda: game.poll() is not None)
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


def main():
    return run_test(test)

if __name__ == "__main__":
    sys.exit(main())
