"""Small music-writing helpers: note names, melodies written as text, chord symbols, voicings,
and a Part that collects one channel's notes.

Melodies are written as tokens "PITCH:LENGTH", lengths counted in a unit the caller chooses,
"r:LENGTH" for a rest, e.g. "A4:2 C5:2 F5:2". Pitches are C4 = 60, sharps "#", flats "b".
"""

_STEPS = {"C": 0, "D": 2, "E": 4, "F": 5, "G": 7, "A": 9, "B": 11}


def PitchClass(name):
    """'C' -> 0, 'F#' -> 6, 'Bb' -> 10."""
    if not name or name[0] not in _STEPS:
        raise ValueError("not a note name: %r" % name)
    value = _STEPS[name[0]]
    for accidental in name[1:]:
        if accidental == "#":
            value += 1
        elif accidental == "b":
            value -= 1
        else:
            raise ValueError("not a note name: %r" % name)
    return value % 12


def NoteNumber(name):
    """'C4' -> 60, 'A4' -> 69, 'Bb3' -> 58, 'B#3' -> 60."""
    split = len(name)
    while split > 0 and (name[split - 1].isdigit() or name[split - 1] == "-"):
        split -= 1
    if split == len(name) or split == 0:
        raise ValueError("not a pitch: %r" % name)
    letter = name[:split]
    octave = int(name[split:])
    offset = _STEPS.get(letter[0])
    if offset is None:
        raise ValueError("not a pitch: %r" % name)
    offset += letter.count("#") - letter.count("b")
    if len(letter) != 1 + letter.count("#") + letter.count("b"):
        raise ValueError("not a pitch: %r" % name)
    number = 12 * (octave + 1) + offset
    if not 0 <= number <= 127:
        raise ValueError("pitch out of range: %r" % name)
    return number


def ParseMelody(text):
    """Returns ([(offset, length, key or None for a rest)], total length)."""
    notes = []
    now = 0
    for token in text.split():
        pitch, sep, length = token.partition(":")
        if not sep or not length.isdigit() or int(length) == 0:
            raise ValueError("bad melody token %r" % token)
        key = None if pitch == "r" else NoteNumber(pitch)
        notes.append((now, int(length), key))
        now += int(length)
    return notes, now


# Chord qualities as intervals above the root.
_QUALITIES = {
    "": (0, 4, 7),
    "m": (0, 3, 7),
    "7": (0, 4, 7, 10),
    "m7": (0, 3, 7, 10),
    "maj7": (0, 4, 7, 11),
    "sus4": (0, 5, 7),
    "7sus": (0, 5, 7, 10),
    "add9": (0, 4, 7, 14),
}


class Chord:
    """A chord symbol such as "F", "Dm7", "C7sus", "F/A", "Bb/C": its root, its pitch classes
    (root first) and the pitch class its bass plays."""

    def __init__(self, symbol):
        self.symbol = symbol
        head, _, bass = symbol.partition("/")
        size = 2 if len(head) > 1 and head[1] in "#b" else 1
        self.root = PitchClass(head[:size])
        quality = head[size:]
        if quality not in _QUALITIES:
            raise ValueError("unknown chord %r" % symbol)
        self.intervals = _QUALITIES[quality]
        self.pitchClasses = [(self.root + i) % 12 for i in self.intervals]
        self.bass = PitchClass(bass) if bass else self.root

    def Tone(self, index, low):
        """The chord's index-th tone (0 root, 1 third, 2 fifth, 3 seventh; higher indices wrap
        an octave up) at or above the key `low`."""
        octave, position = divmod(index, len(self.intervals))
        pc = self.pitchClasses[position]
        key = low + (pc - low) % 12
        return key + 12 * octave

    def BassKey(self, low):
        """The bass note at or above `low`."""
        return low + (self.bass - low) % 12


def Voicing(chord, previous, low, high, size):
    """`size` keys between low and high holding the chord's tones (all of them when it has
    no more than `size`), chosen to move as little as possible from `previous`."""
    tones = chord.pitchClasses[:size]
    candidates = [k for k in range(low, high + 1) if k % 12 in tones]
    best = None
    # Every voicing is a rising run of `size` candidate keys spanning at most an octave and a half
    # that covers the chord's tones.
    def Search(start, chosen):
        nonlocal best
        if len(chosen) == size:
            if set(k % 12 for k in chosen) >= set(tones) and chosen[-1] - chosen[0] <= 19:
                if previous:
                    cost = sum(abs(a - b) for a, b in zip(chosen, previous))
                else:
                    cost = abs(sum(chosen) / size - (low + high) / 2)
                if best is None or cost < best[0]:
                    best = (cost, list(chosen))
            return
        for i in range(start, len(candidates)):
            if chosen and candidates[i] - chosen[0] > 19:
                break
            Search(i + 1, chosen + [candidates[i]])

    Search(0, [])
    if best is None:
        raise ValueError("no voicing of %s between %d and %d" % (chord.symbol, low, high))
    return best[1]


class Part:
    """One channel's notes, in ticks."""

    def __init__(self, name, channel, program, volume, pan, reverb=40, chorus=0):
        self.name = name
        self.channel = channel
        self.program = program
        self.volume = volume
        self.pan = pan
        self.reverb = reverb
        self.chorus = chorus
        self.notes = []  # (tick, length, key, velocity)

    def Note(self, tick, length, key, velocity):
        self.notes.append((tick, length, key, max(1, min(127, int(round(velocity))))))

    def Melody(self, tick, text, unit, velocity, gate=0.92, accent=None):
        """Places a written melody at `tick`; returns its length in ticks. `accent` maps an
        offset within the bar (in units) to a velocity change."""
        notes, total = ParseMelody(text)
        for offset, length, key in notes:
            if key is None:
                continue
            extra = accent(offset) if accent else 0
            self.Note(tick + offset * unit, max(1, int(length * unit * gate)), key,
                      velocity + extra)
        return total * unit
