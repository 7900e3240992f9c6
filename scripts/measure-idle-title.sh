#!/bin/bash
# Runs `parrun` on its title screen in a window under Xvfb for FRAMES frames (default 10000,
# 16 ms each), recording it, and prints the share of one core it took (from /proc/PID/stat)
# and how far apart its frames started (scripts/frame-starts.py over the recording).
# Usage: measure-idle-title.sh PARRUN DATA_FOLDER [FRAMES]
set -euo pipefail
program=$(realpath "$1")
data=$(realpath "$2")
frames=${3:-10000}
here=$(dirname "$(realpath "$0")")
work=$(mktemp -d)
trap 'kill $xvfb_pid $game_pid 2>/dev/null || true; rm -rf "$work"' EXIT
game_pid=""

Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
for _ in $(seq 200); do [ -s "$work/display" ] && break; sleep 0.05; done
export DISPLAY=":$(head -1 "$work/display")"

cp -r "$data/." "$work/game"
cd "$work/game"
"$program" --record "$work/recording" 2>"$work/game.log" &
game_pid=$!
window=$(timeout 20 xdotool search --sync --onlyvisible --name '^Parrun$' | head -1)
# Let start-up settle, then count the processor time over the frames.
sleep 2
ticks() { awk '{ print $14 + $15 }' "/proc/$game_pid/stat"; }
start_ticks=$(ticks)
start_time=$(date +%s.%N)
sleep "$(echo "$frames * 0.016" | bc)"
end_ticks=$(ticks)
end_time=$(date +%s.%N)
xdotool key --window "$window" Escape
wait "$game_pid" || true
game_pid=""
hz=$(getconf CLK_TCK)
echo "processor: $(echo "scale=1; 100 * ($end_ticks - $start_ticks) / $hz / ($end_time - $start_time)" |
    bc) % of a core over $(echo "$end_time - $start_time" | bc) s"
python3 "$here/frame-starts.py" "$work/recording" "$frames"
echo "load average at the end: $(cut -d" " -f1-3 /proc/loadavg)"
