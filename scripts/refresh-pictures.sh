#!/bin/bash
# Draws every picture the repository keeps again from the current code and art, puts each one
# whose pixels changed in place, and writes a review picture of it (before, after and the
# changed pixels in magenta) for a person to look at before committing.
#
#   scripts/refresh-pictures.sh [--no-window] [BUILD_FOLDER]
#
# BUILD_FOLDER (default build) is a configured CMake build folder; the programs that draw are
# built there, and the review pictures go to BUILD_FOLDER/picture-review/.
#
# Refreshed every time:
#   the art that tools/art/build.py makes (data/images, resources/mypallet.bmp, docs/art);
#   the reference pictures of tests/screens/reference and tests/display/reference;
#   the shots of docs/screens of the nine screens in the window and in full screen, walked on
#   the scripted host (scripts/screens-walk.script): the same pixels the SDL window shows,
#   since the SDL tests compare the two, and full screen laid out as on a 1920 x 1080 screen.
# Also, from a real SDL window under Xvfb (tests/sdl/message_box_test.py, some seconds), unless
# --no-window is given or Xvfb, openbox or xdotool is missing:
#   tests/sdl/reference and docs/screens/close-box-window.png.
# Left as they are: docs/screens/close-box-fullscreen.png and scaled-window-1920x1080.png (a
# real 1920 x 1080 desktop), docs/windows/wine-beside-scripted.png (the game under Wine).
set -euo pipefail
cd "$(dirname "$0")/.."

window=1
if [ "${1:-}" = --no-window ]; then
    window=0
    shift
fi
for program in Xvfb openbox xdotool; do
    if [ "$window" = 1 ] && ! command -v "$program" > /dev/null; then
        echo "refresh-pictures: no $program, so tests/sdl/reference is left as it is"
        window=0
    fi
done
build=${1:-build}
if [ ! -f "$build/build.ninja" ]; then
    echo "refresh-pictures: $build is no configured build folder (cmake -S . -B $build -G Ninja)" >&2
    exit 1
fi
build=$(cd "$build" && pwd)
python=/usr/bin/python3
review=$build/picture-review
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
rm -rf "$review"
mkdir -p "$review"
: > "$review/changed.txt"

place() {  # NEW DEST ...
    "$python" scripts/picture_review.py "$review" "$@" | tee -a "$review/changed.txt"
}

# Runs a test program that leaves the pictures it drew in a folder of its own; failures are
# expected when pictures changed, anything worse is not.
refresh_test() {  # PROGRAM ACTUAL_FOLDER REFERENCE_FOLDER
    local program=$1 actual=$2 reference=$3 status=0
    rm -rf "$actual"
    "$program" > "$work/test.log" 2>&1 || status=$?
    if [ "$status" -gt 1 ]; then
        cat "$work/test.log"
        echo "refresh-pictures: $program ended with status $status" >&2
        exit 1
    fi
    local f
    for f in "$actual"/*.png; do
        [ -e "$f" ] && place "$f" "$reference/$(basename "$f")"
    done
    return 0
}

echo "== the art"
"$python" tools/art/build.py "$work/art"
for f in $(cd "$work/art" && find . -type f | sort); do
    place "$work/art/$f" "${f#./}"
done

echo "== the programs that draw"
targets=(screens_test display_test parrun-script)
[ "$window" = 1 ] && targets+=(parrun)
ninja -C "$build" "${targets[@]}" > "$work/build.log" || { cat "$work/build.log"; exit 1; }

echo "== reference pictures"
refresh_test "$build/tests/screens/screens_test" "$build/tests/screens/actual" tests/screens/reference
refresh_test "$build/tests/display/display_test" "$build/tests/display/actual" tests/display/reference

echo "== docs/screens, walked on the scripted host"
for mode in window fullscreen; do
    folder=$work/walk-$mode
    cp -r data "$folder"
    "$python" -c 'import sys; open(sys.argv[1], "wb").write(
        "[drel]はよ来まっし hayo kimasshi\n[normal]早く来なさい hayaku kinasai\n".encode("cp932"))' \
        "$folder/drel.txt"
    if [ "$mode" = window ]; then
        cp scripts/screens-walk.script "$folder/walk.script"
    else
        # F4 first, the title as soon as full screen shows, then the walk 512 ms later.
        { printf 'at 0 press F4\nat 50 release F4\nat 1 shot title.png\n'
          awk '/shot title.png/ {next} $1 == "at" || $1 == "end" {$2 += 512} {print}' \
              scripts/screens-walk.script; } > "$folder/walk.script"
    fi
    status=0
    (cd "$folder" && "$build/shell/parrun-script" --log log walk.script) || status=$?
    # The walk ends at its `end` line (status 3); anything else is a fault of the walk.
    if [ "$status" != 3 ]; then
        echo "refresh-pictures: the $mode walk ended with status $status" >&2
        exit 1
    fi
    for shot in "$folder"/*.png; do
        name=$(basename "$shot" .png)
        if [ "$mode" = fullscreen ]; then
            "$python" scripts/picture_review.py --full-screen-shot "$shot" "$shot"
        fi
        place "$shot" "docs/screens/$name-$mode.png"
    done
done

if [ "$window" = 1 ]; then
    echo "== message boxes in a real window (Xvfb)"
    # The test stops at the first picture that differs, keeping it; each run takes the kept
    # ones as its references, until every picture matches.
    mkdir -p "$work/sdl-kept" "$work/sdl-reference"
    cp tests/sdl/reference/*.png "$work/sdl-reference/"
    for attempt in 1 2 3; do
        if KEEP="$work/sdl-kept" "$python" tests/sdl/message_box_test.py "$build/shell/parrun" \
            data "$work/sdl-reference" > "$work/sdl.log" 2>&1; then
            break
        fi
        [ "$attempt" = 3 ] && { cat "$work/sdl.log"; exit 1; }
        cp "$work"/sdl-kept/*.png "$work/sdl-reference/"
    done
    for f in "$work"/sdl-reference/*.png; do
        place "$f" "tests/sdl/reference/$(basename "$f")"
    done
    place "$work/sdl-reference/close-box.png" docs/screens/close-box-window.png
fi

count=$(wc -l < "$review/changed.txt")
echo "== $count files changed; look at $review/ (before, after, changed pixels in magenta)"
echo "   before committing them: git status; git diff --stat"
