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
cd "$game"
exec "$root/build/shell/parrun" "$@"
