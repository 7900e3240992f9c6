#!/usr/bin/python3
"""Synthesises the game's nine sound effects as 16-bit, 44100 Hz stereo RIFF WAVE files.

Usage: make_sounds.py OUTPUT_DIR

Every effect is built from sine partials, band-limited waves and a seeded noise source, so the
files come out byte for byte the same on every run. Each one fades in over a few milliseconds
and out at its end, so that starting or stopping it never clicks.
"""

import math
import os
import struct
import sys

import numpy as np

RATE = 44100
CHANNELS = 2
FULL_SCALE = 32767


def Seconds(count):
    return np.arange(count, dtype=np.float64) / RATE


def SampleCount(seconds):
    return int(round(seconds * RATE))


def NoteFrequency(name):
    """'A4' -> 440.0; sharps as 'C#5'."""
    steps = {"C": -9, "D": -7, "E": -5, "F": -4, "G": -2, "A": 0, "B": 2}
    semitone = steps[name[0]]
    rest = name[1:]
    if rest.startswith("#"):
        semitone += 1
        rest = rest[1:]
    elif rest.startswith("b"):
        semitone -= 1
        rest = rest[1:]
    octave = int(rest)
    return 440.0 * 2.0 ** ((semitone + 12 * (octave - 4)) / 12.0)


def Noise(count, seed):
    """Uniform noise in [-1, 1) from a 32-bit linear congruential generator with a fixed seed."""
    values = np.empty(count, dtype=np.float64)
    state = seed & 0xFFFFFFFF
    for i in range(count):
        state = (1664525 * state + 1013904223) & 0xFFFFFFFF
        values[i] = state / 2147483648.0 - 1.0
    return values


def OnePoleLowPass(signal, cutoff):
    coefficient = 1.0 - math.exp(-2.0 * math.pi * cutoff / RATE)
    out = np.empty_like(signal)
    level = 0.0
    for i, value in enumerate(signal):
        level += coefficient * (value - level)
        out[i] = level
    return out


def OnePoleHighPass(signal, cutoff):
    return signal - OnePoleLowPass(signal, cutoff)


def Envelope(count, attack, decay, release):
    """Raised-cosine attack (s), exponential decay with time constant `decay` (s, 0 = none)
    and a raised-cosine release over the last `release` seconds."""
    t = Seconds(count)
    env = np.ones(count)
    attackCount = max(1, SampleCount(attack))
    ramp = np.arange(min(attackCount, count)) / attackCount
    env[: len(ramp)] = 0.5 - 0.5 * np.cos(np.pi * ramp)
    if decay > 0:
        env *= np.exp(-t / decay)
    releaseCount = max(1, SampleCount(release))
    ramp = np.arange(min(releaseCount, count), 0, -1) - 1
    env[count - len(ramp) :] *= 0.5 - 0.5 * np.cos(np.pi * ramp / releaseCount)
    return env


def Partials(frequency, count, partials, glide=None):
    """A sum of sine partials given as (frequency ratio, amplitude, decay time constant or 0).
    `glide` is an optional per-sample frequency multiplier (a pitch bend)."""
    t = Seconds(count)
    ratio = np.ones(count) if glide is None else glide
    # Integrating the instantaneous frequency keeps a bend free of phase jumps.
    phase = 2.0 * np.pi * np.cumsum(frequency * ratio) / RATE
    out = np.zeros(count)
    for multiple, amplitude, decay in partials:
        if frequency * multiple * ratio.max() >= RATE / 2 * 0.9:
            continue
        partial = amplitude * np.sin(multiple * phase)
        if decay > 0:
            partial *= np.exp(-t / decay)
        out += partial
    return out


def BandLimitedSquare(frequency, count, top=8000.0, glide=None):
    """Odd harmonics falling as 1/n up to `top` Hz: a soft square wave without aliasing."""
    harmonics = [(n, 1.0 / n, 0) for n in range(1, 64, 2) if frequency * n < top]
    return Partials(frequency, count, harmonics, glide)


def BandLimitedSaw(frequency, count, top=4000.0, glide=None):
    harmonics = [(n, 1.0 / n, 0) for n in range(1, 128) if frequency * n < top]
    return Partials(frequency, count, harmonics, glide)


def Vibrato(count, rate, depth, delay):
    """Frequency multiplier for a vibrato of `depth` semitones that fades in after `delay` s."""
    t = Seconds(count)
    fade = np.clip((t - delay) / 0.08, 0.0, 1.0)
    return 2.0 ** (depth * fade * np.sin(2.0 * np.pi * rate * t) / 12.0)


class Mix:
    """A stereo buffer that notes are placed into at a time and a pan (-1 left .. 1 right)."""

    def __init__(self, seconds):
        self.left = np.zeros(SampleCount(seconds))
        self.right = np.zeros(SampleCount(seconds))

    def Add(self, start, signal, pan=0.0):
        begin = SampleCount(start)
        end = min(len(self.left), begin + len(signal))
        angle = (pan + 1.0) * np.pi / 4.0
        self.left[begin:end] += math.cos(angle) * math.sqrt(2.0) * signal[: end - begin]
        self.right[begin:end] += math.sin(angle) * math.sqrt(2.0) * signal[: end - begin]

    def Finish(self, peak, fade=0.004, squeeze=None):
        """Fades both ends and scales the louder channel's peak to `peak` of full scale;
        `squeeze` = (threshold dB below the peak, ratio) compresses it first (Compress)."""
        count = len(self.left)
        left, right = self.left, self.right
        if squeeze:
            left, right = Compress(left, right, *squeeze)
        edges = Envelope(count, fade, 0, fade)
        left = left * edges
        right = right * edges
        loudest = max(np.abs(left).max(), np.abs(right).max())
        return left * (peak / loudest), right * (peak / loudest)


def Compress(left, right, threshold, ratio, release=0.03):
    """Turns down what rises more than `threshold` dB below the loudest moment by `ratio`:1,
    so that an effect's body comes nearer its peak and it sounds louder for the same peak.
    The level follows the louder channel's peaks at once (nothing overshoots) and falls back
    over `release` seconds."""
    level = np.maximum(np.abs(left), np.abs(right))
    falling = math.exp(-1.0 / (release * RATE))
    envelope = np.empty_like(level)
    held = 0.0
    for i, value in enumerate(level):
        held = max(value, held * falling)
        envelope[i] = held
    knee = envelope.max() * 10.0 ** (-threshold / 20.0)
    gain = (np.maximum(envelope, knee) / knee) ** (1.0 / ratio - 1.0)
    return left * gain, right * gain


def Bell(frequency, seconds, decay):
    """A glockenspiel-like tone: the inharmonic partials of a struck bar, upper ones dying first."""
    count = SampleCount(seconds)
    tone = Partials(
        frequency,
        count,
        [(1.0, 1.0, decay), (2.0, 0.25, decay * 0.5), (2.76, 0.35, decay * 0.35),
         (5.40, 0.15, decay * 0.2)],
    )
    return tone * Envelope(count, 0.002, 0, 0.01)


def MakeSelect():
    """Cursor move: a soft, short pip that glides up a little."""
    count = SampleCount(0.085)
    glide = 1.0 - 0.06 * np.exp(-Seconds(count) / 0.008)
    tone = Partials(NoteFrequency("E6"), count, [(1, 1.0, 0), (2, 0.2, 0.015)], glide)
    mix = Mix(0.085)
    mix.Add(0.0, tone * Envelope(count, 0.003, 0.028, 0.012))
    return mix.Finish(0.66, squeeze=(12, 2))


def MakeDecide():
    """A choice made: two rising bell notes, a fifth apart."""
    mix = Mix(0.42)
    mix.Add(0.0, Bell(NoteFrequency("C6"), 0.42, 0.12), -0.15)
    mix.Add(0.07, Bell(NoteFrequency("G6"), 0.35, 0.13), 0.15)
    return mix.Finish(0.66, squeeze=(18, 4))


def MakeType():
    """A correct key: a very short, soft tick, a high sine with a breath of filtered noise."""
    seconds = 0.040
    count = SampleCount(seconds)
    tick = Partials(NoteFrequency("C7"), count, [(1, 1.0, 0.03), (1.5, 0.15, 0.004)])
    noise = OnePoleLowPass(OnePoleHighPass(Noise(count, 0x5EED01), 1200.0), 3500.0)
    noise *= 0.3 * np.exp(-Seconds(count) / 0.003)
    mix = Mix(seconds)
    mix.Add(0.0, (tick + noise) * Envelope(count, 0.0015, 0, 0.008))
    return mix.Finish(0.66, fade=0.0015, squeeze=(20, 8))


def MakeMiss():
    """A wrong key: a dull, low buzz of two slightly clashing saw waves that sag in pitch."""
    seconds = 0.22
    count = SampleCount(seconds)
    sag = 1.0 - 0.08 * (Seconds(count) / seconds)
    buzz = BandLimitedSaw(98.0, count, 2500.0, sag)
    buzz += 0.8 * BandLimitedSaw(104.0, count, 2500.0, sag)
    buzz = OnePoleLowPass(OnePoleLowPass(buzz, 900.0), 1400.0)
    mix = Mix(seconds)
    mix.Add(0.0, buzz * Envelope(count, 0.004, 0.12, 0.05))
    return mix.Finish(0.66, squeeze=(12, 3))


def MakeCool():
    """A phrase finished: a bright chime, a quick major arpeggio of bells that rings out. It
    always starts with the last key's tick, so it waits for the tick's loudest 35 ms rather
    than stack its first bell on them."""
    lead = 0.035
    mix = Mix(lead + 0.75)
    for i, (note, pan) in enumerate([("G6", -0.35), ("C7", 0.0), ("E7", 0.35)]):
        mix.Add(lead + 0.045 * i, Bell(NoteFrequency(note), 0.75 - 0.045 * i, 0.22), pan)
    mix.Add(lead + 0.09, 0.5 * Bell(NoteFrequency("C6"), 0.66, 0.28), 0.0)
    return mix.Finish(0.6, squeeze=(18, 4))


def MakeLifeUp():
    """A life gained: rising square-wave notes, the last one held with a vibrato. It always
    starts with the chime of the phrase that earned it, so it comes in after the chime's
    arpeggio, 0.2 s later, instead of over it."""
    lead = 0.2
    mix = Mix(lead + 0.72)
    notes = ["C5", "E5", "G5", "C6"]
    step = 0.065
    for i, note in enumerate(notes[:-1]):
        count = SampleCount(step)
        tone = BandLimitedSquare(NoteFrequency(note), count, 6000.0)
        mix.Add(lead + step * i, tone * Envelope(count, 0.003, 0, 0.012), -0.3 + 0.2 * i)
    count = SampleCount(0.72 - step * 3)
    vibrato = Vibrato(count, 7.0, 0.3, 0.08)
    held = BandLimitedSquare(NoteFrequency(notes[-1]), count, 6000.0, vibrato)
    mix.Add(lead + step * 3, held * Envelope(count, 0.003, 0.2, 0.08), 0.3)
    return mix.Finish(0.45, squeeze=(12, 2))


def CountInBeep(note, seconds, decay):
    count = SampleCount(seconds)
    tone = Partials(NoteFrequency(note), count, [(1, 1.0, 0), (2, 0.18, 0), (3, 0.22, 0.05)])
    return tone * Envelope(count, 0.004, decay, 0.05)


def MakeStart1():
    """The first start message: the lower count-in beep."""
    mix = Mix(0.32)
    mix.Add(0.0, CountInBeep("A5", 0.32, 0.25))
    return mix.Finish(0.66, squeeze=(12, 2))


def MakeStart2():
    """The second start message: the count-in's answer, an octave higher, brighter and longer."""
    mix = Mix(0.6)
    mix.Add(0.0, CountInBeep("A6", 0.6, 0.35))
    mix.Add(0.0, 0.45 * CountInBeep("A5", 0.6, 0.35), -0.2)
    mix.Add(0.0, 0.3 * CountInBeep("E6", 0.6, 0.35), 0.2)
    return mix.Finish(0.66, squeeze=(12, 3))


def MakeEnd():
    """The game is over: a falling chromatic phrase whose last note droops and wobbles."""
    mix = Mix(0.95)
    step = 0.18
    for i, note in enumerate(["E5", "D#5", "D5"]):
        count = SampleCount(step)
        tone = OnePoleLowPass(BandLimitedSquare(NoteFrequency(note), count, 3000.0), 1200.0)
        mix.Add(step * i, tone * Envelope(count, 0.006, 0, 0.025))
    count = SampleCount(0.95 - step * 3)
    t = Seconds(count)
    droop = Vibrato(count, 5.5, 0.45, 0.1) * (1.0 - 0.03 * t / t[-1])
    tone = OnePoleLowPass(BandLimitedSquare(NoteFrequency("C#5"), count, 3000.0, droop), 1200.0)
    mix.Add(step * 3, tone * Envelope(count, 0.006, 0.35, 0.12))
    return mix.Finish(0.66, squeeze=(12, 2))


EFFECTS = [
    ("select.wav", MakeSelect),
    ("decide1.wav", MakeDecide),
    ("type1.wav", MakeType),
    ("miss1.wav", MakeMiss),
    ("cool.wav", MakeCool),
    ("lifeup1.wav", MakeLifeUp),
    ("start1.wav", MakeStart1),
    ("start2.wav", MakeStart2),
    ("end1.wav", MakeEnd),
]


def WaveBytes(left, right):
    """A canonical 44-byte-header PCM WAVE file: RIFF, "fmt " (16 bytes), "data"."""
    frames = np.empty((len(left), 2))
    frames[:, 0] = left
    frames[:, 1] = right
    samples = np.clip(np.round(frames * FULL_SCALE), -FULL_SCALE, FULL_SCALE).astype("<i2")
    data = samples.tobytes()
    blockAlign = CHANNELS * 2
    header = b"RIFF" + struct.pack("<I", 36 + len(data)) + b"WAVE"
    header += b"fmt " + struct.pack("<IHHIIHH", 16, 1, CHANNELS, RATE, RATE * blockAlign,
                                    blockAlign, 16)
    header += b"data" + struct.pack("<I", len(data))
    return header + data


def main(argv):
    if len(argv) != 2:
        sys.stderr.write("usage: make_sounds.py OUTPUT_DIR\n")
        return 2
    os.makedirs(argv[1], exist_ok=True)
    for name, make in EFFECTS:
        left, right = make()
        with open(os.path.join(argv[1], name), "wb") as out:
            out.write(WaveBytes(left, right))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
