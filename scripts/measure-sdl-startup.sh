#!/bin/bash
# Start-up of `parrun` under Xvfb, from starting the program to its first picture (the title)
# on the screen, sound font included: RUNS runs (default 11), the first cold, the others warm.
# Prints the first and the median of the warm ones, in milliseconds.
# Usage: measure-sdl-startup.sh PARRUN DATA_FOLDER [RUNS]
set -euo pipefail
program=$(realpath "$1")
data=$(realpath "$2")
runs=${3:-11}
work=$(mktemp -d)
trap 'kill $xvfb_pid 2>/dev/null || true; rm -rf "$work"' EXIT

Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
for _ in $(seq 200); do [ -s "$work/display" ] && break; sleep 0.05; done
export DISPLAY=":$(head -1 "$work/display")"
cp -r "$data/." "$work/game"
cd "$work/game"
times=()
for ((run = 0; run < runs; run++)); do
    start=$(date +%s.%N)
    shown=$("$program" --time-first-picture 2>/dev/null | sed -n 's/^first picture at //p')
    times+=("$(echo "($shown - $start) * 1000 / 1" | bc)")
done
warm=($(printf '%s\n' "${times[@]:1}" | sort -n))
echo "first picture: first run ${times[0]} ms, warm median ${warm[$((${#warm[@]} / 2))]} ms" \
    "(${times[*]})"
