#!/bin/bash
# Recomposes the background music into a temporary folder, requires it to match data/bgm byte
# for byte, checks its layout and loop, and renders it with FluidSynth to check the sound.
# The small sound font of the web page and the game folder (subset_font.py) must play both pieces sample for sample as
# the whole General MIDI font does.
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
font=/usr/share/sounds/sf2/FluidR3_GM.sf2
/usr/bin/python3 "$here/subset_font.py" "$font" "$work/subset.sf2" data/bgm/*.mid >/dev/null
for piece in data/bgm/*.mid; do
    fluidsynth -ni -q -F "$work/whole.wav" -r 44100 "$font" "$piece" >/dev/null 2>&1
    fluidsynth -ni -q -F "$work/subset.wav" -r 44100 "$work/subset.sf2" "$piece" >/dev/null 2>&1
    cmp -s "$work/whole.wav" "$work/subset.wav" ||
        { echo "FAIL: $piece sounds otherwise with the subset font"; status=1; }
done
exit $status
