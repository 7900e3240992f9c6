#!/bin/bash
# The installed game: `cmake --install` lays out the launcher, the program, the data, the
# desktop entry and the icons, and the launcher prepares the player's game folder. The program
# is replaced by a stand-in that reports its working folder, so no window is needed.
# Usage: install_test.sh BUILD_DIR
set -euo pipefail
build=$(realpath "$1")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

cmake --install "$build" --prefix "$work/prefix" >/dev/null
for path in bin/parrun libexec/parrun/parrun share/parrun/data/drel.txt \
    share/parrun/data/images share/applications/parrun.desktop \
    share/icons/hicolor/48x48/apps/parrun.png share/icons/hicolor/128x128/apps/parrun.png; do
    [ -e "$work/prefix/$path" ] || fail "$path was not installed"
done

# The installed tree may be moved: the launcher finds everything from its own place.
mv "$work/prefix" "$work/moved"
cat >"$work/moved/libexec/parrun/parrun" <<'STAND_IN'
#!/bin/sh
pwd
echo "args $*"
STAND_IN
chmod +x "$work/moved/libexec/parrun/parrun"
launcher="$work/moved/bin/parrun"
export XDG_DATA_HOME="$work/xdg"

out=$(DISPLAY= WAYLAND_DISPLAY= "$launcher" 2>&1) && fail "started without a display"
grep -q "no graphical display" <<<"$out" || fail "no message for a missing display: $out"

out=$(DISPLAY=:99 "$launcher" --scale 2)
[ "$(head -1 <<<"$out")" = "$XDG_DATA_HOME/parrun" ] || fail "ran in $(head -1 <<<"$out")"
grep -q "args --scale 2" <<<"$out" || fail "arguments not passed on: $out"
for item in images se bgm drel.txt; do
    [ -L "$XDG_DATA_HOME/parrun/$item" ] || fail "$item is not linked into the game folder"
    [ -e "$XDG_DATA_HOME/parrun/$item" ] || fail "$item links to nothing"
done
# The build's cut-down sound font, when it made one, reaches the game folder with the pieces.
[ ! -f "$build/game-folder/bgm/music.sf2" ] || [ -f "$XDG_DATA_HOME/parrun/bgm/music.sf2" ] ||
    fail "the build's bgm/music.sf2 is not in the game folder"

# The player's own phrase file and saves stay as they are at the next start.
rm "$XDG_DATA_HOME/parrun/drel.txt"
echo "mine" >"$XDG_DATA_HOME/parrun/drel.txt"
echo "saved" >"$XDG_DATA_HOME/parrun/a.dat"
DISPLAY=:99 "$launcher" >/dev/null
[ "$(cat "$XDG_DATA_HOME/parrun/drel.txt")" = "mine" ] || fail "the player's drel.txt was replaced"
[ "$(cat "$XDG_DATA_HOME/parrun/a.dat")" = "saved" ] || fail "a.dat was touched"
echo "install test passed"
