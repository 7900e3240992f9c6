#!/bin/bash
# Measures `parrun` beside a peer, Debian's `tuxtype` (an SDL typing game with music), in one
# interleaved run on one Xvfb with one PulseAudio null sink, so that the load of a shared
# machine weighs on both alike: only the ratios are worth comparing between runs.
#   - idle at the title or menu, share of a core (processor time from /proc, not wall time),
#     with sound and with SDL's dummy output;
#   - peak resident memory (VmHWM) after start-up and that idle stretch;
#   - launch to the first usable picture of the menu (scripts/screen-probe.c);
#   - key to screen: an XTest key moving the menu's choice, the screen read every millisecond
#     until it changes (scripts/screen-probe.c).
# Every figure is printed with its ratio (Parrun over the peer) and the load average.
# Usage: compare-peer.sh [--quick] PARRUN DATA_FOLDER
#   --quick: a few seconds a figure, only to show that the script works.
set -euo pipefail
quick=0
if [ "${1:-}" = "--quick" ]; then
    quick=1
    shift
fi
program=$(realpath "$1")
data=$(realpath "$2")
here=$(dirname "$(realpath "$0")")
peer=/usr/games/tuxtype
if ((quick)); then
    idle_seconds=3 rounds=1 launches=2 keys=6
else
    idle_seconds=30 rounds=2 launches=10 keys=30
fi

if [ ! -x "$peer" ]; then
    if [ "$(id -u)" = 0 ]; then apt-get install -y tuxtype >/dev/null; else
        echo "compare-peer: install the Debian package tuxtype first" >&2
        exit 1
    fi
fi

work=$(mktemp -d)
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

cc -O2 -o "$work/screen-probe" "$here/screen-probe.c" -lX11 -lXtst

Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" >"$work/xvfb.log" 2>&1 &
pids+=($!)
for _ in $(seq 200); do [ -s "$work/display" ] && break; sleep 0.05; done
export DISPLAY=":$(head -1 "$work/display")"

# A sound server of our own, so that nobody else's streams are mixed in.
export HOME="$work/home" XDG_RUNTIME_DIR="$work/run" PULSE_RUNTIME_PATH="$work/run/pulse"
mkdir -p "$HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
export PULSE_SERVER="unix:$work/pulse.socket"
pulseaudio -n --daemonize=no --exit-idle-time=-1 --disallow-exit --use-pid-file=no \
    --load="module-null-sink sink_name=peer" \
    --load="module-native-protocol-unix socket=$work/pulse.socket auth-anonymous=1" \
    >"$work/pulse.log" 2>&1 &
pids+=($!)
for _ in $(seq 200); do [ -S "$work/pulse.socket" ] && break; sleep 0.05; done
[ -S "$work/pulse.socket" ] || { cat "$work/pulse.log" >&2; exit 1; }

cp -r "$data/." "$work/game"
# The peer keeps the pointer's item chosen in its menu: the pointer stays in a corner.
xdotool mousemove 1023 767

# What each program is: how to start it, its window's name, where its menu is (x y w h in the
# window) for the start-up picture and for the keys, and the keys that move its choice.
command_of() {
    case $1 in
        parrun) echo "cd '$work/game' && exec '$program' --scale 1" ;;
        peer) echo "exec '$peer'" ;;
    esac
}
window_of() { case $1 in parrun) echo Parrun ;; peer) echo "Tux Typing" ;; esac }
# Parrun: its four menu buttons. The peer: its first button's words, which show last as its
# menu fades in, and the column of its buttons' words (its icons move on their own).
launch_area_of() { case $1 in parrun) echo "40 35 170 170" ;; peer) echo "440 110 160 35" ;; esac }
keys_area_of() { case $1 in parrun) echo "40 35 170 170" ;; peer) echo "440 100 160 290" ;; esac }

load() { cut -d" " -f1 /proc/loadavg; }
ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }

# Starts a program at its menu and waits until it shows; its pid in $started.
start() {
    local which=$1 audio=$2
    if [ "$audio" = dummy ]; then
        SDL_AUDIODRIVER=dummy sh -c "$(command_of "$which")" >"$work/$which.log" 2>&1 &
    else
        sh -c "$(command_of "$which")" >"$work/$which.log" 2>&1 &
    fi
    started=$!
    timeout 20 xdotool search --sync --onlyvisible --name "^$(window_of "$which")\$" >/dev/null
    sleep 3
}

stop() {
    kill "$1" 2>/dev/null || true
    wait "$1" 2>/dev/null || true
}

# idle share of a core and peak memory, one run: "percent megabytes load"
idle_run() {
    local which=$1 audio=$2
    start "$which" "$audio"
    local pid=$started t0 t1 w0 w1
    t0=$(ticks "$pid")
    w0=$(date +%s.%N)
    sleep "$idle_seconds"
    t1=$(ticks "$pid")
    w1=$(date +%s.%N)
    local peak
    peak=$(awk '/^VmHWM/ { print $2 }' "/proc/$pid/status")
    stop "$pid"
    echo "$(echo "scale=1; 100 * ($t1 - $t0) / $(getconf CLK_TCK) / ($w1 - $w0)" | bc)" \
        "$(echo "scale=1; $peak / 1024" | bc)" "$(load)"
}

median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
ratio() { echo "scale=2; $1 / $2" | bc; }

declare -A idle memory loads
for audio in pulse dummy; do
    for ((round = 0; round < rounds; round++)); do
        for which in parrun peer; do
            read -r share peak at < <(idle_run "$which" "$audio")
            idle[$which.$audio]+="$share "
            [ "$audio" = pulse ] && memory[$which]+="$peak "
            loads[idle.$audio]+="$at "
        done
    done
done

# Launch to the usable menu: the first run of each makes the reference picture.
declare -A launch
for which in parrun peer; do
    # shellcheck disable=SC2046
    "$work/screen-probe" launch "$(window_of "$which")" $(launch_area_of "$which") \
        "$work/$which.reference" -- sh -c "$(command_of "$which")" >/dev/null 2>&1
done
launch_loads=""
for ((run = 0; run < launches; run++)); do
    for which in parrun peer; do
        # shellcheck disable=SC2046
        launch[$which]+="$("$work/screen-probe" launch "$(window_of "$which")" \
            $(launch_area_of "$which") "$work/$which.reference" -- \
            sh -c "$(command_of "$which")" 2>/dev/null) "
    done
    launch_loads+="$(load) "
done

declare -A key_median key_p90
key_loads=""
for which in parrun peer; do
    start "$which" pulse
    # shellcheck disable=SC2046
    read -r key_median[$which] key_p90[$which] _ < <("$work/screen-probe" keys \
        "$(window_of "$which")" $(keys_area_of "$which") "$keys" Down Up)
    stop "$started"
    key_loads+="$(load) "
done

mean() { tr ' ' '\n' | awk 'NF { s += $1; n++ } END { printf "%.1f", s / n }'; }
row() {  # what, parrun's figures, the peer's, the unit, loads
    local p q
    p=$(echo "$2" | mean)
    q=$(echo "$3" | mean)
    printf '| %s | %s (%s) | %s (%s) | %s | %s |\n' "$1" "$p $4" "${2% }" "$q $4" "${3% }" \
        "$(ratio "$p" "$q")" "${5% }"
}
echo "| | Parrun | tuxtype | ratio | load average |"
echo "|---|---|---|---|---|"
row "idle at the menu with sound, share of a core over ${idle_seconds} s" \
    "${idle[parrun.pulse]}" "${idle[peer.pulse]}" "%" "${loads[idle.pulse]}"
row "the same with SDL_AUDIODRIVER=dummy" \
    "${idle[parrun.dummy]}" "${idle[peer.dummy]}" "%" "${loads[idle.dummy]}"
row "peak resident memory after start-up and the idle stretch" \
    "${memory[parrun]}" "${memory[peer]}" "MB" "${loads[idle.pulse]}"
p=$(echo "${launch[parrun]}" | tr ' ' '\n' | median)
q=$(echo "${launch[peer]}" | tr ' ' '\n' | median)
printf '| launch to a usable menu, median of %d | %s ms (%s) | %s ms (%s) | %s | %s |\n' \
    "$launches" "$p" "${launch[parrun]% }" "$q" "${launch[peer]% }" "$(ratio "$p" "$q")" \
    "${launch_loads% }"
printf '| key to screen, median / 90th percentile of %d | %s / %s ms | %s / %s ms | %s / %s | %s |\n' \
    "$keys" "${key_median[parrun]}" "${key_p90[parrun]}" "${key_median[peer]}" \
    "${key_p90[peer]}" "$(ratio "${key_median[parrun]}" "${key_median[peer]}")" \
    "$(ratio "${key_p90[parrun]}" "${key_p90[peer]}")" "${key_loads% }"
