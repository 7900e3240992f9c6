#!/bin/bash
# Rebuilds the sound effects into a temporary folder, requires them to match data/se byte for
# byte, and checks their format, length, edges, level and distinctness.
# Run from the repository root.
set -euo pipefail
export PYTHONDONTWRITEBYTECODE=1
here=tools/sound
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

(cd "$here" && /usr/bin/python3 -m unittest -q test_wave_check)

/usr/bin/python3 "$here/make_sounds.py" "$work"
status=0
bash tools/compare_built.sh "$work" data/se "*.wav" "$here/make_sounds.py" || status=1
/usr/bin/python3 "$here/wave_check.py" data/se || status=1
exit $status
