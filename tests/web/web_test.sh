#!/bin/bash
# The web page in headless Chromium against the scripted host (web_test.js does the browser's
# part): the title drawn the same pixel for pixel; a game played by keys and recorded in the
# page, replayed by parrun-script to the same a.dat and the same last picture; the rankings of
# a damaged a.dat in the browser's storage shown as on the desktop; a reload keeping the saves;
# the sound heard.
# Usage: web_test.sh PARRUN_SCRIPT DATA_FOLDER PAGE_FOLDER NODE_MODULES
set -euo pipefail
script=$(realpath "$1")
data=$(realpath "$2")
page=$(realpath "$3")
export NODE_PATH=$(realpath "$4")
here=$(dirname "$(realpath "$0")")
work=$(mktemp -d)
echo "work folder $work"
trap '[ -n "${KEEP_WORK:-}" ] || rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }
# Runs a script in a game folder for its last picture; a script ends by its timeout (status 3).
last_picture() {
    local status=0
    (cd "$1" && printf "$2" > s && "$script" --last-picture "$3" s >/dev/null) || status=$?
    [ "$status" = 3 ] || fail "parrun-script ended with status $status in $1"
}
same_picture() {
    /usr/bin/python3 -c 'import sys
from PIL import Image, ImageChops
a, b = (Image.open(f).convert("RGB") for f in sys.argv[1:3])
sys.exit(0 if a.size == b.size and ImageChops.difference(a, b).getbbox() is None else 1)' "$1" "$2"
}

# The game folder of every run: one phrase ("a" then "i").
mkdir "$work/start"
cp -r "$data/images" "$data/se" "$data/bgm" "$work/start/"
printf '[drel]\x82\xa0 a\n[normal]\x82\xa2 i\n' > "$work/start/drel.txt"
cp "$work/start/drel.txt" "$work/drel.txt"
# Rankings cut short in the middle of a record, with bytes no save would write.
/usr/bin/python3 -c 'import sys; sys.stdout.buffer.write(bytes(range(0, 37 * 7, 7)))' \
    > "$work/damaged.dat"

node "$here/web_test.js" "$page" "$work" || fail "the page's own checks"

cp -r "$work/start" "$work/title"
last_picture "$work/title" 'end 1000\n' "$work/scripted-title.png"
same_picture "$work/title.png" "$work/scripted-title.png" || fail "the title differs from the scripted host's"
echo "ok: the title is the scripted host's, pixel for pixel"

cp -r "$work/start" "$work/replay"
(cd "$work/replay" && "$script" --replay "$work/recording" --log "$work/replay.log" \
    --last-picture "$work/replay.png") || fail "the replay ended with status $?"
cmp "$work/a.dat" "$work/replay/a.dat" || fail "the replay's a.dat differs"
same_picture "$work/last.png" "$work/replay.png" || fail "the replay's last picture differs"
echo "ok: the replay wrote the same a.dat and showed the same last picture"

cp -r "$work/start" "$work/damaged"
cp "$work/damaged.dat" "$work/damaged/a.dat"
last_picture "$work/damaged" \
    'at 500 press DOWN\nat 600 release DOWN\nat 900 press RETURN\nat 1000 release RETURN\nend 2500\n' \
    "$work/scripted-rankings.png"
same_picture "$work/damaged-rankings.png" "$work/scripted-rankings.png" ||
    fail "the rankings of a damaged a.dat differ from the scripted host's"
echo "ok: a damaged a.dat shows the rankings the scripted host shows"
echo "1 passed, 0 failed"
