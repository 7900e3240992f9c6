#!/usr/bin/python3
"""Composes the game's two background pieces as Standard MIDI Files (format 1, General MIDI).

Usage: make_music.py OUTPUT_DIR    (writes title.mid and game.mid)

Both pieces have a short intro and then a cycle that the game loops without end: the title
piece from quarter note 12 to 276, the game piece from quarter note 52 to 420. The cycle's last
bar is the same dominant bar, with the same pickup, that ends the intro, so the jump from the
loop end back to the loop start sounds exactly like the first arrival there. No note sounds
across either loop point, and every channel's settings are sent again at the loop start.

Title: a calm waltz in F major, flute over piano arpeggios, strings, bass, celesta and light
percussion. Game: a lively pop tune in D major, square lead over electric piano, strings,
fingered bass, marimba and a full drum kit.
"""

import os
import sys

import smf
from compose import Chord, Part, ParseMelody, Voicing

DIVISION = 768  # ticks per quarter note, the same count as the player's music time
DRUMS = 9  # channel 10

# General MIDI drum keys
KICK, SIDE_STICK, SNARE, CLAP = 36, 37, 38, 39
CLOSED_HAT, OPEN_HAT, RIDE, CRASH = 42, 46, 51, 49
LOW_TOM, MID_TOM, HIGH_TOM, FLOOR_TOM = 45, 47, 50, 41
SHAKER, TRIANGLE = 70, 81


class Piece:
    def __init__(self, name, bpm, beatsPerBar, sharps, loopStart, loopEnd, leadInBars):
        self.name = name
        self.leadInBars = leadInBars  # bars the intro and the loop both end with
        self.bpm = bpm
        self.beatsPerBar = beatsPerBar
        self.sharps = sharps
        self.bar = beatsPerBar * DIVISION
        self.loopStart = loopStart * DIVISION
        self.loopEnd = loopEnd * DIVISION
        self.parts = []

    def AddPart(self, *args, **kwargs):
        part = Part(*args, **kwargs)
        self.parts.append(part)
        return part

    def Bytes(self):
        conductor = smf.TrackWriter()
        conductor.Name(0, self.name)
        conductor.TimeSignature(0, self.beatsPerBar, 4)
        conductor.KeySignature(0, self.sharps)
        conductor.Tempo(0, round(60_000_000 / self.bpm))
        tracks = [conductor]
        for part in self.parts:
            track = smf.TrackWriter()
            track.Name(0, part.name)
            # Settings at the start and again at the loop start, so that every pass of the
            # loop begins from the same state whatever came before it.
            for tick in (0, self.loopStart):
                if part.channel != DRUMS:
                    track.Program(tick, part.channel, part.program)
                else:
                    track.Program(tick, part.channel, 0)
                track.Control(tick, part.channel, 7, part.volume)
                track.Control(tick, part.channel, 10, part.pan)
                track.Control(tick, part.channel, 11, 127)
                track.Control(tick, part.channel, 64, 0)
                track.Control(tick, part.channel, 91, part.reverb)
                track.Control(tick, part.channel, 93, part.chorus)
            for tick, length, key, velocity in TrimmedNotes(part.notes):
                track.Note(tick, length, part.channel, key, velocity)
            tracks.append(track)
        return smf.FileBytes(tracks, DIVISION, self.loopEnd)


def TrimmedNotes(notes):
    """Shortens a note that would still sound when the same key strikes again, so that the
    repeated key is a fresh note rather than one cut short by the earlier note's end."""
    ordered = sorted(notes)
    out = []
    for i, (tick, length, key, velocity) in enumerate(ordered):
        for later in ordered[i + 1:]:
            if later[0] >= tick + length:
                break
            if later[2] == key and later[0] > tick:
                length = max(1, later[0] - tick - 16)
                break
        out.append((tick, length, key, velocity))
    return out


def ForgetVoicingsBeforeLoopStart(piece, tick, state):
    """The bars that lead into the loop start are voiced afresh both times they are played
    (ending the intro and ending the loop), so that both lead into the loop start alike."""
    leadIn = piece.leadInBars * piece.bar
    if tick in (piece.loopStart - leadIn, piece.loopEnd - leadIn):
        state.clear()


def PlaceMelody(part, tick, bars, barUnits, unit, velocity, gate=0.92, accent=None):
    """Places one written bar after another, requiring each to fill its bar exactly."""
    for text in bars:
        _, total = ParseMelody(text)
        if total != barUnits:
            raise ValueError("bar %r holds %d units, not %d" % (text, total, barUnits))
        part.Melody(tick, text, unit, velocity, gate, accent)
        tick += barUnits * unit
    return tick


def Drums(part, tick, unit, grid, velocity):
    """Drum hits from a grid: a key and a string with one character per unit,
    'x' a hit, 'X' an accented one, 'o' a soft one, '.' nothing."""
    for key, pattern in grid:
        for i, mark in enumerate(pattern):
            if mark == ".":
                continue
            level = velocity + {"x": 0, "X": 18, "o": -22}[mark]
            part.Note(tick + i * unit, unit // 2 if unit >= 96 else 48, key, level)


# ---------------------------------------------------------------------------------------------
# Title: a calm waltz in F major, 3/4, eighth-note units (6 to a bar).

TITLE_EIGHTH = DIVISION // 2

TITLE_SECTIONS = {
    "intro": "F Bb/F Gm7 C7",
    "A1": "F C/E Dm Am7 Bb F/A Gm7 C7",
    "A2": "F C/E Dm Am Bb C F F",
    "B1": "Bb C Am Dm Gm C F F7",
    "B2": "Bb C Am Dm Gm7 Bb/C C7sus C7",
    "C1": "Dm Bb F C Dm Bb Gm7 A7",
    "C2": "Dm Bb F C/E Bb Gm7 C Am7",
    "E": "F Bb/F F Bb/F Dm Gm7 Bb/C C7",
}

# The bar that leads into the loop start, both from the intro and from the loop's end.
TITLE_PICKUP = "G5:2 E5:2 Bb4:2"

TITLE_MELODY = {
    "intro": ["r:6", "r:6", "r:6", TITLE_PICKUP],
    "A1": ["A4:2 C5:2 F5:2", "E5:4 D5:1 C5:1", "D5:2 F5:2 A5:2", "G5:4 E5:2",
           "F5:3 D5:1 Bb4:2", "C5:4 A4:2", "Bb4:2 D5:2 F5:2", "E5:4 C5:2"],
    "A2": ["A4:2 C5:2 F5:2", "E5:4 D5:1 C5:1", "D5:2 F5:2 A5:2", "C6:4 A5:2",
           "Bb5:3 A5:1 G5:2", "G5:2 E5:2 C5:2", "F5:6", "r:2 F5:2 E5:2"],
    "B1": ["D5:6", "E5:3 F5:1 G5:2", "E5:6", "F5:3 E5:1 D5:2",
           "Bb4:4 D5:2", "C5:2 E5:2 G5:2", "A5:6", "A5:2 G5:2 Eb5:2"],
    "B2": ["D5:6", "E5:3 F5:1 G5:2", "A5:3 G5:1 E5:2", "D5:2 F5:2 A5:2",
           "Bb5:4 A5:1 G5:1", "F5:4 D5:2", "C5:2 F5:2 G5:2", TITLE_PICKUP],
    "C1": ["D5:2 E5:2 F5:2", "F5:4 D5:2", "C5:2 D5:2 F5:2", "E5:6",
           "D5:2 E5:2 F5:2", "G5:2 F5:2 D5:2", "F5:3 E5:1 D5:2", "C#5:6"],
    "C2": ["D5:2 E5:2 F5:2", "D5:2 F5:2 Bb5:2", "A5:4 G5:1 F5:1", "G5:6",
           "F5:2 D5:2 Bb4:2", "D5:3 C5:1 Bb4:2", "C5:2 E5:2 G5:2", "E5:4 C5:2"],
    "E": ["r:6", "r:6", "r:6", "r:6",
          "A4:2 D5:2 F5:2", "F5:3 D5:1 Bb4:2", "C5:6", TITLE_PICKUP],
}

TITLE_BELLS = {
    "intro": ["C6:2 A5:2 F5:2", "D6:2 Bb5:2 F5:2", "Bb5:2 G5:2 D5:2", "r:6"],
    "E": ["C6:2 A5:2 F5:2", "D6:2 Bb5:2 F5:2", "C6:2 A5:2 F5:2", "D6:3 C6:1 Bb5:2",
          "r:6", "r:6", "r:6", "r:6"],
}

# Each pass through the loop: (section, how it is dressed)
TITLE_ORDER = [
    ("A1", "plain"), ("A2", "plain"), ("B1", "full"), ("B2", "full"),
    ("A1", "bells"), ("A2", "bells"), ("C1", "minor"), ("C2", "minor"),
    ("B1", "full"), ("B2", "full"), ("E", "coda"),
]


def TitleBar(piece, parts, tick, chord, style, barIndex, state):
    flute, piano, strings, bass, celesta, drums = parts
    bar = piece.bar
    e = TITLE_EIGHTH
    # Piano: a flowing arpeggio, or the oom-pah-pah of a waltz in the fuller sections.
    low = chord.BassKey(41)
    if style == "full":
        piano.Note(tick, int(2 * e * 0.95), low, 72)
        keys = Voicing(chord, state.get("piano"), 57, 72, 3)
        state["piano"] = keys
        for beat in (1, 2):
            for key in keys:
                piano.Note(tick + beat * DIVISION, int(DIVISION * 0.6), key, 54)
    else:
        tones = [low, chord.Tone(2, low + 1), chord.Tone(1, low + 12), chord.Tone(2, low + 13)]
        for step, index in enumerate([0, 1, 2, 3, 2, 1]):
            level = 68 if step == 0 else 56 - 3 * (step % 2)
            piano.Note(tick + step * e, bar - step * e - 24, tones[index], level)
    # Strings hold the harmony in every section but the plainest.
    if style != "plain":
        keys = Voicing(chord, state.get("strings"), 55, 74, 4 if len(chord.intervals) > 3 else 3)
        state["strings"] = keys
        for key in keys:
            strings.Note(tick, bar - 48, key, 60 if style == "coda" else 66)
    # Bass: one long note a bar, root and fifth in the fuller sections.
    key = chord.BassKey(36)
    if style == "full":
        bass.Note(tick, int(2 * DIVISION * 0.9), key, 92)
        bass.Note(tick + 2 * DIVISION, int(DIVISION * 0.8), chord.Tone(2, key - 5), 82)
    else:
        bass.Note(tick, bar - 96, key, 88)
    # Percussion: a shaker always, kick and side stick as the music fills out.
    if style in ("plain", "coda", "intro"):
        Drums(drums, tick, e, [(SHAKER, "xoxoxo")], 48)
    else:
        Drums(drums, tick, e, [(SHAKER, "xoxoxo"), (KICK, "x....."), (SIDE_STICK, "..x.x.")],
              54)
    if barIndex % 8 == 0 and style != "intro":
        drums.Note(tick, 192, TRIANGLE, 48)
    elif style in ("full", "bells", "minor"):
        drums.Note(tick, 192, KICK, 44)


def ComposeTitle():
    piece = Piece("Parrun title", 90, 3, -1, 12, 276, 1)
    parts = (
        piece.AddPart("Flute", 0, 73, 112, 64, reverb=60),
        piece.AddPart("Piano", 1, 0, 100, 50, reverb=50),
        piece.AddPart("Strings", 2, 48, 84, 80, reverb=70),
        piece.AddPart("Bass", 3, 32, 110, 64, reverb=30),
        piece.AddPart("Celesta", 4, 8, 88, 90, reverb=70),
        piece.AddPart("Percussion", DRUMS, 0, 78, 64, reverb=40),
    )
    flute, celesta = parts[0], parts[4]
    state = {}
    tick = 0
    sections = [("intro", "intro")] + TITLE_ORDER
    for name, style in sections:
        chords = [Chord(symbol) for symbol in TITLE_SECTIONS[name].split()]
        start = tick
        PlaceMelody(flute, start, TITLE_MELODY[name], 6, TITLE_EIGHTH, 92,
                    accent=lambda offset: 8 if offset == 0 else 0)
        if name in TITLE_BELLS:
            PlaceMelody(celesta, start, TITLE_BELLS[name], 6, TITLE_EIGHTH, 72, gate=0.8)
        elif style == "bells":
            # Celesta doubles the tune an octave up, softly.
            octave = [" ".join(Raise(token) for token in bar.split())
                      for bar in TITLE_MELODY[name]]
            PlaceMelody(celesta, start, octave, 6, TITLE_EIGHTH, 56, gate=0.8)
        for index, chord in enumerate(chords):
            ForgetVoicingsBeforeLoopStart(piece, tick, state)
            TitleBar(piece, parts, tick, chord, style, index, state)
            tick += piece.bar
    if tick != piece.loopEnd:
        raise ValueError("title ends at %d, not at its loop end %d" % (tick, piece.loopEnd))
    return piece


def Raise(token):
    """The token an octave higher ('F5:2' -> 'F6:2'); rests stay."""
    pitch, _, length = token.partition(":")
    if pitch == "r":
        return token
    return "%s%d:%s" % (pitch.rstrip("0123456789"), int(pitch.lstrip("ABCDEFG#b")) + 1, length)


# ---------------------------------------------------------------------------------------------
# Game: a lively pop tune in D major, 4/4, sixteenth-note units (16 to a bar).

SIXTEENTH = DIVISION // 4

GAME_SECTIONS = {
    "count": "D",
    "riff": "D Bm G A D Bm G A",
    "lead-in": "G A G A7",
    "V": "D A/C# Bm G D/F# G Em7 A7 D A/C# Bm G D/F# G Em7 A7",
    "Ch": "D A Bm F#m G D/F# Em7 A7 D A Bm F#m G A D A7",
    "Br": "Bm G D A Bm G Em7 F#7 Bm G D A G Em7 F#m7 A",
    "In": "Bm G D A Bm G Em7 A",
    "Tn": "G A G A7",
}

VERSE_HALF = [
    "D5:2 F#5:2 A5:3 F#5:3 E5:2 D5:4", "E5:6 D5:2 C#5:4 A4:4",
    "B4:2 D5:2 F#5:3 E5:3 D5:2 B4:4", "D5:4 E5:2 D5:2 B4:4 r:4",
    "A4:2 D5:2 F#5:3 A5:3 B5:2 A5:4", "G5:4 F#5:2 E5:2 D5:4 B4:4",
]
CHORUS_HALF = [
    "A5:4 F#5:2 A5:2 B5:2 A5:2 F#5:4", "E5:4 C#5:2 E5:2 A5:4 E5:4",
    "F#5:4 D5:2 F#5:2 B5:2 A5:2 F#5:4", "C#5:4 A4:2 C#5:2 F#5:8",
]
# The four bars that lead into the loop start, from the intro and from the loop's end alike.
LEAD_IN = ["D5:2 E5:2 G5:4 D5:2 E5:2 G5:4", "E5:2 F#5:2 A5:4 E5:2 F#5:2 A5:4",
           "B5:4 A5:4 G5:4 E5:4", "C#5:4 E5:4 G5:4 r:2 C#5:2"]

GAME_LEAD = {
    "count": ["r:16"],
    "riff": ["r:16"] * 8,
    "lead-in": LEAD_IN,
    "V": VERSE_HALF + ["E5:3 F#5:3 G5:2 F#5:2 E5:2 D5:4", "E5:4 C#5:4 A4:4 r:4"] +
         VERSE_HALF + ["E5:3 F#5:3 G5:2 B5:4 A5:4", "C#5:4 E5:4 G5:4 E5:4"],
    "Ch": CHORUS_HALF + ["G5:3 G5:3 G5:2 A5:2 B5:2 G5:4", "F#5:3 F#5:3 F#5:2 G5:2 A5:2 F#5:4",
                         "E5:3 F#5:3 G5:2 B5:4 A5:4", "A5:6 G5:2 E5:4 C#5:4"] +
          CHORUS_HALF + ["B5:4 A5:2 G5:2 A5:4 B5:4", "C#6:4 B5:2 A5:2 E5:4 C#5:4",
                         "D6:12 r:4", "r:4 E5:2 F#5:2 G5:2 A5:2 C#5:4"],
    "Br": ["B4:8 D5:4 F#5:4", "G5:12 F#5:4", "F#5:8 E5:4 D5:4", "E5:16",
           "B4:8 D5:4 F#5:4", "B5:12 A5:4", "G5:8 F#5:4 E5:4", "A#4:8 C#5:4 E5:4",
           "D5:8 F#5:4 B5:4", "B5:8 A5:4 G5:4", "A5:8 F#5:4 D5:4", "E5:16",
           "D5:4 E5:4 G5:4 B5:4", "B5:8 G5:4 E5:4", "F#5:8 E5:4 C#5:4", "E5:12 r:4"],
    "In": ["r:16"] * 8,
    "Tn": LEAD_IN,
}

MARIMBA_SOLO = [
    "B5:2 F#5:2 D5:2 F#5:2 B5:2 F#5:2 D5:2 F#5:2",
    "B5:2 G5:2 D5:2 G5:2 B5:2 G5:2 D5:2 G5:2",
    "A5:2 F#5:2 D5:2 F#5:2 A5:2 F#5:2 D5:2 F#5:2",
    "A5:2 E5:2 C#5:2 E5:2 A5:2 E5:2 C#5:2 E5:2",
    "D6:2 B5:2 F#5:2 B5:2 D6:2 B5:2 F#5:2 B5:2",
    "D6:2 B5:2 G5:2 B5:2 D6:2 B5:2 G5:2 B5:2",
    "E6:2 B5:2 G5:2 B5:2 D6:2 B5:2 G5:2 E5:2",
    "C#6:2 A5:2 E5:2 A5:2 C#6:2 A5:2 E5:2 C#5:2",
]

# Each section: (name, dressing); the loop starts at the first verse.
GAME_INTRO = [("count", "count"), ("riff", "riff"), ("lead-in", "lead-in")]
GAME_ORDER = [("V", "verse"), ("Ch", "chorus"), ("V", "verse2"), ("Ch", "chorus2"),
              ("Br", "bridge"), ("In", "interlude"), ("Tn", "lead-in")]

FILL = [(SNARE, "........xxxx...."), (HIGH_TOM, "............xx.."),
        (MID_TOM, "..............x."), (FLOOR_TOM, "...............x"),
        (KICK, "x.....x.........")]

GROOVES = {
    "count": [(SIDE_STICK, "x...x...x...x...")],
    "riff": [(KICK, "x.......x......."), (CLOSED_HAT, "x.x.x.x.x.x.x.x.")],
    "verse": [(KICK, "x.....x.x......."), (SNARE, "....x.......x..."),
              (CLOSED_HAT, "x.x.x.x.x.x.x.x.")],
    "chorus": [(KICK, "x.....x.x.....x."), (SNARE, "....X.......X..."),
               (CLOSED_HAT, "x...x...x...x..."), (OPEN_HAT, "..x...x...x...x.")],
    "bridge": [(KICK, "x.........x....."), (SNARE, "........X......."),
               (RIDE, "x.x.x.x.x.x.x.x.")],
    "interlude": [(KICK, "x...x...x...x..."), (CLAP, "....x.......x..."),
                  (CLOSED_HAT, "xoxoxoxoxoxoxoxo")],
}


def GameBar(piece, parts, tick, chord, style, barIndex, barCount, state):
    lead, piano, strings, bass, marimba, drums = parts
    s = SIXTEENTH
    root = chord.BassKey(38)
    fifth = chord.Tone(2, chord.Tone(0, 38))
    # Bass lines, written as (sixteenth, length, which note).
    lines = {
        "verse": "0:2:R 2:2:R 4:2:O 6:2:R 8:2:R 10:2:R 12:2:O 14:2:R",
        "chorus": "0:2:R 2:2:R 4:2:O 6:2:R 8:2:F 10:2:R 12:2:O 14:2:F",
        "bridge": "0:6:R 6:2:R 8:4:R 12:4:F",
        "interlude": "0:3:R 3:3:R 6:2:O 8:2:R 10:2:F 12:2:O 14:2:R",
    }
    line = {"riff": "verse", "verse2": "verse", "chorus2": "chorus",
            "lead-in": "chorus"}.get(style, style)
    if line in lines:
        for item in lines[line].split():
            start, length, which = item.split(":")
            key = {"R": root, "O": root + 12, "F": fifth}[which]
            bass.Note(tick + int(start) * s, int(int(length) * s * 0.85), key,
                      92 if start == "0" else 80)
    # Electric piano: off-beat stabs, a syncopated push in the choruses, long chords in the
    # bridge.
    if style not in ("count", "riff") or barIndex >= 4:
        keys = Voicing(chord, state.get("piano"), 55, 74, 4 if len(chord.intervals) > 3 else 3)
        state["piano"] = keys
        if style in ("chorus", "chorus2", "lead-in"):
            hits = [(0, 3), (3, 3), (6, 2), (10, 3), (13, 3)]
        elif style == "bridge":
            hits = [(0, 15)]
        else:
            hits = [(2, 1), (6, 1), (10, 1), (14, 1)]
        for start, length in hits:
            for key in keys:
                piano.Note(tick + start * s, int(length * s * 0.8), key, 58 if start else 64)
    # Strings carry the choruses and the bridge, and swell under the intro's lead-in.
    if style in ("chorus", "chorus2", "bridge", "verse2", "lead-in"):
        keys = Voicing(chord, state.get("strings"), 62, 81, 3)
        state["strings"] = keys
        for key in keys:
            strings.Note(tick, piece.bar - 96, key, 52 if style == "verse2" else 60)
    # Marimba: a bouncing arpeggio under the intro riff, the second verse and the choruses.
    if style in ("riff", "verse2", "chorus2"):
        base = chord.Tone(0, 62 if style == "riff" else 67)
        tones = {"R": base, "T": chord.Tone(1, base), "F": chord.Tone(2, base), "8": base + 12}
        for i, which in enumerate("R.FT.F8F"):
            if which != ".":
                marimba.Note(tick + 2 * i * s, 2 * s, tones[which], 70 if i == 0 else 58)
    # Drums: the section's groove, a crash at each eight-bar phrase, and fills.
    groove = GROOVES[{"verse2": "verse", "chorus2": "chorus", "lead-in": "chorus"}.get(
        style, style)]
    if style == "riff" and barIndex >= 4:
        groove = GROOVES["verse"]
    lastBar = barIndex == barCount - 1
    if lastBar and style in ("lead-in", "chorus", "chorus2", "bridge", "interlude"):
        groove = FILL
    elif barIndex % 8 == 7 and style not in ("count", "riff"):
        groove = groove + [(SNARE, "..............xx")]
    Drums(drums, tick, s, groove, 84)
    if barIndex % 8 == 0 and style not in ("count", "lead-in"):
        drums.Note(tick, 192, CRASH, 88)


def ComposeGame():
    piece = Piece("Parrun game", 150, 4, 2, 52, 420, 4)
    parts = (
        piece.AddPart("Lead", 0, 80, 78, 64, reverb=40, chorus=20),
        piece.AddPart("Electric piano", 1, 4, 84, 44, reverb=40),
        piece.AddPart("Strings", 2, 49, 76, 84, reverb=70),
        piece.AddPart("Bass", 3, 33, 104, 64, reverb=10),
        piece.AddPart("Marimba", 4, 12, 90, 76, reverb=50),
        piece.AddPart("Drums", DRUMS, 0, 92, 64, reverb=30),
    )
    lead, marimba = parts[0], parts[4]
    state = {}
    tick = 0
    for name, style in GAME_INTRO + GAME_ORDER:
        chords = [Chord(symbol) for symbol in GAME_SECTIONS[name].split()]
        PlaceMelody(lead, tick, GAME_LEAD[name], 16, SIXTEENTH, 88, gate=0.85,
                    accent=lambda offset: 10 if offset % 4 == 0 else 0)
        if name == "In":
            PlaceMelody(marimba, tick, MARIMBA_SOLO, 16, SIXTEENTH, 78, gate=1.0,
                        accent=lambda offset: 12 if offset % 8 == 0 else 0)
        for index, chord in enumerate(chords):
            ForgetVoicingsBeforeLoopStart(piece, tick, state)
            GameBar(piece, parts, tick, chord, style, index, len(chords), state)
            tick += piece.bar
        if name == "lead-in" and tick != piece.loopStart:
            raise ValueError("game intro ends at %d, not at its loop start" % tick)
    if tick != piece.loopEnd:
        raise ValueError("game ends at %d, not at its loop end %d" % (tick, piece.loopEnd))
    return piece


def main(argv):
    if len(argv) != 2:
        sys.stderr.write("usage: make_music.py OUTPUT_DIR\n")
        return 2
    os.makedirs(argv[1], exist_ok=True)
    for name, compose in (("title.mid", ComposeTitle), ("game.mid", ComposeGame)):
        with open(os.path.join(argv[1], name), "wb") as out:
            out.write(compose().Bytes())
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
