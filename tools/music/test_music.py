#!/usr/bin/python3
"""The MIDI writer and reader must agree, the note and chord helpers must name the right keys,
and the piece checker must catch every kind of loop or layout fault."""

import unittest

import numpy as np

import compose
import make_music
import midi_check
import smf

Q = 96  # ticks per quarter note in the small test files
LOOP_START, LOOP_END = 4, 12  # quarter notes, bar = 4 quarters


def SmallPiece(spoil=None, end=LOOP_END):
    """A valid little looping piece: one bar of intro, two bars of loop whose last bar repeats
    the intro's. `spoil(tracks)` may change the TrackWriters before they are written."""
    conductor = smf.TrackWriter()
    conductor.TimeSignature(0, 4, 4)
    conductor.Tempo(0, 500000)
    tracks = [conductor]
    for channel, program, key in ((0, 73, 72), (1, 0, 60), (2, 32, 36), (9, 0, 36)):
        track = smf.TrackWriter()
        track.Program(0, channel, program)
        track.Control(0, channel, 7, 100)
        for bar in range(3):
            # Bar 1 differs from bars 0 and 2, which lead into the loop start alike.
            track.Note(bar * 4 * Q, 3 * Q, channel, key + (2 if bar == 1 else 0), 90)
        tracks.append(track)
    if spoil:
        spoil(tracks)
    return smf.FileBytes(tracks, Q, end * Q)


class VarLenTest(unittest.TestCase):
    def test_round_trip(self):
        cases = [(0, b"\x00"), (0x7F, b"\x7f"), (0x80, b"\x81\x00"), (0x3FFF, b"\xff\x7f"),
                 (0x4000, b"\x81\x80\x00"), (0x0FFFFFFF, b"\xff\xff\xff\x7f")]
        for value, encoded in cases:
            with self.subTest(value=value):
                self.assertEqual(smf.EncodeVarLen(value), encoded)
                self.assertEqual(smf.DecodeVarLen(b"\x55" + encoded, 1), (value, 1 + len(encoded)))

    def test_rejects(self):
        for label, action in [
            ("too large", lambda: smf.EncodeVarLen(0x10000000)),
            ("negative", lambda: smf.EncodeVarLen(-1)),
            ("five bytes", lambda: smf.DecodeVarLen(b"\x81\x81\x81\x81\x00", 0)),
            ("cut short", lambda: smf.DecodeVarLen(b"\x81", 0)),
        ]:
            with self.subTest(label):
                self.assertRaises(ValueError, action)


class ReadTest(unittest.TestCase):
    def test_writer_and_reader_agree(self):
        fileFormat, division, tracks = smf.Read(SmallPiece())
        self.assertEqual((fileFormat, division, len(tracks)), (1, Q, 5))
        notes = midi_check.Notes(tracks)
        self.assertIn((0, 3 * Q, 0, 72, 90), notes)
        self.assertIn((4 * Q, 7 * Q, 2, 38, 90), notes)
        self.assertEqual(tracks[1][-1], (LOOP_END * Q, smf.Event("end", None, ())))

    def test_running_status_and_zero_velocity_off(self):
        track = b"\x00\x90\x3c\x40" + b"\x10\x3c\x00" + b"\x00\xff\x2f\x00"
        blob = b"MThd\x00\x00\x00\x06\x00\x00\x00\x01\x00\x60" + b"MTrk" + \
            len(track).to_bytes(4, "big") + track
        _, _, tracks = smf.Read(blob)
        self.assertEqual(midi_check.Notes(tracks), [(0, 16, 0, 60, 64)])

    def test_rejects_malformed(self):
        good = SmallPiece()
        cases = [
            ("not MIDI", b"RIFF" + good[4:], "MThd"),
            ("SMPTE division", good[:12] + b"\xe7\x28" + good[14:], "division"),
            ("track missing", good[:10] + b"\x00\x06" + good[12:], "5 of 6 tracks"),
            ("track cut short", good[:-20], "past the end"),
            ("no end of track", good[:14] + b"MTrk\x00\x00\x00\x04\x00\x90\x3c\x40",
             "end-of-track"),
            ("data without status", good[:14] + b"MTrk\x00\x00\x00\x03\x00\x3c\x40",
             "without a status"),
            ("data byte too large", good[:14] + b"MTrk\x00\x00\x00\x04\x00\x90\x3c\xc0",
             "above 127"),
        ]
        for label, blob, message in cases:
            with self.subTest(label):
                with self.assertRaises(ValueError) as caught:
                    smf.Read(blob)
                self.assertIn(message, str(caught.exception))


class NamesTest(unittest.TestCase):
    def test_note_numbers(self):
        for name, number in [("C4", 60), ("A4", 69), ("Bb3", 58), ("C#5", 73), ("B#3", 60),
                             ("C-1", 0), ("G9", 127)]:
            with self.subTest(name):
                self.assertEqual(compose.NoteNumber(name), number)
        for bad in ["H4", "C", "4", "Cx4", "G#9", ""]:
            with self.subTest(bad):
                self.assertRaises(ValueError, compose.NoteNumber, bad)

    def test_melody(self):
        notes, total = compose.ParseMelody("A4:2 r:1 C5:3")
        self.assertEqual((notes, total), ([(0, 2, 69), (2, 1, None), (3, 3, 72)], 6))
        for bad in ["A4", "A4:0", "A4:x", "Q4:2"]:
            with self.subTest(bad):
                self.assertRaises(ValueError, compose.ParseMelody, bad)

    def test_chords(self):
        cases = [("F", [5, 9, 0], 5), ("Dm7", [2, 5, 9, 0], 2), ("C7sus", [0, 5, 7, 10], 0),
                 ("F/A", [5, 9, 0], 9), ("Bb/C", [10, 2, 5], 0), ("F#m7", [6, 9, 1, 4], 6),
                 ("A/C#", [9, 1, 4], 1)]
        for symbol, pitchClasses, bass in cases:
            with self.subTest(symbol):
                chord = compose.Chord(symbol)
                self.assertEqual((chord.pitchClasses, chord.bass), (pitchClasses, bass))
        for bad in ["Xm", "Cdim", "C/H"]:
            with self.subTest(bad):
                self.assertRaises(ValueError, compose.Chord, bad)

    def test_voicing_holds_the_chord_and_moves_little(self):
        first = compose.Voicing(compose.Chord("C"), None, 55, 74, 3)
        second = compose.Voicing(compose.Chord("F/C"), first, 55, 74, 3)
        for keys, pitchClasses in [(first, {0, 4, 7}), (second, {5, 9, 0})]:
            self.assertEqual({k % 12 for k in keys}, pitchClasses)
            self.assertTrue(all(55 <= k <= 74 for k in keys))
        self.assertLessEqual(sum(abs(a - b) for a, b in zip(first, second)), 3)

    def test_repeated_key_is_shortened(self):
        trimmed = make_music.TrimmedNotes([(0, 300, 60, 80), (100, 50, 60, 80), (0, 300, 64, 80)])
        self.assertEqual(trimmed, [(0, 84, 60, 80), (0, 300, 64, 80), (100, 50, 60, 80)])


def AddNote(index, tick, length, channel, key):
    return lambda tracks: tracks[index].Note(tick, length, channel, key, 80)


class StructureTest(unittest.TestCase):
    def test_faults(self):
        cases = [
            ("well made", None, None),
            ("note across the loop end", AddNote(1, 11 * Q, 2 * Q, 0, 80), "on at the loop end"),
            ("note ending on the loop end", AddNote(1, 11 * Q, Q, 0, 80), "on at the loop end"),
            ("note across the loop start", AddNote(1, 3 * Q, 2 * Q, 0, 80), "sounds across"),
            ("note after the loop end", AddNote(1, LOOP_END * Q, Q, 0, 70), "never looped"),
            ("program changed in the loop",
             lambda t: t[1].Program(6 * Q, 0, 40), "at the loop start but"),
            ("volume changed in the loop",
             lambda t: t[2].Control(6 * Q, 1, 7, 30), "at the loop start but"),
            ("changed in the loop, set again at the start",
             lambda t: (t[2].Control(6 * Q, 1, 7, 30), t[2].Control(4 * Q, 1, 7, 100)), None),
            ("tempo changed in the loop",
             lambda t: t[0].Tempo(6 * Q, 400000), "at the loop start but"),
            ("pitch bend left in the loop",
             lambda t: t[1].Add(9 * Q, "pitch", 0, (9000,)), "at the loop start but"),
            ("no drums", lambda t: t.pop(4), "no drums"),
            ("two melodic channels", lambda t: t.pop(3), "melodic channels"),
            ("program after the first note",
             lambda t: t[1].events.__setitem__(0, (Q, 1, 0, "program", 0, (73,))), "plays before"),
            ("last bar unlike the intro's", AddNote(2, 8 * Q, Q, 1, 50), "shares only"),
        ]
        for label, spoil, expected in cases:
            with self.subTest(label):
                # The file runs on past the loop end, as a file may.
                blob = SmallPiece(spoil, end=LOOP_END + 2)
                faults = midi_check.StructureFaults(blob, LOOP_START, LOOP_END)
                if expected is None:
                    self.assertEqual(faults, [])
                else:
                    self.assertTrue(any(expected in f for f in faults), faults)

    def test_too_short(self):
        blob = SmallPiece()
        faults = midi_check.StructureFaults(blob, LOOP_START, LOOP_END + 1)
        self.assertTrue(any("shorter than its loop end" in f for f in faults), faults)

    def test_looped_file_repeats_the_loop(self):
        _, _, tracks = smf.Read(midi_check.LoopedBytes(SmallPiece(), LOOP_START, LOOP_END))
        starts = [on for on, _, channel, _, _ in midi_check.Notes(tracks) if channel == 0]
        self.assertEqual(starts, [0, 4 * Q, 8 * Q, 12 * Q, 16 * Q])

    def test_seconds_follow_tempo_changes(self):
        blob = SmallPiece(lambda t: t[0].Tempo(4 * Q, 250000))
        self.assertAlmostEqual(midi_check.Seconds(blob, 8 * Q), 2.0 + 1.0)


class AudioTest(unittest.TestCase):
    def test_faults(self):
        rate = midi_check.RATE
        tone = 3000 * np.sin(np.arange(3 * rate) * 0.05)
        stereo = np.stack([tone, tone], axis=1)
        gap = stereo.copy()
        gap[rate:2 * rate] = 0
        cases = [
            ("music", stereo, None),
            ("clipped", np.clip(stereo * 20, -32768, 32767), "clips"),
            ("silent", stereo * 0, "silent"),
            ("a silent second", gap, "second 1"),
        ]
        for label, frames, expected in cases:
            with self.subTest(label):
                faults, _ = midi_check.AudioFaults(frames, 3.0)
                if expected is None:
                    self.assertEqual(faults, [])
                else:
                    self.assertTrue(any(expected in f for f in faults), faults)

    def test_seam(self):
        rate = midi_check.RATE
        tone = 3000 * np.sin(np.arange(12 * rate) * 0.05)
        frames = np.stack([tone, tone], axis=1)
        changed = frames.copy()
        changed[int(7.5 * rate):int(8 * rate)] *= 0.5
        gapped = frames.copy()
        gapped[int(5.8 * rate):int(6.1 * rate)] = 0
        for label, audio, expected in [("same", frames, None), ("changed", changed, "differs"),
                                       ("gap", gapped, "silence")]:
            with self.subTest(label):
                faults, _ = midi_check.SeamFaults(audio, 1.0, 6.0)
                if expected is None:
                    self.assertEqual(faults, [])
                else:
                    self.assertTrue(any(expected in f for f in faults), faults)


if __name__ == "__main__":
    unittest.main()
