#!/usr/bin/python3
"""The effect checker must turn away every kind of broken file the game or a player would
suffer from, and take well-made ones."""

import os
import struct
import tempfile
import unittest

import numpy as np

import make_sounds
import wave_check


def Tone(seconds, level=0.5, fade=0.004, frequency=660.0):
    count = make_sounds.SampleCount(seconds)
    tone = level * np.sin(2 * np.pi * frequency * make_sounds.Seconds(count))
    tone *= make_sounds.Envelope(count, fade, 0, fade)
    return tone


def WaveOf(signal):
    return make_sounds.WaveBytes(signal, signal)


def Patched(blob, offset, fmt, value):
    blob = bytearray(blob)
    struct.pack_into(fmt, blob, offset, value)
    return bytes(blob)


class ReadWaveTest(unittest.TestCase):
    def test_header_faults(self):
        good = WaveOf(Tone(0.1))
        cases = [
            ("good", good, None),
            ("truncated header", good[:40], "44-byte header"),
            ("not RIFF", b"RIFX" + good[4:], "not a RIFF WAVE"),
            ("RIFF size wrong", Patched(good, 4, "<I", 10), "RIFF size"),
            ("extended fmt chunk", Patched(good, 16, "<I", 18), "16-byte"),
            ("float samples", Patched(good, 20, "<H", 3), "want PCM"),
            ("48 kHz", Patched(good, 24, "<I", 48000), "want PCM"),
            ("8-bit", Patched(good, 34, "<H", 8), "want PCM"),
            ("six channels", Patched(good, 22, "<H", 6), "want PCM"),
            ("byte rate wrong", Patched(good, 28, "<I", 1), "byte rate"),
            ("LIST before data", good[:36] + b"LIST" + good[40:], "no \"data\""),
            ("data size wrong", Patched(good, 40, "<I", 8), "data size"),
            ("odd data size", Patched(Patched(good + b"\0", 40, "<I", len(good) - 43), 4, "<I",
                                      len(good) - 7), "data size"),
        ]
        with tempfile.TemporaryDirectory() as folder:
            for label, blob, expected in cases:
                with self.subTest(label):
                    path = os.path.join(folder, "x.wav")
                    with open(path, "wb") as f:
                        f.write(blob)
                    frames, fault = wave_check.ReadWave(path)
                    if expected is None:
                        self.assertIsNone(fault)
                        self.assertEqual(frames.shape[1], 2)
                    else:
                        self.assertIn(expected, fault or "")


class FaultsTest(unittest.TestCase):
    def test_sound_faults(self):
        abrupt = Tone(0.2, fade=0.0)
        abrupt[0] = 0.0  # a fast ramp that starts at zero still clicks
        cases = [
            ("well made", "select.wav", Tone(0.2), None),
            ("a second long", "cool.wav", Tone(1.0), "not under 1.000"),
            ("key tick too long", "type1.wav", Tone(0.085), "not under 0.080"),
            ("key tick short enough", "type1.wav", Tone(0.075, fade=0.002), None),
            ("clipped", "miss1.wav", np.clip(Tone(0.2, level=2.0), -1, 1), "full scale"),
            ("inaudible", "miss1.wav", Tone(0.2, level=0.01), "too quiet"),
            ("starts mid-wave", "select.wav", Tone(0.2, fade=0.0), "clicks"),
            ("abrupt start from zero", "select.wav", abrupt, "abruptly"),
            ("cut off at the end", "end1.wav", Tone(0.2)[:-100], "clicks"),
            ("empty", "end1.wav", np.zeros(0), "no samples"),
        ]
        for label, name, signal, expected in cases:
            with self.subTest(label):
                frames = np.stack([signal, signal], axis=1) * 32767
                faults = wave_check.Faults(name, np.round(frames))
                if expected is None:
                    self.assertEqual(faults, [])
                else:
                    self.assertTrue(any(expected in f for f in faults), faults)


class FolderTest(unittest.TestCase):
    def Write(self, folder, name, signal):
        with open(os.path.join(folder, name), "wb") as f:
            f.write(WaveOf(signal))

    def test_folder_faults(self):
        # Each effect a different pitch and length, so that none sounds like another.
        def Effect(i):
            seconds = 0.07 if wave_check.EXPECTED[i] == "type1.wav" else 0.1 + 0.09 * i
            return Tone(seconds, frequency=200.0 * 2 ** (i / 2))

        def FillAll(folder):
            for i, name in enumerate(wave_check.EXPECTED):
                self.Write(folder, name, Effect(i))

        cases = [
            ("complete", lambda d: None, None),
            ("missing", lambda d: os.remove(os.path.join(d, "cool.wav")), "cool.wav: missing"),
            ("stray", lambda d: self.Write(d, "extra.wav", Tone(0.1)), "extra.wav: not one"),
            ("copied", lambda d: self.Write(d, "end1.wav", 0.5 * Effect(1)), "sound alike"),
        ]
        for label, spoil, expected in cases:
            with self.subTest(label), tempfile.TemporaryDirectory() as folder:
                FillAll(folder)
                spoil(folder)
                faults = wave_check.CheckFolder(folder, report=lambda line: None)
                if expected is None:
                    self.assertEqual(faults, [])
                else:
                    self.assertTrue(any(expected in f for f in faults), faults)


if __name__ == "__main__":
    unittest.main()
