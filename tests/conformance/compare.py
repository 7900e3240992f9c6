#!/usr/bin/env python3
"""Compares the conformance program's facts on our layer with its facts on Windows (Wine):
compare.py LAYER_FACTS WINDOWS_FACTS KNOWN_DIFFERENCES

Every line where the two differ must be listed in KNOWN_DIFFERENCES ("layer LINE" for a line
only our layer gives, "windows LINE" for one only Windows gives), with its reason above it.
"""
import difflib
import sys


def read_lines(path):
    with open(path, encoding="utf-8", errors="replace") as facts:
        return [line.rstrip("\r\n") for line in facts]


def read_known(path):
    known = {"layer": set(), "windows": set()}
    for line in read_lines(path):
        if not line or line.startswith("#"):
            continue
        side, _, fact = line.partition(" ")
        known[side].add(fact)
    return known


def main():
    layer, windows, known = read_lines(sys.argv[1]), read_lines(sys.argv[2]), read_known(sys.argv[3])
    unlisted = []
    listed = 0
    matcher = difflib.SequenceMatcher(a=layer, b=windows, autojunk=False)
    for tag, a0, a1, b0, b1 in matcher.get_opcodes():
        if tag == "equal":
            continue
        for side, lines in (("layer", layer[a0:a1]), ("windows", windows[b0:b1])):
            for line in lines:
                if line in known[side]:
                    listed += 1
                else:
                    unlisted.append(f"{side:7} {line}")
    print(f"conformance: {len(layer)} facts on our layer, {len(windows)} on Windows; "
          f"{listed} differing lines listed with their reasons")
    for line in unlisted:
        print(f"UNLISTED {line}")
    if windows[-1:] != ["end"] or layer[-1:] != ["end"]:
        print("FAIL a run did not reach its end")
        return 1
    return 1 if unlisted else 0


if __name__ == "__main__":
    sys.exit(main())
