"""Writing and reading Standard MIDI Files, as much of them as the music tools use.

A track is built as a list of timed events and written with delta times; reading gives back
every track as a list of (tick, Event), absolute times, running status resolved.
"""

import struct
from collections import namedtuple

# kind: "note_on", "note_off", "control", "program", "pitch", "pressure", "key_pressure",
# "tempo", "meta", "sysex", "end". data holds what the kind needs (see Read).
Event = namedtuple("Event", "kind channel data")


def EncodeVarLen(value):
    if value < 0 or value > 0x0FFFFFFF:
        raise ValueError("variable-length value out of range: %d" % value)
    out = [value & 0x7F]
    value >>= 7
    while value:
        out.append(0x80 | (value & 0x7F))
        value >>= 7
    return bytes(reversed(out))


def DecodeVarLen(blob, pos):
    """Returns (value, next position); raises ValueError on a value longer than four bytes."""
    value = 0
    for count in range(4):
        if pos >= len(blob):
            raise ValueError("variable-length value runs past the end")
        byte = blob[pos]
        pos += 1
        value = (value << 7) | (byte & 0x7F)
        if not byte & 0x80:
            return value, pos
    raise ValueError("variable-length value longer than four bytes")


# Events at the same tick are written in this order: settings before notes, and a note's end
# before a new note of the same key starts.
_ORDER = {"meta": 0, "tempo": 0, "program": 1, "control": 2, "pitch": 3, "note_off": 4,
          "note_on": 5}


class TrackWriter:
    def __init__(self):
        self.events = []

    def Add(self, tick, kind, channel=0, data=()):
        if tick < 0:
            raise ValueError("event before the start: %d" % tick)
        self.events.append((tick, _ORDER[kind], len(self.events), kind, channel, tuple(data)))

    def Name(self, tick, text):
        self.Add(tick, "meta", data=(0x03, text.encode("ascii")))

    def Tempo(self, tick, microsecondsPerQuarter):
        self.Add(tick, "tempo", data=(microsecondsPerQuarter,))

    def TimeSignature(self, tick, numerator, denominator):
        power = denominator.bit_length() - 1
        self.Add(tick, "meta", data=(0x58, bytes([numerator, power, 24, 8])))

    def KeySignature(self, tick, sharps, minor=False):
        self.Add(tick, "meta", data=(0x59, bytes([sharps & 0xFF, 1 if minor else 0])))

    def Program(self, tick, channel, program):
        self.Add(tick, "program", channel, (program,))

    def Control(self, tick, channel, controller, value):
        self.Add(tick, "control", channel, (controller, value))

    def Note(self, tick, length, channel, key, velocity):
        if length <= 0 or not 0 <= key <= 127 or not 1 <= velocity <= 127:
            raise ValueError("bad note at %d: key %d, length %d, velocity %d" %
                             (tick, key, length, velocity))
        self.Add(tick, "note_on", channel, (key, velocity))
        self.Add(tick + length, "note_off", channel, (key, 0))

    def Bytes(self, endTick):
        """The track chunk, its end-of-track event at `endTick` (which no event may pass)."""
        body = bytearray()
        now = 0
        for tick, _, _, kind, channel, data in sorted(self.events):
            if tick > endTick:
                raise ValueError("event at %d after the end of the track (%d)" % (tick, endTick))
            body += EncodeVarLen(tick - now)
            now = tick
            if kind == "meta":
                body += bytes([0xFF, data[0]]) + EncodeVarLen(len(data[1])) + data[1]
            elif kind == "tempo":
                body += bytes([0xFF, 0x51, 3]) + data[0].to_bytes(3, "big")
            elif kind == "program":
                body += bytes([0xC0 | channel, data[0]])
            elif kind == "control":
                body += bytes([0xB0 | channel, data[0], data[1]])
            elif kind == "pitch":
                body += bytes([0xE0 | channel, data[0] & 0x7F, data[0] >> 7])
            elif kind == "note_on":
                body += bytes([0x90 | channel, data[0], data[1]])
            elif kind == "note_off":
                body += bytes([0x80 | channel, data[0], 64])
        body += EncodeVarLen(endTick - now) + b"\xff\x2f\x00"
        return b"MTrk" + struct.pack(">I", len(body)) + bytes(body)


def FileBytes(tracks, division, endTick):
    """A format-1 file of the given TrackWriters, every track ending at `endTick`."""
    head = b"MThd" + struct.pack(">IHHH", 6, 1, len(tracks), division)
    return head + b"".join(track.Bytes(endTick) for track in tracks)


_DATA_BYTES = {0x8: 2, 0x9: 2, 0xA: 2, 0xB: 2, 0xC: 1, 0xD: 1, 0xE: 2}


def _ReadTrack(blob):
    events = []
    pos = 0
    tick = 0
    status = None
    while pos < len(blob):
        delta, pos = DecodeVarLen(blob, pos)
        tick += delta
        if pos >= len(blob):
            raise ValueError("track ends inside an event")
        first = blob[pos]
        if first == 0xFF:
            if pos + 2 > len(blob):
                raise ValueError("track ends inside a meta event")
            kind = blob[pos + 1]
            size, pos = DecodeVarLen(blob, pos + 2)
            payload = blob[pos:pos + size]
            if len(payload) != size:
                raise ValueError("meta event runs past the track")
            pos += size
            if kind == 0x2F:
                events.append((tick, Event("end", None, ())))
                return events
            if kind == 0x51 and size == 3:
                events.append((tick, Event("tempo", None, (int.from_bytes(payload, "big"),))))
            else:
                events.append((tick, Event("meta", None, (kind, bytes(payload)))))
            continue
        if first in (0xF0, 0xF7):
            size, pos = DecodeVarLen(blob, pos + 1)
            if pos + size > len(blob):
                raise ValueError("system-exclusive event runs past the track")
            events.append((tick, Event("sysex", None, (bytes(blob[pos:pos + size]),))))
            pos += size
            status = None
            continue
        if first & 0x80:
            status = first
            pos += 1
        elif status is None:
            raise ValueError("data byte without a status at tick %d" % tick)
        count = _DATA_BYTES.get(status >> 4)
        if count is None or pos + count > len(blob):
            raise ValueError("bad channel event at tick %d" % tick)
        data = tuple(blob[pos:pos + count])
        pos += count
        if any(byte & 0x80 for byte in data):
            raise ValueError("data byte above 127 at tick %d" % tick)
        channel = status & 0x0F
        high = status >> 4
        if high == 0x9 and data[1] > 0:
            events.append((tick, Event("note_on", channel, data)))
        elif high in (0x8, 0x9):
            events.append((tick, Event("note_off", channel, (data[0], 0))))
        elif high == 0xB:
            events.append((tick, Event("control", channel, data)))
        elif high == 0xC:
            events.append((tick, Event("program", channel, data)))
        elif high == 0xE:
            events.append((tick, Event("pitch", channel, (data[0] | data[1] << 7,))))
        elif high == 0xD:
            events.append((tick, Event("pressure", channel, data)))
        else:
            events.append((tick, Event("key_pressure", channel, data)))
    raise ValueError("track has no end-of-track event")


def Read(blob):
    """Returns (format, division, tracks); raises ValueError on a malformed file."""
    if len(blob) < 14 or blob[:4] != b"MThd":
        raise ValueError("no MThd header")
    size, fileFormat, count, division = struct.unpack_from(">IHHH", blob, 4)
    if size < 6:
        raise ValueError("header chunk too short")
    if division & 0x8000 or division == 0:
        raise ValueError("division %d is not ticks per quarter note" % division)
    pos = 8 + size
    tracks = []
    while len(tracks) < count:
        if pos + 8 > len(blob):
            raise ValueError("file holds %d of %d tracks" % (len(tracks), count))
        chunk, length = struct.unpack_from(">4sI", blob, pos)
        pos += 8
        if pos + length > len(blob):
            raise ValueError("chunk runs past the end of the file")
        if chunk == b"MTrk":
            tracks.append(_ReadTrack(blob[pos:pos + length]))
        pos += length
    return fileFormat, division, tracks
