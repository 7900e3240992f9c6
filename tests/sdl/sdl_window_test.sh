#!/bin/bash
# The SDL host in a real X window (Xvfb): the window opens with its caption at the largest whole
# scale of 480 x 320 that fits the 1024 x 768 screen (2), F9 shrinks it to 480 x 320, a key held
# down with xdotool reaches the game's keyboard poll, letters follow the keyboard layout (on a
# French layout the key where QWERTY has Q types A), and Escape ends the program.
# Usage: sdl_window_test.sh PARRUN_SDL_STUB DATA_FOLDER
# Waits are for conditions (with a deadline), never fixed delays.
set -euo pipefail
program=$(realpath "$1")
data=$(realpath "$2")
work=$(mktemp -d)
trap 'kill $xvfb_pid $game_pid 2>/dev/null || true; rm -rf "$work"' EXIT
game_pid=""
# The host's settings file goes here, not into the player's own folder.
export XDG_CONFIG_HOME="$work/config"

. "$(dirname "$0")/../support/x_test.sh"
start_xvfb 1024x768x24
xdpyinfo >/dev/null || { echo "FAIL: cannot reach $DISPLAY"; exit 1; }

cd "$work"
# The display loads the game's pictures, and the sound its effects, when the window is created.
cp -r "$data/images" "$work/images"
cp -r "$data/se" "$work/se"
printf '[drel]\x82\xbe\x82\xd7 dabe\n[normal]\x82\xbe\x82\xe6 dayo\n' > drel.txt
"$program" 2>"$work/game.log" &
game_pid=$!

window=$(find_window "$game_pid")
name=$(xdotool getwindowname "$window")
[ "$name" = "Parrun" ] || fail "caption is '$name'"
geometry=$(xdotool getwindowgeometry "$window" | sed -n 's/.*Geometry: //p')
[ "$geometry" = "960x640" ] || fail "client size is $geometry, expected 960x640 (scale 2)"
echo "window $window: '$name', $geometry"

wait_for 30 grep -q '^step ' "$work/game.log" || fail "no game step ran"
xdotool windowfocus --sync "$window" || true
xdotool keydown --window "$window" a
wait_for 30 grep -q '^step 0 65$' "$work/game.log" || fail "the held A never reached the poll"
xdotool keyup --window "$window" a
echo "held A reached the typing poll"

size_is() { xdotool getwindowgeometry "$window" | grep -q "Geometry: $1\$"; }
xdotool key --window "$window" F10
xdotool key --window "$window" F9
wait_for 30 size_is 480x320 || fail "F9 did not bring the window to 480x320"
xdotool key --window "$window" F9
xdotool key --window "$window" F10
wait_for 30 size_is 960x640 || fail "F10 did not bring the window back to 960x640"
grep -qx 'scale=2' "$XDG_CONFIG_HOME/parrun/settings" || fail "the scale was not kept"
echo "F9 and F10 change the window's scale between 1 and 2, and it is kept"

# X keycode 24 is the key right of Tab: Q on a QWERTY keyboard, A on a French one.
count_a() { grep -c '^step 0 65$' "$work/game.log" || true; }
more_a_than() { [ "$(count_a)" -gt "$1" ]; }
seen=$(count_a)
setxkbmap -layout fr
xdotool keydown --window "$window" 24
wait_for 30 more_a_than "$seen" || fail "AZERTY A was not read as A"
xdotool keyup --window "$window" 24
setxkbmap -layout us
echo "a French layout's A key types A"

xdotool key --window "$window" Escape
wait_for 30 bash -c "! kill -0 $game_pid" || fail "Escape did not end the program"
wait "$game_pid" && status=0 || status=$?
game_pid=""
[ "$status" = 0 ] || fail "exit status $status after Escape"
echo "Escape ended the program with status 0"
echo "1 passed, 0 failed"
