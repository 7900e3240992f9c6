#!/bin/bash
# Builds FreeType for the browser from Debian's source package, into build-web/freetype/ (or
# the freetype folder of PARRUN_WEB_BUILD).
# The source is fetched with apt under a sources list and state folder of our own, so the
# machine's apt set-up stays as it was. Only the core library is built: the font we ship is a
# plain TrueType face, so zlib, bzip2, PNG, HarfBuzz and Brotli are left out.
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(realpath -m "${PARRUN_WEB_BUILD:-build-web}")
out=$build/freetype
if [ -f "$out/lib/libfreetype.a" ]; then exit 0; fi
work=$build/freetype-source
apt_dir=$work/apt
rm -rf "$work"
mkdir -p "$apt_dir/state/lists/partial" "$apt_dir/cache/archives/partial" "$work/src"
keyring=/usr/share/keyrings/debian-archive-keyring.gpg
cat > "$apt_dir/sources.list" <<LIST
deb-src [signed-by=$keyring] http://deb.debian.org/debian bookworm main
deb-src [signed-by=$keyring] http://deb.debian.org/debian bookworm-updates main
deb-src [signed-by=$keyring] http://deb.debian.org/debian-security bookworm-security main
LIST
apt_options=(-o "Dir::Etc::SourceList=$apt_dir/sources.list" -o "Dir::Etc::SourceParts=/dev/null"
    -o "Dir::State=$apt_dir/state" -o "Dir::Cache=$apt_dir/cache"
    -o "Dir::State::status=/var/lib/dpkg/status" -o "APT::Sandbox::User=root")
apt-get "${apt_options[@]}" -qq update
(cd "$work/src" && apt-get "${apt_options[@]}" -qq source --download-only freetype)
dsc=$(ls "$work"/src/freetype_*.dsc | head -n 1)
(cd "$work/src" && dpkg-source --no-check -x "$dsc" freetype >/dev/null)
# The Debian source keeps FreeType's own release tarball inside its orig tarball.
source_dir=$work/src/freetype
if [ ! -f "$source_dir/CMakeLists.txt" ]; then
    tarball=$(ls "$source_dir"/freetype-*.tar.* 2>/dev/null | head -n 1)
    mkdir -p "$work/src/unpacked"
    tar -xf "$tarball" -C "$work/src/unpacked"
    source_dir=$(ls -d "$work"/src/unpacked/freetype-* | head -n 1)
fi
export NODE_PATH=/usr/share/nodejs
emcmake cmake -S "$source_dir" -B "$work/build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX="$out" -DBUILD_SHARED_LIBS=OFF \
    -DFT_DISABLE_ZLIB=ON -DFT_DISABLE_BZIP2=ON -DFT_DISABLE_PNG=ON \
    -DFT_DISABLE_HARFBUZZ=ON -DFT_DISABLE_BROTLI=ON >/dev/null
ninja -C "$work/build" install >/dev/null
echo "FreeType $(basename "$dsc" .dsc | sed 's/freetype_//') built into $out"
