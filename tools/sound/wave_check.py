#!/usr/bin/python3
"""Checks the game's sound-effect folder and prints what each effect measures.

Usage: wave_check.py SE_DIR

Each file must be a plain canonical PCM WAVE file (44-byte header, 16-bit, 44100 Hz, mono or
stereo) that the game's small RIFF reader takes as it is; shorter than a second (the key tick,
played on every correct key, shorter than 80 ms); fading in and out so that it never clicks;
loud enough to hear and below full scale. No two effects may sound alike.
Exits 1 and names every fault when one is found.
"""

import os
import struct
import sys

import numpy as np

RATE = 44100
EXPECTED = [
    "select.wav", "decide1.wav", "type1.wav", "miss1.wav", "cool.wav",
    "lifeup1.wav", "start1.wav", "start2.wav", "end1.wav",
]
MAX_SECONDS = {"type1.wav": 0.080}
DEFAULT_MAX_SECONDS = 1.0
EDGE_LIMIT = 64  # first and last sample, out of 32767
EDGE_SECONDS = 0.0005  # the opening and closing half millisecond ...
EDGE_SHARE = 0.35  # ... stay below this share of the peak
MAX_PEAK = 0.9 * 32767
MIN_PEAK = 0.1 * 32767
MAX_LIKENESS = 0.8  # cosine similarity of two effects' band spectra


def ReadWave(path):
    """Returns (samples as float array frames x channels, None) or (None, fault)."""
    with open(path, "rb") as f:
        blob = f.read()
    if len(blob) < 44:
        return None, "shorter than a 44-byte header"
    riff, riffSize, wave = struct.unpack_from("<4sI4s", blob, 0)
    if riff != b"RIFF" or wave != b"WAVE":
        return None, "not a RIFF WAVE file"
    if riffSize != len(blob) - 8:
        return None, "RIFF size %d does not match the file (%d)" % (riffSize, len(blob) - 8)
    fmtId, fmtSize, tag, channels, rate, byteRate, blockAlign, bits = struct.unpack_from(
        "<4sIHHIIHH", blob, 12)
    if fmtId != b"fmt " or fmtSize != 16:
        return None, "the first chunk is not a 16-byte \"fmt \" chunk"
    if tag != 1 or bits != 16 or rate != RATE or channels not in (1, 2):
        return None, "format %d, %d bits, %d Hz, %d channels; want PCM, 16 bits, %d Hz" % (
            tag, bits, rate, channels, RATE)
    if blockAlign != channels * 2 or byteRate != rate * blockAlign:
        return None, "block alignment or byte rate inconsistent with the format"
    dataId, dataSize = struct.unpack_from("<4sI", blob, 36)
    if dataId != b"data":
        return None, "no \"data\" chunk right after \"fmt \""
    if dataSize != len(blob) - 44 or dataSize % blockAlign:
        return None, "data size %d does not match the file" % dataSize
    samples = np.frombuffer(blob, dtype="<i2", offset=44).astype(np.float64)
    return samples.reshape(-1, channels), None


def Faults(name, frames):
    """Every rule the effect breaks, as sentences."""
    faults = []
    seconds = len(frames) / RATE
    limit = MAX_SECONDS.get(name, DEFAULT_MAX_SECONDS)
    if len(frames) == 0:
        return ["holds no samples"]
    if seconds >= limit:
        faults.append("lasts %.3f s, not under %.3f s" % (seconds, limit))
    peak = np.abs(frames).max()
    if peak >= MAX_PEAK:
        faults.append("peak %d is too near full scale" % peak)
    if peak < MIN_PEAK:
        faults.append("peak %d is too quiet" % peak)
    if np.abs(frames[0]).max() > EDGE_LIMIT or np.abs(frames[-1]).max() > EDGE_LIMIT:
        faults.append("first or last sample far from zero: it clicks")
    edge = max(1, int(EDGE_SECONDS * RATE))
    if max(np.abs(frames[:edge]).max(), np.abs(frames[-edge:]).max()) > EDGE_SHARE * peak:
        faults.append("starts or stops abruptly: it clicks")
    return faults


def BandSpectrum(frames):
    """Energy in third-octave bands from 50 Hz to 16 kHz, normalised to unit length."""
    mono = frames.mean(axis=1)
    spectrum = np.abs(np.fft.rfft(mono, 65536)) ** 2
    freqs = np.fft.rfftfreq(65536, 1.0 / RATE)
    edges = 50.0 * 2.0 ** (np.arange(26) / 3.0)
    bands = np.array([spectrum[(freqs >= lo) & (freqs < hi)].sum()
                      for lo, hi in zip(edges[:-1], edges[1:])])
    return bands / np.linalg.norm(bands)


def Likeness(a, b):
    """How alike two effects sound: spectra and lengths both have to match to score near 1."""
    lengthRatio = min(len(a), len(b)) / max(len(a), len(b))
    return float(np.dot(BandSpectrum(a), BandSpectrum(b))) * lengthRatio


def NoteName(frequency):
    names = ["C", "C#", "D", "D#", "E", "F", "F#", "G", "G#", "A", "A#", "B"]
    semitone = int(round(12 * np.log2(frequency / 440.0))) + 57
    return "%s%d" % (names[semitone % 12], semitone // 12)


def Measure(frames):
    """Duration (ms), peak and RMS (dBFS), spectral centroid and strongest frequency (Hz)."""
    mono = frames.mean(axis=1)
    spectrum = np.abs(np.fft.rfft(mono, 65536))
    freqs = np.fft.rfftfreq(65536, 1.0 / RATE)
    centroid = float((spectrum * freqs).sum() / spectrum.sum())
    strongest = float(freqs[np.argmax(spectrum[1:]) + 1])
    peak = np.abs(frames).max() / 32768.0
    rms = np.sqrt((frames ** 2).mean()) / 32768.0
    return (1000.0 * len(frames) / RATE, 20 * np.log10(peak), 20 * np.log10(rms), centroid,
            strongest)


def CheckFolder(folder, report=print):
    """Returns the list of faults found in the folder; reports the measurements of each file."""
    faults = []
    present = sorted(n for n in os.listdir(folder) if n.lower().endswith(".wav"))
    for name in sorted(set(present) - set(EXPECTED)):
        faults.append("%s: not one of the game's effects" % name)
    loaded = {}
    for name in EXPECTED:
        path = os.path.join(folder, name)
        if not os.path.exists(path):
            faults.append("%s: missing" % name)
            continue
        frames, fault = ReadWave(path)
        if fault:
            faults.append("%s: %s" % (name, fault))
            continue
        faults.extend("%s: %s" % (name, f) for f in Faults(name, frames))
        loaded[name] = frames
        ms, peak, rms, centroid, strongest = Measure(frames)
        report("%-12s %5.0f ms  peak %6.1f dBFS  rms %6.1f dBFS  centroid %5.0f Hz  "
               "strongest %5.0f Hz (%s)" % (name, ms, peak, rms, centroid, strongest,
                                            NoteName(strongest)))
    names = list(loaded)
    for i, first in enumerate(names):
        for second in names[i + 1:]:
            likeness = Likeness(loaded[first], loaded[second])
            if likeness > MAX_LIKENESS:
                faults.append("%s and %s sound alike (%.3f)" % (first, second, likeness))
    return faults


def main(argv):
    if len(argv) != 2:
        sys.stderr.write("usage: wave_check.py SE_DIR\n")
        return 2
    faults = CheckFolder(argv[1])
    for fault in faults:
        print("FAULT " + fault)
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
