#!/bin/bash
# Recomposes the background music into a temporary folder, requires it to match data/bgm byte
# for byte, checks its layout and loop, and renders it with FluidSynth to check the sound.
# Run from the repository root.
set -euo pipefail
export PYTHONDONTWRITEBYTECODE=1
here=tools/music
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

(cd "$here" && /usr/bin/python3 -m unittest -q test_music)

/usr/bin/python3 "$here/make_music.py" "$work"
status=0
bash tools/compare_built.sh "$work" data/bgm "*.mid" "$here/make_music.py" || status=1
/usr/bin/python3 "$here/midi_check.py" data/bgm || status=1
exit $status
