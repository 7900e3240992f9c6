#!/bin/bash
# A whole scripted game recorded (parrun-script --record) and replayed (--replay): the replay
# logs exactly what the scripted run logged, writes the same "a.dat" and "key.dat" and ends on
# the same picture. A recording with a changed report strays (status 4); one cut short ends
# with status 3.
# Usage: scripted_replay_test.sh PARRUN_SCRIPT DATA_FOLDER SCRIPT
set -euo pipefail
program=$(realpath "$1")
data=$(realpath "$2")
script=$(realpath "$3")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

mkdir "$work/start"
cp -r "$data/images" "$data/se" "$data/bgm" "$work/start/"
printf '[drel]\x82\xa0 a\n[normal]\x82\xa2 i\n' > "$work/start/drel.txt"
for run in scripted replay strayed cut; do cp -r "$work/start" "$work/$run"; done

cd "$work/scripted"
"$program" --record "$work/recording" --log "$work/scripted.log" --last-picture "$work/a.png" \
    "$script" || fail "the scripted run ended with status $?"
grep -q ' sound 8$' "$work/scripted.log" || fail "the game did not end"

cd "$work/replay"
"$program" --replay "$work/recording" --log "$work/replay.log" --last-picture "$work/b.png" ||
    fail "the replay ended with status $?"
diff "$work/scripted.log" "$work/replay.log" || fail "the replay logged differently"
for file in a.dat key.dat; do
    cmp "$work/scripted/$file" "$work/replay/$file" || fail "the replay's $file differs"
done
cmp "$work/a.png" "$work/b.png" || fail "the last pictures differ"
echo "the replay logged the same, wrote the same files and showed the same last picture"

# The fifth sound of the game's end... any report changed makes the replay stray.
sed '0,/^report sound 8$/s//report sound 5/' "$work/recording" > "$work/strayed.txt"
cd "$work/strayed"
status=0
"$program" --replay "$work/strayed.txt" --log "$work/strayed.log" 2>"$work/strayed.err" ||
    status=$?
[ "$status" = 4 ] || fail "a changed report gave status $status, not 4"
grep -q 'strayed' "$work/strayed.err" || fail "no word of straying: $(cat "$work/strayed.err")"
echo "a changed report strays: $(cat "$work/strayed.err")"

head -n $(($(wc -l <"$work/recording") / 2)) "$work/recording" > "$work/cut.txt"
cd "$work/cut"
status=0
"$program" --replay "$work/cut.txt" --log "$work/cut.log" || status=$?
[ "$status" = 3 ] || fail "a recording cut short gave status $status, not 3"
tail -1 "$work/cut.log" | grep -q 'replay-end$' || fail "the cut log does not end with replay-end"
echo "a recording cut short ends the replay with status 3"
echo "1 passed, 0 failed"
