#!/bin/bash
# Installs what the tests need, builds from scratch, and runs every test: the unit tests,
# scenarios, content checks and the SDL window test (gcc), the optimised build play.sh makes,
# the same tests under
# AddressSanitizer and UndefinedBehaviorSanitizer (clang), a short run of every fuzz target,
# the Windows cross-build of the game with its zip, the Windows game under Wine, and the web
# page in headless Chromium.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
out="${PARRUN_BUILD_ROOT:-$root/out}"
fuzz_seconds="${PARRUN_FUZZ_SECONDS:-20}"
jobs="${PARRUN_JOBS:-2}"
"$root/scripts/install-deps.sh"
rm -rf "$out"
mkdir -p "$out"

echo "=== format"
"$root/scripts/check-format.sh"

echo "=== gcc build and tests"
cmake -S "$root" -B "$out/gcc" -G Ninja -DCMAKE_BUILD_TYPE=Debug \
    -DCMAKE_C_COMPILER=gcc -DCMAKE_CXX_COMPILER=g++
ninja -C "$out/gcc" -j"$jobs"
ctest --test-dir "$out/gcc" -j"$jobs" --output-on-failure

echo "=== the comparison with a peer game, briefly (figures in docs/performance.md)"
"$root/scripts/compare-peer.sh" --quick "$out/gcc/shell/parrun" "$root/data"

echo "=== web: the page built with Emscripten, played in headless Chromium against the scripted host"
PARRUN_WEB_BUILD="$out/web" bash "$root/scripts/web.sh" --build-only
npm install --silent --no-audit --no-fund --prefix "$out/web/node" playwright-core@1.49.1
bash "$root/tests/web/web_test.sh" "$out/gcc/shell/parrun-script" "$root/data" "$out/web/page" \
    "$out/web/node/node_modules"

echo "=== the player's build: what play.sh makes, with gcc's optimiser"
cmake -S "$root" -B "$out/play" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPARRUN_TESTS=OFF
ninja -C "$out/play" -j"$jobs" parrun

echo "=== clang build with AddressSanitizer and UndefinedBehaviorSanitizer"
cmake -S "$root" -B "$out/asan" -G Ninja -DCMAKE_BUILD_TYPE=Debug \
    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DPARRUN_SANITIZE=ON
ninja -C "$out/asan" -j"$jobs"
ASAN_OPTIONS=detect_leaks=1 ctest --test-dir "$out/asan" -j"$jobs" --output-on-failure -LE 'content|sdl|longrun'

echo "=== fuzz targets, ${fuzz_seconds}s each"
cmake -S "$root" -B "$out/fuzz" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DPARRUN_FUZZ=ON
ninja -C "$out/fuzz" -j"$jobs"
fuzzers=$(find "$out/fuzz/tests/fuzz" -type f -executable -name 'fuzz_*' | sort)
count=0
for fuzzer in $fuzzers; do
    name=$(basename "$fuzzer")
    area=$(basename "$(dirname "$fuzzer")")
    corpus="$out/fuzz/corpus/$name"
    mkdir -p "$corpus"
    seeds="$root/tests/fuzz/$area/seeds/$name"
    [ -d "$seeds" ] && cp -r "$seeds/." "$corpus/"
    echo "--- $name"
    "$fuzzer" -max_total_time="$fuzz_seconds" -print_final_stats=1 "$corpus" 2>&1 | tail -4
    count=$((count + 1))
done
echo "$count fuzz targets ran without a finding"

echo "=== Windows: the shipped 32-bit program and Parrun-windows.zip"
cmake -S "$root" -B "$out/windows" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake"
ninja -C "$out/windows" -j"$jobs"
/usr/bin/python3 "$root/tests/wine/check_zip.py" "$out/windows/Parrun-windows.zip" "$root/data"

# This machine's kernel runs no 32-bit programs: Debian's 32-bit Wine, unpacked into a folder,
# runs under qemu.
echo "=== Wine: the shipped 32-bit game played against the scripted host, and the conformance facts"
started=$SECONDS
"$root/tests/wine/wine32_setup.sh" "$out/wine32"
echo "32-bit Wine set up in $((SECONDS - started)) s"
# Debian's own Python, which has PIL and numpy (python3-pil, python3-numpy).
/usr/bin/python3 "$root/tests/wine/wine_test.py" "$out/windows" "$out/gcc" "$root" \
    --wine32 "$out/wine32"
echo "all checks passed"
