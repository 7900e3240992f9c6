#!/usr/bin/python3
"""Builds the game's phrase file, data/drel.txt, from the UTF-8 collection beside this tool.

The output is the same text in code page 932 with LF line ends, so the same source always gives
the same bytes.
"""

import argparse
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import phrase_file  # noqa: E402

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(os.path.dirname(HERE))


def main(argv=None):
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--source", default=os.path.join(HERE, "phrases.txt"))
    parser.add_argument("--out", default=os.path.join(ROOT, "data", "drel.txt"))
    args = parser.parse_args(argv)
    with open(args.source, "rb") as f:
        raw = f.read()
    try:
        data = phrase_file.encode(raw.decode("utf-8"))
    except UnicodeDecodeError as e:
        print(f"{args.source}: not UTF-8 at byte {e.start}", file=sys.stderr)
        return 1
    except ValueError as e:
        print(f"{args.source}: {e}", file=sys.stderr)
        return 1
    with open(args.out, "wb") as f:
        f.write(data)
    return 0


if __name__ == "__main__":
    sys.exit(main())
