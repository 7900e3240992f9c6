#!/bin/bash
# Rebuilds the art into a scratch folder, compares it byte for byte with what is
# checked in, and runs the art's own tests.  Run from the repository root.
set -euo pipefail
cd "$(dirname "$0")/../.."

out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
/usr/bin/python3 tools/art/build.py "$out"

status=0
compare() {  # folder relative to the root, file pattern
    local dir=$1 pattern=$2
    local built checked
    built=$(cd "$out/$dir" && ls $pattern 2>/dev/null | sort)
    checked=$(cd "$dir" && ls $pattern 2>/dev/null | sort)
    if [ "$built" != "$checked" ]; then
        echo "art: $dir: files differ from a rebuild"
        diff <(echo "$checked") <(echo "$built") || true
        status=1
    fi
    for f in $built; do
        if ! cmp -s "$out/$dir/$f" "$dir/$f"; then
            echo "art: $dir/$f differs from a rebuild (run tools/art/build.py)"
            status=1
        fi
    done
}
compare data/images '*.bmp'
compare resources mypallet.bmp
compare docs/art contact_sheet.png

/usr/bin/python3 tools/art/test_art.py || status=1
exit $status
