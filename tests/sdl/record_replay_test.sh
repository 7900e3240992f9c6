#!/bin/bash
# A game played in a real X window (Xvfb) through xdotool, recorded with `parrun --record`,
# then replayed with `parrun-script --replay`: the replay must end as the game did, write the
# same "a.dat" and show the same last picture, and two replays must log the same.
# The game: one phrase ("a" then "i"); Enter twice starts it, three phrases get a wrong key
# first, then the timer ends the game; Enter leaves the results, Escape ends the program. The
# window is moved once on the title screen.
# Usage: record_replay_test.sh PARRUN PARRUN_SCRIPT DATA_FOLDER
# With PARRUN_TIME_FILE set, the game runs under `/usr/bin/time -v`, which writes its figures
# (the peak memory among them) to that file.
# Waits are for conditions (with a deadline); keys are held for 50 ms so that a frame's poll
# sees them.
set -euo pipefail
parrun=$(realpath "$1")
script=$(realpath "$2")
data=$(realpath "$3")
work=$(mktemp -d)
echo "work folder $work"
trap 'kill $xvfb_pid $game_pid 2>/dev/null || true; [ -n "${KEEP_WORK:-}" ] || rm -rf "$work"' EXIT
game_pid=""
export XDG_CONFIG_HOME="$work/config"

. "$(dirname "$0")/../support/x_test.sh"
start_xvfb 1024x768x24

recorded() { grep -c "^$1\$" "$work/recording" || true; }
recorded_at_least() { [ "$(recorded "$1")" -ge "$2" ]; }
# Held and let go as a person does, long enough for a frame held back by a busy machine.
press() { xdotool keydown --window "$window" "$1"; sleep 0.1; xdotool keyup --window "$window" "$1"; sleep 0.05; }

# The same game folder for the game and the replay.
mkdir "$work/start"
cp -r "$data/images" "$data/se" "$data/bgm" "$work/start/"
printf '[drel]\x82\xa0 a\n[normal]\x82\xa2 i\n' > "$work/start/drel.txt"
cp -r "$work/start" "$work/sdl"
cp -r "$work/start" "$work/replay"
cp -r "$work/start" "$work/replay2"

cd "$work/sdl"
launcher=()
[ -z "${PARRUN_TIME_FILE:-}" ] || launcher=(/usr/bin/time -v -o "$PARRUN_TIME_FILE")
"${launcher[@]}" "$parrun" --record "$work/recording" --last-picture "$work/sdl.png" \
    2>"$work/game.log" &
game_pid=$!
window=$(find_window "$game_pid")
xdotool windowfocus --sync "$window" || true
wait_for 60 recorded_at_least 'report music 0' 1 || fail "the title music never started"
xdotool windowmove --sync "$window" 40 60 || true
wait_for 30 grep -q '^move ' "$work/recording" || fail "the move was not recorded"

# Enter until the second start sound (Start2) has played.
deadline=$((SECONDS + 60))
until recorded_at_least 'report sound 7' 1; do
    [ $SECONDS -lt $deadline ] || fail "the game never started"
    press Return
    sleep 0.1
done
# A wrong key, then the phrase, three times; then the timer runs out and ends the game. (Ending
# it by losing every life needs each wrong key to land inside a phrase, which a busy machine
# can't promise.)
for _ in 1 2 3; do
    recorded_at_least 'report sound 8' 1 && break
    press x; press a; press i
done
wait_for 90 recorded_at_least 'report sound 8' 1 || fail "the game never ended"
echo "played a game to its end"
# The results come after the game-over pause; Enter goes back to the title and its music.
deadline=$((SECONDS + 60))
until recorded_at_least 'report music 0' 2; do
    [ $SECONDS -lt $deadline ] || fail "never back on the title"
    press Return
    sleep 0.2
done
xdotool key --window "$window" Escape
wait_for 30 bash -c "! kill -0 $game_pid" || fail "Escape did not end the program"
wait "$game_pid" && status=0 || status=$?
game_pid=""
[ "$status" = 0 ] || fail "exit status $status"
[ -s "$work/sdl/a.dat" ] || fail "the game wrote no a.dat"
echo "recorded $(wc -l <"$work/recording") lines"

cd "$work/replay"
"$script" --replay "$work/recording" --log "$work/replay.log" --last-picture "$work/replay.png" ||
    fail "the replay ended with status $?"
cmp "$work/sdl/a.dat" "$work/replay/a.dat" || fail "the replay's a.dat differs"
cmp "$work/sdl.png" "$work/replay.png" || fail "the replay's last picture differs"
grep -q ' sound 8$' "$work/replay.log" || fail "the replay's log has no end sound"
echo "the replay wrote the same a.dat and showed the same last picture"

cd "$work/replay2"
"$script" --replay "$work/recording" --log "$work/replay2.log" || fail "the second replay failed"
cmp "$work/replay.log" "$work/replay2.log" || fail "two replays logged differently"
echo "two replays logged the same"
echo "1 passed, 0 failed"
