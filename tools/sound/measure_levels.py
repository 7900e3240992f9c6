#!/usr/bin/python3
"""Measures how loud the game sounds: the music, the effects over it, and the peaks.

    measure_levels.py --game build/shell/parrun-script --data data [--seconds 60] [--check]

Plays one scripted run on the scripted host (virtual time) and keeps its sound (`audio`): the
title for SECONDS, then a whole game of the one phrase "a"/"i" (keys every 1344 ms, a wrong key
in four phrases, a life gained at 1000 points, the timer ending it), its results for the rest
of SECONDS of game music, and Enter back to the title. The same run is made twice: with the
sound font (FluidR3_GM, or PARRUN_SOUNDFONT), and with none, which leaves the effects alone;
the two logs must be the same, and the music alone is the first recording (with what the
mixer's limiter did undone) less the second.

Prints, with full scale 1.0 = 0 dBFS:
- each piece's RMS over its SECONDS (the power mean of its 250 ms windows) and the spread of
  those windows, and its peak;
- the effects over the music at each key (Type and Miss): the effects' loudest 10 ms (RMS) in
  the first 120 ms after the key, against the game music's RMS over its SECONDS and against
  the music's RMS over those same 120 ms (which dips and swells with the tune);
- the whole run's peak and its samples past the mixer's limiter's knee and at full scale
  before the limiter (undone from what was heard), and those heard at full scale; the
  music's peak with the loudest effect file over it, and with the loudest moment of the run's
  effects over it (the peaks added: the worst case);
- without --check, how often the effects would pass full scale over the game music without
  the limiter (ClippingShare).
With --check, exits 1 naming what is out of bounds (each piece's RMS -20 dBFS within 3 dB,
the effects at least 6 dB over the game music's RMS at every key, no sample at full scale
before the limiter or after it, one effect over the music's peak below full scale); exits 77
when no sound font is found.
"""

import argparse
import os
import shutil
import subprocess
import sys
import tempfile

import numpy as np

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import wave_check  # noqa: E402

RATE = 44100
FULL_SCALE = 32767
WINDOW_MS = 250
KEY_MS = 120
KEY_SOUNDS = (2, 3)  # Type, Miss
TARGET_DB, TARGET_SPREAD_DB = -20.0, 3.0
KNEE, CEILING = 0.9, 0.9995  # the mixer's limiter (platform/dsound/mixer.cpp, LimitPeak)
MIN_MARGIN_DB = 6.0
PERIOD = 1344  # a phrase: its keys, the 1100 ms pause after it, and the next frame
SOUND_FONT = "/usr/share/sounds/sf2/FluidR3_GM.sf2"


def Script(seconds):
    """The run: the title for `seconds`, then a game whose music lasts `seconds` and more."""
    ms = 1000 * seconds
    lines = ["audio run.wav"]

    def Key(at, key):
        lines.extend(["at %d press %s" % (at, key), "at %d release %s" % (at + 20, key)])

    game = ms  # Enter on the title's menu; the game music starts in the frame after it
    Key(game + 100, "RETURN")
    Key(game + 496, "RETURN")
    t, phrase = game + 1520, 0
    while t < game + 35000:
        if phrase % 6 == 2:
            Key(t, "X")
            Key(t + 96, "A")
            Key(t + 192, "I")
        else:
            Key(t, "A")
            Key(t + 128, "I")
        t += PERIOD
        phrase += 1
    # Untouched, the timer ends the game well before the results are left.
    Key(game + ms + 2000, "RETURN")
    lines.append("end %d" % (game + ms + 3000))
    return lines


def Play(program, data, work, name, script, soundFont):
    folder = os.path.join(work, name)
    shutil.copytree(data, folder)
    with open(os.path.join(folder, "drel.txt"), "wb") as f:
        f.write("[drel]あ a\n[normal]い i\n".encode("cp932"))
    with open(os.path.join(work, "script"), "w") as f:
        f.write("\n".join(script) + "\n")
    env = dict(os.environ, PARRUN_SOUNDFONT=soundFont)
    log = os.path.join(work, name + ".log")
    status = subprocess.run([program, "--log", log, os.path.join(work, "script")], cwd=folder,
                            env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    if status.returncode != 3:  # 3: stopped by the script's end, as meant
        raise SystemExit("the %s run ended with status %d" % (name, status.returncode))
    frames, fault = wave_check.ReadWave(os.path.join(folder, "run.wav"))
    if fault:
        raise SystemExit("run.wav: " + fault)
    with open(log) as f:
        return frames / 32768.0, f.read().splitlines()


def BeforeTheLimiter(mix):
    """The sum as it was before the mixer's limiter bent it (which it undoes)."""
    size = np.abs(mix)
    bent = np.arctanh(np.clip((size - KNEE) / (CEILING - KNEE), 0.0, 1.0 - 1e-9))
    return np.where(size > KNEE, np.sign(mix) * (KNEE + (CEILING - KNEE) * bent), mix)


def Db(value):
    return 20.0 * np.log10(max(value, 1e-10))


def Rms(frames):
    return float(np.sqrt(np.mean(frames ** 2))) if len(frames) else 0.0


def Frame(ms):
    return int(ms) * RATE // 1000


def Started(log, kind):
    """(time, detail) of each log line of this kind."""
    found = []
    for line in log:
        parts = line.split()
        if len(parts) == 3 and parts[1] == kind:
            found.append((int(parts[0]), int(parts[2])))
    return found


def PieceLevels(music, start, seconds):
    piece = music[Frame(start):Frame(start + 1000 * seconds)]
    size = Frame(WINDOW_MS)
    windows = [Db(Rms(piece[i:i + size])) for i in range(0, len(piece) - size + 1, size)]
    return Db(Rms(piece)), np.percentile(windows, [10, 50, 90]), Db(np.abs(piece).max())


def Loudest(frames, ms):
    """The RMS of the loudest stretch of `ms` milliseconds."""
    power = (frames ** 2).mean(axis=1)
    size = min(len(power), Frame(ms))
    return float(np.sqrt(np.convolve(power, np.ones(size) / size, "valid").max()))


def Margins(effects, music, log, level):
    """(time, sound, dB over the music's level, dB over the music at that moment) of each key:
    the effects at their loudest 10 ms in the first 120 ms, against the music's RMS over the
    whole measure and over those 120 ms."""
    found = []
    for at, sound in Started(log, "sound"):
        if sound in KEY_SOUNDS:
            span = slice(Frame(at), Frame(at + KEY_MS))
            heard = Db(Loudest(effects[span], 10))
            found.append((at, sound, heard - level, heard - Db(Rms(music[span]))))
    return found


def ClippingShare(effects, music, log, placements=2000):
    """Without the limiter, how often the effects would pass full scale over the music: for
    each effect started in the run, the second of the effects that follows it is laid over
    the music at random moments (a fixed seed). Returns the mean share of placements with a
    sample at or past full scale, and the largest."""
    chooser = np.random.default_rng(1)
    shares = []
    for at in sorted(set(at for at, _ in Started(log, "sound"))):
        second = effects[Frame(at):Frame(at + 1000)]
        if len(second) == 0:
            continue
        # Only the effects' samples that could reach full scale with the music's loudest.
        risky = np.argwhere(np.abs(second) > 1.0 - np.abs(music).max())
        hits = 0
        for offset in chooser.integers(0, len(music) - len(second), placements):
            summed = music[offset + risky[:, 0], risky[:, 1]] + second[risky[:, 0], risky[:, 1]]
            hits += bool((np.abs(summed) >= 1.0).any())
        shares.append(hits / placements)
    return float(np.mean(shares)), float(np.max(shares))


def LoudestEffect(data):
    """The loudest sample of any one effect file, as the game plays it (5 dB down)."""
    loudest = 0.0
    for name in wave_check.EXPECTED:
        frames, fault = wave_check.ReadWave(os.path.join(data, "se", name))
        if fault:
            raise SystemExit("%s: %s" % (name, fault))
        loudest = max(loudest, np.abs(frames).max() / 32768.0 * 10 ** (-5 / 20))
    return loudest


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--game", required=True)
    parser.add_argument("--data", required=True)
    parser.add_argument("--seconds", type=int, default=60)
    parser.add_argument("--check", action="store_true")
    args = parser.parse_args()
    soundFont = os.environ.get("PARRUN_SOUNDFONT") or SOUND_FONT
    if not os.path.exists(soundFont):
        print("no sound font at %s (fluid-soundfont-gm)" % soundFont)
        return 77

    script = Script(args.seconds)
    work = tempfile.mkdtemp(prefix="parrun-levels-")
    try:
        program, data = os.path.abspath(args.game), os.path.abspath(args.data)
        mix, log = Play(program, data, work, "heard", script, soundFont)
        effects, quietLog = Play(program, data, work, "effects", script, "/nonexistent.sf2")
    finally:
        shutil.rmtree(work)
    faults = []
    if log != quietLog:
        faults.append("the run without music logged differently")
    length = min(len(mix), len(effects))
    heard, effects = mix[:length], effects[:length]
    mix = BeforeTheLimiter(heard)
    music = mix - effects

    starts = dict((piece, at) for at, piece in reversed(Started(log, "music")))
    levels, peak = {}, 0.0
    for name, piece in (("title", 0), ("game", 1)):
        if piece not in starts:
            faults.append("the %s music never started" % name)
            continue
        rms, (low, middle, high), top = PieceLevels(music, starts[piece], args.seconds)
        levels[piece], peak = rms, max(peak, 10 ** (top / 20))
        print("%-5s music: %5.1f dBFS RMS over %d s (250 ms windows: 10 %% %5.1f, median "
              "%5.1f, 90 %% %5.1f), peak %5.1f dBFS" % (name, rms, args.seconds, low, middle,
                                                         high, top))
        if abs(rms - TARGET_DB) > TARGET_SPREAD_DB:
            faults.append("the %s music's RMS %.1f dBFS is not within %.0f dB of %.0f"
                          % (name, rms, TARGET_SPREAD_DB, TARGET_DB))

    margins = Margins(effects, music, log, levels.get(1, 0.0))
    for sound, name in ((2, "right"), (3, "wrong")):
        overLevel = [m for _, s, m, _ in margins if s == sound]
        overNow = [m for _, s, _, m in margins if s == sound]
        if overLevel:
            print("effects' loudest 10 ms in the first %d ms of each %s key (%d): over the game "
                  "music's RMS least %4.1f dB, median %4.1f; over the music's RMS in those %d "
                  "ms least %5.1f dB, median %4.1f" % (KEY_MS, name, len(overLevel),
                                                      min(overLevel), np.median(overLevel),
                                                      KEY_MS, min(overNow), np.median(overNow)))
    sounds = [s for _, s in Started(log, "sound")]
    for wanted, what in ((2, "a right key"), (3, "a wrong key"), (5, "a life gained"),
                         (8, "the game's end")):
        if wanted not in sounds:
            faults.append("no sound of %s" % what)
    for at, sound, margin, _ in margins:
        if margin < MIN_MARGIN_DB:
            faults.append("effects only %.1f dB over the music at %d ms (sound %d)"
                          % (margin, at, sound))

    clipped = int(np.count_nonzero(np.abs(mix) >= 1.0))
    bent = int(np.count_nonzero(np.abs(mix) > KNEE))
    full = int(np.count_nonzero(np.abs(heard) >= FULL_SCALE / 32768.0))
    print("whole run: peak %5.1f dBFS before the limiter, %d samples past its knee (%.1f dBFS), "
          "%d at or past full scale; %d heard at full scale" % (Db(np.abs(mix).max()), bent,
                                                              Db(KNEE), clipped, full))
    one, together = peak + LoudestEffect(args.data), peak + np.abs(effects).max()
    print("music's peak %5.1f dBFS; with the loudest effect over it %5.1f dBFS, with the "
          "loudest effects the run started together %5.1f dBFS" % (Db(peak), Db(one),
                                                                 Db(together)))
    if 1 in starts and not args.check:  # slow, and only a figure
        game = music[Frame(starts[1]):Frame(starts[1] + 1000 * args.seconds)]
        mean, most = ClippingShare(effects, game, log)
        print("without the limiter, a second of the effects from any effect's start laid over "
              "the game music at random would pass full scale in %.2f %% of placements (at most "
              "%.1f %%)" % (100 * mean, 100 * most))
    if clipped or full:
        faults.append("%d samples clipped" % max(clipped, full))
    if one >= 1.0:
        faults.append("an effect over the music's loudest sample would clip")
    for fault in faults:
        print("FAULT " + fault)
    return 1 if args.check and faults else 0


if __name__ == "__main__":
    sys.exit(main())
