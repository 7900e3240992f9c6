#!/bin/bash
# What a player sees when a piece of the system is missing: one line on standard error naming
# what to install or set up, once, and either a clean end with a non-zero status (no display, no
# Japanese font: nothing to play on) or a game that runs on (no sound font: silent music).
# A program that hangs instead (status 124 from timeout) fails.
# Usage: missing_pieces_test.sh PARRUN PARRUN_SCRIPT DATA_FOLDER
set -euo pipefail
parrun=$(realpath "$1")
script_host=$(realpath "$2")
data=$(realpath "$3")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
passed=0

mkdir "$work/game"
cp -r "$data/." "$work/game/"
# fontconfig that knows no font at all.
printf '<?xml version="1.0"?>\n<fontconfig></fontconfig>\n' >"$work/empty-fonts.conf"
# Into the settings (text is drawn there), then Escape.
cat >"$work/settings.script" <<'SCRIPT'
at 100 press DOWN
at 150 release DOWN
at 200 press DOWN
at 250 release DOWN
at 300 press RETURN
at 350 release RETURN
at 600 press ESCAPE
at 650 release ESCAPE
end 2000
SCRIPT

font_message="parrun: no Japanese font found; install the Debian package fonts-ipafont-gothic"
sound_font_message="parrun: no General MIDI sound font found, so the music is silent; install\
 the Debian package fluid-soundfont-gm (or name a sound font in PARRUN_SOUNDFONT)"

# name | expected status | line expected once on standard error | environment | program...
cases=(
    "no display|1|parrun: cannot open a window: no graphical display (DISPLAY is not set)|DISPLAY= WAYLAND_DISPLAY=|$parrun"
    "unreachable display|1|parrun: cannot open a window: the graphical display DISPLAY=:987 cannot be reached|DISPLAY=:987 WAYLAND_DISPLAY=|$parrun"
    "no Japanese font, the game|1|$font_message|FONTCONFIG_FILE=$work/empty-fonts.conf|$parrun"
    "no Japanese font, the scripted game runs on|0|$font_message|FONTCONFIG_FILE=$work/empty-fonts.conf|$script_host --log $work/log $work/settings.script"
    "no sound font|0|$sound_font_message|PARRUN_SOUNDFONT=$work/none.sf2|$script_host --log $work/log $work/settings.script"
)

for entry in "${cases[@]}"; do
    IFS='|' read -r name want_status want_line environment command <<<"$entry"
    # shellcheck disable=SC2086 # the environment and the command are word lists
    (cd "$work/game" && exec timeout 20 env $environment $command) >"$work/out" 2>"$work/err" </dev/null &&
        status=0 || status=$?
    count=$(grep -cF -- "$want_line" "$work/err" || true)
    if [ "$status" != "$want_status" ] || [ "$count" != 1 ]; then
        echo "FAIL: $name: status $status (expected $want_status), the message seen $count times"
        echo "--- standard error"
        cat "$work/err"
        failures=$((failures + 1))
    else
        echo "ok: $name: $(grep -F -- "$want_line" "$work/err")"
        passed=$((passed + 1))
    fi
done
echo "$passed passed, $failures failed"
[ "$failures" = 0 ]
