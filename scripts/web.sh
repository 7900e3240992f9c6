#!/bin/bash
# Builds the game's web page into build-web/page/ (index.html, the program and its data) and
# serves it at http://127.0.0.1:8000/. The folder can be put on any static web server.
# "--build-only" builds without serving; PARRUN_WEB_BUILD names another folder than build-web.
set -euo pipefail
cd "$(dirname "$0")/.."
serve=1
if [ "${1:-}" = "--build-only" ]; then serve=0; fi
build=$(realpath -m "${PARRUN_WEB_BUILD:-build-web}")
export PARRUN_WEB_BUILD=$build

SUDO=""
if [ "$(id -u)" != 0 ]; then SUDO=sudo; fi
mapfile -t packages < <(grep -v '^\s*#' .ci/packages-web.txt | grep -v '^\s*$')
missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
        missing+=("$package")
done
# A machine whose node comes from elsewhere has its npm too; Debian's would replace that node.
command -v npm >/dev/null || missing+=(npm)
if [ ${#missing[@]} -gt 0 ]; then
    $SUDO apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends \
        "${missing[@]}"
fi

# Debian's emscripten finds its JavaScript libraries (acorn) there, whichever node runs it.
export NODE_PATH=/usr/share/nodejs
bash scripts/web-freetype.sh
# FluidSynth for the browser, from the npm registry.
fluid=$build/node/node_modules/js-synthesizer/externals
if [ ! -f "$fluid/libfluidsynth-2.3.0.js" ]; then
    npm install --silent --no-audit --no-fund --prefix "$build/node" js-synthesizer@1.13.0
fi
emcmake cmake -S . -B "$build/game" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DPARRUN_WEB_FREETYPE="$build/freetype" >/dev/null
ninja -C "$build/game" -j"${PARRUN_JOBS:-$(nproc)}" parrun

page=$build/page
rm -rf "$page"
mkdir -p "$page"
cp platform/web/page/index.html "$page/"
cp "$build"/game/shell/parrun.{js,wasm,data} "$page/"
cp /usr/share/doc/fonts-ipafont-gothic/copyright "$page/ipa-font-licence.txt"
cp "$fluid/libfluidsynth-2.3.0.js" "$page/"
cp "$fluid/LICENSE.fluidsynth.txt" "$page/fluidsynth-licence.txt"
# The music's sound font: only the instruments the two pieces play, from Debian's FluidR3_GM.
PYTHONDONTWRITEBYTECODE=1 /usr/bin/python3 tools/music/subset_font.py \
    /usr/share/sounds/sf2/FluidR3_GM.sf2 "$page/music.sf2" data/bgm/title.mid data/bgm/game.mid
cp /usr/share/doc/fluid-soundfont-gm/copyright "$page/sound-font-licence.txt"
echo "The page is in $page ($(du -sh "$page" | cut -f1))."

if [ "$serve" = 1 ]; then
    echo "Serving it at http://127.0.0.1:8000/ (Ctrl-C stops)."
    exec python3 -m http.server 8000 --bind 127.0.0.1 --directory "$page"
fi
