#!/bin/bash
# Runs the README's two commands on a truly fresh Debian 12: a minimal root made by debootstrap
# from Debian's packages, copied once for each command so that each starts from nothing.
#  - play: `bash scripts/play.sh` in the root, its window on an Xvfb screen of 1920 x 1080 run
#    here (with openbox, as a desktop has a window manager); stopped once the title is on the
#    screen, which is saved as title.png.
#  - test: `bash scripts/test.sh` in a second copy of the root.
#  - lists: each package list alone (`scripts/install-deps.sh play`, then the whole list), each
#    in a fresh copy: its time, what it downloaded and what it took on disk.
# Prints each step's time, what each package list downloaded and what it takes on disk, and
# the installed size of the game (`cmake --install`), into WORK/report.txt as well.
# Needs root, debootstrap, Xvfb, openbox, xdotool and Debian's python3 with PIL here.
# Usage: check-fresh-debian.sh [WORK_FOLDER [play|test|lists|both]]
set -euo pipefail
source_root="$(cd "$(dirname "$0")/.." && pwd)"
work="$(realpath -m "${1:-/tmp/parrun-fresh}")"
which="${2:-both}"
mirror="${DEBIAN_MIRROR:-http://deb.debian.org/debian}"
report="$work/report.txt"
mkdir -p "$work"
: >"$report"

say() { echo "$*" | tee -a "$report"; }
now() { date +%s.%N; }
since() { echo "scale=1; ($(now) - $1) / 1" | bc; }

mounted=()
cleanup() {
    for ((i = ${#mounted[@]} - 1; i >= 0; i--)); do umount -l "${mounted[$i]}" 2>/dev/null || true; done
    [ -n "${xvfb_pid:-}" ] && kill "$xvfb_pid" 2>/dev/null || true
}
trap cleanup EXIT

enter() {  # enter ROOT: what a booted machine gives a shell: /proc, /sys, /dev, a resolver
    local root="$1"
    for point in proc sys dev dev/pts; do
        mount --bind "/$point" "$root/$point"
        mounted+=("$root/$point")
    done
    mount -t tmpfs tmpfs "$root/dev/shm"
    mounted+=("$root/dev/shm")
    cp /etc/resolv.conf "$root/etc/resolv.conf"
}

# A fresh machine also has the stable updates and the security updates in its sources.
pristine="$work/pristine"
if [ ! -x "$pristine/bin/bash" ]; then
    start=$(now)
    rm -rf "$pristine"
    debootstrap --variant=minbase bookworm "$pristine" "$mirror" >"$work/debootstrap.log" 2>&1
    cat >"$pristine/etc/apt/sources.list" <<EOF
deb $mirror bookworm main
deb $mirror bookworm-updates main
deb http://deb.debian.org/debian-security bookworm-security main
EOF
    say "debootstrap (minbase, bookworm): $(since "$start") s, $(du -smx "$pristine" | cut -f1) MB"
fi

fresh_copy() {  # fresh_copy NAME: a copy of the pristine root holding a clone of the sources
    local root="$work/$1"
    # A run that was stopped may have left the machine's own /dev or /proc mounted inside.
    if [ -d "$root" ]; then
        findmnt -rn -o TARGET | grep "^$root/" | sort -r | xargs -r -n1 umount -l
        rm -rf --one-file-system "$root"
    fi
    cp -a "$pristine" "$root"
    git clone -q "$source_root" "$root/root/parrun"
    echo "$root"
}

downloaded() {  # what apt fetched into ROOT, in MB
    du -cm "$1"/var/cache/apt/archives/*.deb 2>/dev/null | tail -1 | cut -f1
}

if [ "$which" = play ] || [ "$which" = both ]; then
    root=$(fresh_copy play)
    before=$(du -smx "$root" | cut -f1)
    enter "$root"
    Xvfb -displayfd 3 -br -screen 0 1920x1080x24 -nolisten tcp 3>"$work/display" \
        >"$work/xvfb.log" 2>&1 &
    xvfb_pid=$!
    for _ in $(seq 200); do [ -s "$work/display" ] && break; sleep 0.05; done
    display=":$(head -1 "$work/display")"
    mkdir -p "$root/tmp/.X11-unix"
    mount --bind /tmp/.X11-unix "$root/tmp/.X11-unix"
    mounted+=("$root/tmp/.X11-unix")
    DISPLAY=$display openbox >/dev/null 2>&1 &
    start=$(now)
    DISPLAY=$display chroot "$root" /usr/bin/env -i HOME=/root PATH=/usr/sbin:/usr/bin:/sbin:/bin \
        DISPLAY="$display" LANG=C.UTF-8 bash -c 'cd /root/parrun && bash scripts/play.sh' \
        >"$work/play.log" 2>&1 &
    play_pid=$!
    # The title is on the screen when the window shows something other than black.
    shown=""
    for _ in $(seq 12000); do
        if ! kill -0 "$play_pid" 2>/dev/null; then break; fi
        if window=$(DISPLAY=$display xdotool search --onlyvisible --name '^Parrun$' 2>/dev/null |
            head -1) && [ -n "$window" ]; then
            eval "$(DISPLAY=$display xdotool getwindowgeometry --shell "$window")"
            if /usr/bin/python3 - "$display" "$work/title.png" "$X" "$Y" "$WIDTH" "$HEIGHT" \
                <<'EOF'; then
import sys
import numpy
from PIL import ImageGrab
shot = ImageGrab.grab(xdisplay=sys.argv[1])
x, y, width, height = map(int, sys.argv[3:7])
window = shot.crop((x, y, x + width, y + height)).convert("L")
if (numpy.asarray(window) > 40).sum() < width * height // 10:
    sys.exit(1)
shot.save(sys.argv[2])
EOF
                shown=$(since "$start")
                break
            fi
        fi
        sleep 0.1
    done
    pkill -f '^/root/parrun/build/shell/parrun'  2>/dev/null || true
    wait "$play_pid" 2>/dev/null || true
    if [ -z "$shown" ]; then
        say "play: no title came; the end of play.log:"
        tail -20 "$work/play.log" | tee -a "$report"
        exit 1
    fi
    say "play: from 'bash scripts/play.sh' to the title on the screen: $shown s"
    say "play: downloaded $(downloaded "$root") MB of packages; the root grew by" \
        "$(($(du -smx "$root" | cut -f1) - before)) MB (packages, sources and build)"
    chroot "$root" /usr/bin/env -i HOME=/root PATH=/usr/sbin:/usr/bin:/sbin:/bin bash -c \
        'cmake --install /root/parrun/build --prefix /opt/parrun >/dev/null && du -sk /opt/parrun' |
        while read -r size _; do say "play: the installed game (cmake --install): $size KiB"; done
    say "play: the title's shot is $work/title.png"
fi

if [ "$which" = test ] || [ "$which" = both ]; then
    root=$(fresh_copy test)
    enter "$root"
    start=$(now)
    if chroot "$root" /usr/bin/env -i HOME=/root PATH=/usr/sbin:/usr/bin:/sbin:/bin LANG=C.UTF-8 \
        bash -c 'cd /root/parrun && bash scripts/test.sh' >"$work/test.log" 2>&1; then
        say "test: 'bash scripts/test.sh' passed in $(since "$start") s"
    else
        say "test: 'bash scripts/test.sh' FAILED after $(since "$start") s; the end of test.log:"
        tail -30 "$work/test.log" | tee -a "$report"
        exit 1
    fi
    say "test: downloaded $(downloaded "$root") MB of packages"
fi

if [ "$which" = lists ]; then
    for list in play all; do
        root=$(fresh_copy "list-$list")
        before=$(du -smx "$root" | cut -f1)
        enter "$root"
        argument=""
        [ "$list" = play ] && argument=play
        start=$(now)
        chroot "$root" /usr/bin/env -i HOME=/root PATH=/usr/sbin:/usr/bin:/sbin:/bin \
            bash -c "cd /root/parrun && bash scripts/install-deps.sh $argument" \
            >"$work/list-$list.log" 2>&1
        say "packages ($list): installed in $(since "$start") s; downloaded" \
            "$(downloaded "$root") MB; the root grew by $(($(du -smx "$root" | cut -f1) - before)) MB"
    done
fi
