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
for built in "$work"/*.mid; do
    name=$(basename "$built")
    if ! cmp -s "$built" "data/bgm/$name"; then
        echo "data/bgm/$name differs from what $here/make_music.py composes; run it again"
        status=1
    fi
done
/usr/bin/python3 "$here/midi_check.py" data/bgm || status=1
exit $status
