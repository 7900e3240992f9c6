#!/bin/bash
# The scripted host playing five minutes of the game: Enter every 3 s (starting a game,
# leaving the ready screen and the results), and in between the phrase's keys, A then I, every
# 200 ms, with a wrong X every 2 s. Prints the median wall time of RUNS runs (default 5) of
# `parrun-script` over the whole five minutes (or LENGTH ms, for a quick check).
# Usage: five_minute_game.sh PARRUN_SCRIPT DATA_FOLDER [RUNS [LENGTH]]
set -euo pipefail
program=$(realpath "$1")
data=$(realpath "$2")
runs=${3:-5}
length=${4:-300000}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

mkdir "$work/start"
cp -r "$data/images" "$data/se" "$data/bgm" "$work/start/"
printf '[drel]\x82\xa0 a\n[normal]\x82\xa2 i\n' > "$work/start/drel.txt"
for ((t = 100; t < length; t += 200)); do
    if ((t % 3000 == 100)); then
        echo "at $t press RETURN"; echo "at $((t + 50)) release RETURN"
    elif ((t % 2000 == 900)); then
        echo "at $t press X"; echo "at $((t + 50)) release X"
    else
        echo "at $t press A"; echo "at $((t + 50)) release A"
        echo "at $((t + 100)) press I"; echo "at $((t + 150)) release I"
    fi
done > "$work/game.script"
echo "end $length" >> "$work/game.script"

times=()
for ((run = 0; run < runs; run++)); do
    rm -rf "$work/game"
    cp -r "$work/start" "$work/game"
    cd "$work/game"
    start=$(date +%s%N)
    status=0
    "$program" --log "$work/log" "$work/game.script" || status=$?
    end=$(date +%s%N)
    [ "$status" = 3 ] || { echo "FAIL: the run ended with status $status"; exit 1; }
    times+=($(((end - start) / 1000000)))
done
keys=$(grep -c ' sound 2$' "$work/log" || true)
[ "$keys" -gt 0 ] || { echo "FAIL: no key was typed in play"; exit 1; }
sorted=($(printf '%s\n' "${times[@]}" | sort -n))
echo "$length ms ($keys right keys, $(grep -c ' present ' "$work/log") presents):" \
    "median ${sorted[$((runs / 2))]} ms over $runs runs (${times[*]})"
echo "1 passed, 0 failed"
