#!/bin/sh
# Starts the installed game in the player's own game folder, $XDG_DATA_HOME/parrun (by default
# ~/.local/share/parrun). The game reads and writes relative to its working folder: the
# player's settings ("key.dat") and rankings ("a.dat") are kept there, and the installed
# pictures, sounds, music and phrases are linked in beside them. A "drel.txt" or a folder the
# player put there in place of a link is the player's own and is left alone.
here=$(dirname "$(readlink -f "$0")")
prefix=$(dirname "$here")
data="$prefix/share/parrun/data"
program="$prefix/libexec/parrun/parrun"
game="${XDG_DATA_HOME:-$HOME/.local/share}/parrun"

if [ ! -x "$program" ] || [ ! -d "$data" ]; then
    echo "parrun: the game is not installed completely (looked for $program and $data)" >&2
    exit 1
fi
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "parrun: cannot open a window: no graphical display (DISPLAY is not set)" >&2
    exit 1
fi
# The program asks fontconfig for this family too, and says the same when it's missing.
if command -v fc-list >/dev/null 2>&1 && [ -z "$(fc-list IPAGothic family 2>/dev/null)" ]; then
    echo "parrun: no Japanese font found; install the Debian package fonts-ipafont-gothic" >&2
    exit 1
fi
if ! mkdir -p "$game"; then
    echo "parrun: cannot create the game folder $game" >&2
    exit 1
fi
for item in images se bgm drel.txt; do
    target="$game/$item"
    if [ -L "$target" ] || [ ! -e "$target" ]; then
        ln -sfn "$data/$item" "$target"
    fi
done
cd "$game" || exit 1
exec "$program" "$@"
