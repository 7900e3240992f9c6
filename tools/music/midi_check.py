#!/usr/bin/python3
"""Checks the game's two background pieces and prints what they measure.

Usage: midi_check.py BGM_DIR [--no-render]

Each file must be a format-1 Standard MIDI File with General MIDI programs, notes on at least
three melodic channels and drums on channel 10, reaching at least its loop end. The loop must
repeat seamlessly: no note sounds across the loop start or the loop end, every channel setting
in force at the loop end is the one in force at the loop start, and the bar before the loop end
is the bar before the loop start, so that the jump back sounds like the first arrival.
Then each file is rendered with FluidSynth and Debian's General MIDI sound font; the audio must
be neither silent nor clipped, with no silent second inside the piece; and a rendering of the
piece looped once must sound the same after the jump back as after the first arrival.
Exits 1 and names every fault when one is found.
"""

import os
import subprocess
import sys
import tempfile

import numpy as np

import smf

SOUND_FONT = "/usr/share/sounds/sf2/FluidR3_GM.sf2"
RATE = 44100
DRUMS = 9
# file: (loop start, loop end) in quarter notes
PIECES = {"title.mid": (12, 276), "game.mid": (52, 420)}
SEAM_LIKENESS = 0.9  # share of the bar before the loop end found in the bar before the start
SILENT_DBFS = -60.0  # a second quieter than this counts as silence
SEAM_SECONDS = 4.0  # how long after the loop start the two passes are compared
SEAM_BLOCK = 0.1  # seconds in one level reading
SEAM_TOLERANCE_DB = 1.0  # largest difference of a level reading between the two passes
CLIP_LEVEL = 32767


def Notes(tracks):
    """[(on tick, off tick, channel, key, velocity)] of every track; a note still on at the end
    of its track ends there."""
    notes = []
    for track in tracks:
        sounding = {}
        end = track[-1][0] if track else 0
        for tick, event in track:
            if event.kind == "note_on":
                key = (event.channel, event.data[0])
                if key in sounding:
                    start, velocity = sounding.pop(key)
                    notes.append((start, tick, key[0], key[1], velocity))
                sounding[key] = (tick, event.data[1])
            elif event.kind == "note_off":
                key = (event.channel, event.data[0])
                if key in sounding:
                    start, velocity = sounding.pop(key)
                    notes.append((start, tick, key[0], key[1], velocity))
        for (channel, key), (start, velocity) in sounding.items():
            notes.append((start, end, channel, key, velocity))
    return sorted(notes)


def SettingsAt(tracks, tick, inclusive):
    """The value of every channel setting (program, controller, pitch bend) and of the tempo
    after the events before `tick` (or at it too, when `inclusive`)."""
    state = {}
    for track in tracks:
        for when, event in track:
            if when > tick or (when == tick and not inclusive):
                break
            if event.kind == "program":
                state[("program", event.channel)] = event.data[0]
            elif event.kind == "control":
                state[("control", event.channel, event.data[0])] = event.data[1]
            elif event.kind == "pitch":
                state[("pitch", event.channel)] = event.data[0]
            elif event.kind == "tempo":
                state[("tempo",)] = event.data[0]
    return state


def SettingsSetAt(tracks, tick):
    """The settings that events at `tick` itself set."""
    keys = set()
    for track in tracks:
        keys.update(SettingsAt([[item for item in track if item[0] == tick]], tick, True))
    return keys


def BarBefore(notes, tick, barTicks):
    """The notes that start in the bar ending at `tick`, as (offset in bar, channel, key)."""
    return {(on - (tick - barTicks), channel, key)
            for on, off, channel, key, _ in notes if tick - barTicks <= on < tick}


def BarTicks(tracks, division):
    for track in tracks:
        for _, event in track:
            if event.kind == "meta" and event.data[0] == 0x58 and len(event.data[1]) >= 2:
                numerator, power = event.data[1][0], event.data[1][1]
                return numerator * division * 4 // (2 ** power)
    return 4 * division


def StructureFaults(blob, loopStart, loopEnd):
    """Every rule of the file's layout and loop that it breaks, as sentences."""
    try:
        fileFormat, division, tracks = smf.Read(blob)
    except ValueError as error:
        return ["unreadable: %s" % error]
    faults = []
    if fileFormat != 1:
        faults.append("format %d, not 1" % fileFormat)
    start, end = loopStart * division, loopEnd * division
    length = max((track[-1][0] for track in tracks if track), default=0)
    if length < end:
        faults.append("lasts %.2f quarter notes, shorter than its loop end %d" %
                      (length / division, loopEnd))
    notes = Notes(tracks)
    channels = {channel for _, _, channel, _, _ in notes}
    if DRUMS not in channels:
        faults.append("no drums on channel 10")
    if len(channels - {DRUMS}) < 3:
        faults.append("notes on %d melodic channels; melody, harmony and bass need 3" %
                      len(channels - {DRUMS}))
    firstNote = {}
    for on, _, channel, _, _ in notes:
        firstNote.setdefault(channel, on)
    programs = SettingsAt(tracks, 0, True)
    for channel in sorted(channels - {DRUMS}):
        if ("program", channel) not in SettingsAt(tracks, firstNote[channel], True):
            faults.append("channel %d plays before any program is chosen" % (channel + 1))
        elif ("program", channel) not in programs:
            faults.append("channel %d chooses its program after the start" % (channel + 1))
    for on, off, channel, key, _ in notes:
        where = "channel %d key %d at %.2f" % (channel + 1, key, on / division)
        if on < start <= off:
            faults.append("%s sounds across the loop start" % where)
        if on < end <= off:
            faults.append("%s is still on at the loop end" % where)
        if on >= end:
            faults.append("%s starts at or after the loop end and is never looped" % where)
    before, atEnd = SettingsAt(tracks, start, False), SettingsAt(tracks, end, False)
    setAtStart = SettingsSetAt(tracks, start)
    for key in sorted(set(before) | set(atEnd), key=str):
        if key not in setAtStart and before.get(key) != atEnd.get(key):
            faults.append("setting %s is %s at the loop start but %s at the loop end" %
                          (key, before.get(key), atEnd.get(key)))
    bar = BarTicks(tracks, division)
    lastOfLoop, lastOfIntro = BarBefore(notes, end, bar), BarBefore(notes, start, bar)
    if lastOfLoop:
        shared = len(lastOfLoop & lastOfIntro) / len(lastOfLoop)
        if shared < SEAM_LIKENESS:
            faults.append("the bar before the loop end shares only %.0f%% of its notes with "
                          "the bar before the loop start" % (100 * shared))
    else:
        faults.append("the bar before the loop end is empty")
    return faults


def Render(path, wavePath, chorus=True):
    # FluidSynth's chorus runs freely across the whole rendering, so it is left out where
    # two passes of the same music are compared.
    options = [] if chorus else ["-C", "0"]
    subprocess.run(["fluidsynth", "-n", "-i", "-q", "-F", wavePath, "-r", str(RATE),
                    "-T", "wav", "-O", "s16"] + options + [SOUND_FONT, path],
                   check=True, stdout=subprocess.DEVNULL, stdin=subprocess.DEVNULL)
    with open(wavePath, "rb") as f:
        blob = f.read()
    position = 12
    while position + 8 <= len(blob):
        chunk = blob[position:position + 4]
        size = int.from_bytes(blob[position + 4:position + 8], "little")
        if chunk == b"data":
            data = np.frombuffer(blob[position + 8:position + 8 + size], dtype="<i2")
            return data.reshape(-1, 2).astype(np.float64)
        position += 8 + size + (size & 1)
    raise ValueError("FluidSynth wrote no samples")


def LoopedBytes(blob, loopStart, loopEnd):
    """The file as a player hears it looped once: up to the loop end, then the loop again."""
    _, division, tracks = smf.Read(blob)
    start, end = loopStart * division, loopEnd * division
    writers = []
    for track in tracks:
        writer = smf.TrackWriter()
        passes = [(0, 0, end), (end - start, start, end)]
        for shift, first, last in passes:
            for tick, event in track:
                if not first <= tick < last:
                    continue
                if event.kind in ("note_on", "note_off", "control", "program", "pitch"):
                    writer.Add(tick + shift, event.kind, event.channel, event.data)
                elif event.kind in ("tempo", "meta"):
                    writer.Add(tick + shift, event.kind, data=event.data)
        writers.append(writer)
    return smf.FileBytes(writers, division, 2 * end - start)


def Levels(frames, begin, seconds):
    """Level readings (dBFS) of SEAM_BLOCK seconds each from `begin` seconds on."""
    block = int(SEAM_BLOCK * RATE)
    first = int(round(begin * RATE))
    return [Decibels(np.sqrt((frames[i:i + block] ** 2).mean()))
            for i in range(first, first + int(seconds * RATE), block)]


def SeamFaults(frames, firstArrival, loopBack):
    """Compares what is heard after the first arrival at the loop start with what is heard
    after the jump back from the loop end; also requires no silence around the jump."""
    first = Levels(frames, firstArrival, SEAM_SECONDS)
    again = Levels(frames, loopBack, SEAM_SECONDS)
    around = Levels(frames, loopBack - 1.0, 2.0)
    faults = []
    worst = max(abs(a - b) for a, b in zip(first, again))
    if worst > SEAM_TOLERANCE_DB:
        faults.append("after the jump back the music differs from its first pass by up to "
                      "%.1f dB" % worst)
    if min(around) < SILENT_DBFS:
        faults.append("silence at the jump back (%.1f dBFS)" % min(around))
    return faults, worst


def Decibels(value):
    return 20.0 * np.log10(max(value, 1e-9) / 32768.0)


def AudioFaults(frames, seconds):
    """Faults of a rendering whose music lasts `seconds`, and its measurements."""
    faults = []
    peak = np.abs(frames).max() if len(frames) else 0.0
    rms = np.sqrt((frames ** 2).mean()) if len(frames) else 0.0
    clipped = int((np.abs(frames) >= CLIP_LEVEL).sum())
    if clipped:
        faults.append("%d samples at full scale: it clips" % clipped)
    if Decibels(rms) < SILENT_DBFS:
        faults.append("silent (RMS %.1f dBFS)" % Decibels(rms))
    whole = min(int(seconds), len(frames) // RATE)
    windows = frames[:whole * RATE].reshape(whole, RATE, -1) if whole else np.zeros((0, 1, 2))
    levels = [Decibels(np.sqrt((w ** 2).mean())) for w in windows]
    quietest = min(levels) if levels else -200.0
    if quietest < SILENT_DBFS:
        faults.append("second %d of the music is silent (%.1f dBFS)" %
                      (levels.index(quietest), quietest))
    return faults, (Decibels(peak), Decibels(rms), quietest, max(levels, default=-200.0))


def Seconds(blob, ticks):
    """How long the first `ticks` of the file play, following its tempo changes."""
    _, division, tracks = smf.Read(blob)
    changes = sorted((tick, event.data[0]) for track in tracks for tick, event in track
                     if event.kind == "tempo")
    seconds, now, tempo = 0.0, 0, 500000
    for tick, value in changes + [(ticks, None)]:
        tick = min(tick, ticks)
        seconds += (tick - now) * tempo / division / 1e6
        now = tick
        if value is not None:
            tempo = value
    return seconds


def CheckFolder(folder, render=True, report=print):
    faults = []
    for name, (loopStart, loopEnd) in PIECES.items():
        path = os.path.join(folder, name)
        if not os.path.exists(path):
            faults.append("%s: missing" % name)
            continue
        with open(path, "rb") as f:
            blob = f.read()
        found = StructureFaults(blob, loopStart, loopEnd)
        faults.extend("%s: %s" % (name, fault) for fault in found)
        if found or not render:
            continue
        _, division, _ = smf.Read(blob)
        seconds = Seconds(blob, loopEnd * division)
        loopSeconds = seconds - Seconds(blob, loopStart * division)
        with tempfile.TemporaryDirectory() as work:
            frames = Render(path, os.path.join(work, "render.wav"))
            looped = os.path.join(work, "looped.mid")
            with open(looped, "wb") as f:
                f.write(LoopedBytes(blob, loopStart, loopEnd))
            loopedFrames = Render(looped, os.path.join(work, "looped.wav"), chorus=False)
        audioFaults, (peak, rms, quietest, loudest) = AudioFaults(frames, seconds)
        seamFaults, seam = SeamFaults(loopedFrames, seconds - loopSeconds, seconds)
        faults.extend("%s: %s" % (name, fault) for fault in audioFaults + seamFaults)
        report("%-10s %6.1f s to the loop end (loop %.1f s)  peak %6.1f dBFS  rms %6.1f dBFS  "
               "seconds from %6.1f to %6.1f dBFS  jump back within %.2f dB" %
               (name, seconds, loopSeconds, peak, rms, quietest, loudest, seam))
    return faults


def main(argv):
    if len(argv) not in (2, 3) or (len(argv) == 3 and argv[2] != "--no-render"):
        sys.stderr.write("usage: midi_check.py BGM_DIR [--no-render]\n")
        return 2
    faults = CheckFolder(argv[1], render=len(argv) == 2)
    for fault in faults:
        print("FAULT " + fault)
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
