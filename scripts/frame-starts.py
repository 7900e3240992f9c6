#!/usr/bin/python3
"""Prints how far apart frames started in a recording made by `parrun --record`.

A frame starts with the program looking at its messages (a `pump` line) and reading the
clock; the first clock reading after a `pump` is taken as the frame's start. Prints the
number of frames and the median, 99th percentile and largest gap between consecutive
starts, in milliseconds, over the last FRAMES frames (default all).

Usage: frame-starts.py RECORDING [FRAMES]
"""
import sys


def frame_starts(lines):
    starts = []
    after_pump = False
    for line in lines:
        words = line.split()
        if not words or words[0].startswith("#"):
            continue
        if words[0] == "pump":
            after_pump = True
        elif words[0] == "clock" and after_pump:
            starts.append(int(words[1]))
            after_pump = False
        elif words[0] == "wait":
            after_pump = False
    return starts


def percentile(sorted_values, fraction):
    index = min(len(sorted_values) - 1, int(round(fraction * (len(sorted_values) - 1))))
    return sorted_values[index]


def main():
    if len(sys.argv) not in (2, 3):
        sys.exit(__doc__)
    with open(sys.argv[1], encoding="utf-8") as f:
        starts = frame_starts(f)
    if len(sys.argv) == 3:
        starts = starts[-(int(sys.argv[2]) + 1):]
    gaps = sorted(((b - a) & 0xFFFFFFFF) for a, b in zip(starts, starts[1:]))
    if not gaps:
        sys.exit("no frames in the recording")
    print(f"frames {len(gaps)} median {percentile(gaps, 0.5)} ms "
          f"p99 {percentile(gaps, 0.99)} ms worst {gaps[-1]} ms")


if __name__ == "__main__":
    main()
