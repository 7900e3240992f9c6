#!/bin/bash
# Installs what the game needs, builds it, and starts it in a window. Saves (key.dat, a.dat)
# live in the per-user game folder, which survives rebuilds.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install-deps.sh" play
cmake -S "$root" -B "$root/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPARRUN_TESTS=OFF
ninja -C "$root/build" parrun
game="${XDG_DATA_HOME:-$HOME/.local/share}/parrun"
mkdir -p "$game"
# The game's own files are refreshed; the player's saves are left alone.
cp -r "$root/data/." "$game/"
# The build's cut-down sound font, when it could make one (cmake/music_font.cmake); else the
# game reads the system's whole font.
if [ -f "$root/build/game-folder/bgm/music.sf2" ]; then
    cp "$root/build/game-folder/bgm/music.sf2" "$game/bgm/"
else
    rm -f "$game/bgm/music.sf2"
fi
cd "$game"
exec "$root/build/shell/parrun" "$@"
