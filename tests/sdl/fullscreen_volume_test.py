#!/usr/bin/python3
"""`parrun` on a 1920 x 1080 screen (Xvfb with openbox) with a PulseAudio null sink as its
sound device: full screen and the volume keys, as a player meets them.

1. The window opens at scale 3 with the title; F4 shows the title's play area at 3 times,
   centred on black (1440 x 960 at (240, 60)), pixel for pixel; F4 goes back.
2. The title music is measured at the sink's monitor from its first sound; F7 twice prints
   "volume: -6 dB", F6 mutes (the sink then hears nothing at all) and unmutes.
3. Started again, the game plays at -6 dB: the same stretch of the title music measures 6 dB
   less than the first time.

The pictures expected are the scripted host's, from the play-through's script.

Usage: fullscreen_volume_test.py PARRUN PARRUN_SCRIPT DATA_FOLDER SCRIPT [SHOT.png]
(SHOT.png, if given, keeps the full-screen title.)
"""
import os
import subprocess
import sys
import time

import numpy
from PIL import Image, ImageGrab

from sdl_game import grab, make_game_folder
from x_session import (Display, Failure, find_window, hold, run, start_pulse, stop,
                       run_test, wait_for)

SCREEN = "1920x1080x24"
SCALE = 3  # the largest window scale that fits 1920 x 1080
RATE = 44100
# The stretch of the title music compared between the two starts, in seconds after its first
# sound: long enough for the quiet and loud bars of the tune to even out alike.
MEASURED = (0.5, 6.5)


def start_sound(work):
    """A PulseAudio daemon of our own with a null sink "parrun", which SDL plays to; returns it."""
    daemon, server = start_pulse(os.path.join(work, "pulse"), os.environ)
    os.environ["PULSE_SERVER"] = server
    os.environ["SDL_AUDIODRIVER"] = "pulseaudio"
    return daemon


class Run:
    """The game started once, with what the sink hears recorded from before its start."""

    def __init__(self, parrun, folder, work, name):
        self.sound_file = os.path.join(work, name + ".raw")
        self.log_file = os.path.join(work, name + ".log")
        self.recorder = subprocess.Popen(
            ["parec", "-d", "parrun.monitor", "--raw", "--format=s16le", "--rate=%d" % RATE,
             "--channels=2", "--latency-msec=20", self.sound_file])
        self.game = subprocess.Popen([parrun], cwd=folder, stderr=open(self.log_file, "w"),
                                     stdout=subprocess.DEVNULL)
        self.window = find_window(self.game)

    def sound(self):
        """What the sink has heard so far, as a mono float array."""
        with open(self.sound_file, "rb") as f:
            data = numpy.frombuffer(f.read(), dtype="<i2")
        data = data[:len(data) // 2 * 2].astype(numpy.float64) / 32768
        return data.reshape(-1, 2).mean(axis=1)

    def music_level(self):
        """The level in dBFS of the measured stretch after the music's first sound."""
        def heard():
            sound = self.sound()
            loud = numpy.flatnonzero(numpy.abs(sound) > 0.001)
            if len(loud) and len(sound) >= loud[0] + MEASURED[1] * RATE:
                return [sound[loud[0] + int(MEASURED[0] * RATE):loud[0] + int(MEASURED[1] * RATE)]]
            return None
        part = wait_for(30, "the title music", heard)[0]
        return 20 * numpy.log10(numpy.sqrt(numpy.mean(part ** 2)))

    def said(self):
        return open(self.log_file).read()

    def quit(self):
        hold("Escape")
        wait_for(30, "the game to end after Escape", lambda: self.game.poll() is not None)
        self.stop()
        if self.game.returncode != 0:
            raise Failure("the game ended with status %d:\n%s" % (self.game.returncode,
                                                                 self.said()))

    def stop(self):
        stop(self.game)
        stop(self.recorder)


def check_full_screen(game, display, scripted, shot):
    """F4 shows the title's play area at 3 times, centred on black, as the scripted host drew
    it; F4 goes back to the window."""
    window_title = numpy.asarray(Image.open(os.path.join(scripted, "title.png")).convert("RGB"))
    frame = numpy.asarray(Image.open(os.path.join(scripted, "title-full.png")).convert("RGB"))
    border = frame.copy()
    border[80:400, 80:560] = 0
    if border.any():
        raise Failure("the full-screen title draws in its border")

    def window_picture():
        picture = grab(game.window, display.name, (480, 320))
        return game_scale(game) == SCALE and numpy.array_equal(picture, window_title)
    wait_for(60, "the title in the window at scale 3", window_picture)
    expected = numpy.zeros((1080, 1920, 3), dtype=numpy.uint8)
    expected[60:1020, 240:1680] = numpy.repeat(numpy.repeat(frame[80:400, 80:560], SCALE, 0),
                                               SCALE, 1)
    hold("F4")
    seen = {}

    def full_screen_matches():
        screen = numpy.asarray(ImageGrab.grab(xdisplay=display.name).convert("RGB"))
        seen["last"] = screen
        return screen.shape == expected.shape and numpy.array_equal(screen, expected)
    try:
        wait_for(60, "the full-screen title", full_screen_matches)
    except Failure:
        last = seen["last"]
        differ = numpy.count_nonzero(numpy.any(last != expected, axis=2)) \
            if last.shape == expected.shape else "all"
        Image.fromarray(last).save(os.path.join(os.path.dirname(scripted), "real-full.png"))
        raise Failure("full screen: %s pixels differ from the title at 3 times, centred" % differ)
    if shot:
        Image.fromarray(seen["last"]).save(shot)
    label = numpy.count_nonzero(numpy.any(frame[80:400, 80:560] != window_title, axis=2))
    print("full screen: the title at 3 times (1440 x 960) at (240, 60), black around it; "
          "%d of the window's pixels differ (the F4 label)" % label)
    hold("F4")
    wait_for(60, "the window again", window_picture)


def game_scale(game):
    out = run("xwininfo", "-id", game.window)
    width = int(out.split("Width:")[1].split()[0])
    return width // 480


def test(work, stop_at_end):
    parrun, parrun_script, data, script = (os.path.realpath(a) for a in sys.argv[1:5])
    shot = os.path.realpath(sys.argv[5]) if len(sys.argv) > 5 else None
    os.environ["XDG_CONFIG_HOME"] = os.path.join(work, "config")
    settings = os.path.join(work, "config", "parrun", "settings")
    folder = os.path.join(work, "game")
    make_game_folder(folder, data)
    scripted = os.path.join(work, "scripted")
    make_game_folder(scripted, data)
    run(parrun_script, script, cwd=scripted)
    display = stop_at_end(Display(work, SCREEN))
    stop_at_end(start_sound(work))

    game = stop_at_end(Run(parrun, folder, work, "first"))
    full = game.music_level()
    check_full_screen(game, display, scripted, shot)
    hold("F7")
    hold("F7")
    wait_for(30, "volume: -6 dB", lambda: "volume: -6 dB\n" in game.said())
    hold("F6")
    wait_for(30, "volume: muted", lambda: "volume: muted\n" in game.said())
    time.sleep(0.5)  # what was mixed before the key leaves the device's buffers
    start = len(game.sound())
    time.sleep(1)
    heard = game.sound()[start:]
    if len(heard) < RATE // 2 or heard.any():
        raise Failure("muted, the sink heard %d samples, %d of them not silent" %
                      (len(heard), numpy.count_nonzero(heard)))
    hold("F6")
    wait_for(30, "volume: -6 dB again", lambda: game.said().count("volume: -6 dB") == 2)
    game.quit()
    kept = open(settings).read()
    if "volume-db=-6\n" not in kept or "muted=0\n" not in kept:
        raise Failure("the settings file holds:\n" + kept)
    print("F7 F7: -6 dB; F6: silence at the sink (%d samples), F6: -6 dB again" %
          len(heard))

    game = stop_at_end(Run(parrun, folder, work, "second"))
    quieter = game.music_level()
    game.quit()
    print("title music: %.2f dBFS at first, %.2f dBFS after a restart at -6 dB" %
          (full, quieter))
    if abs((full - quieter) - 6) > 0.5:
        raise Failure("the restarted game is %.2f dB quieter, not 6" % (full - quieter))


def main():
    return run_test(test)

if __name__ == "__main__":
    sys.exit(main())
