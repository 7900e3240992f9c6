#!/bin/bash
# Rebuilds the phrase file from its source and compares it with data/drel.txt byte for byte,
# then checks every phrase and runs the tools' own tests. Run from the repository root.
set -euo pipefail
export PYTHONDONTWRITEBYTECODE=1
here=tools/phrases
python=/usr/bin/python3
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

"$python" "$here/build_drel.py" --out "$tmp/drel.txt"
if ! cmp "$tmp/drel.txt" data/drel.txt; then
    echo "data/drel.txt differs from what $here/build_drel.py makes of $here/phrases.txt" >&2
    exit 1
fi
"$python" "$here/check_phrases.py" --min-phrases 256 --min-regions 28 data/drel.txt
"$python" -m unittest discover -s "$here" -p 'test_*.py'
