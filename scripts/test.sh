#!/bin/bash
# Installs what the tests need, builds from scratch, and runs every test: the unit tests,
# scenarios, content checks and the SDL window test (gcc), the same tests under
# AddressSanitizer and UndefinedBehaviorSanitizer (clang), a short run of every fuzz target,
# and the Windows cross-build of the game.
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
ctest --test-dir "$out/gcc" -j"$jobs" --output-on-failure -LE long

echo "=== clang build with AddressSanitizer and UndefinedBehaviorSanitizer"
cmake -S "$root" -B "$out/asan" -G Ninja -DCMAKE_BUILD_TYPE=Debug \
    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DPARRUN_SANITIZE=ON
ninja -C "$out/asan" -j"$jobs"
ASAN_OPTIONS=detect_leaks=1 ctest --test-dir "$out/asan" -j"$jobs" --output-on-failure -LE 'content|sdl|long'

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

echo "=== Windows cross-build"
cmake -S "$root" -B "$out/windows" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake"
ninja -C "$out/windows" -j"$jobs"
echo "all checks passed"
