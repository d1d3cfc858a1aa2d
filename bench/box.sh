#!/usr/bin/env bash
# Boxed nodes: samples per second of a generator run in-process and boxed in
# zif_slv (the cost of the pipe protocol), and the wire decoder fed random
# bytes for a while under AddressSanitizer and UndefinedBehaviorSanitizer.
# Usage: bench/box.sh [FRAMES] [FUZZ_SECONDS]   (defaults 20000 frames, 60 s)
set -euo pipefail
cd "$(dirname "$0")/.."
frames=${1:-20000}
fuzz=${2:-60}

cmake -S . -B build -G Ninja -DVANTOREL_TESTS=ON >/dev/null
cmake --build build -j2 --target zif-run zif_slv zif_testplug >/dev/null
module=build/testlibs/libzif_testplug.so
seconds() { local s=$EPOCHREALTIME; "$@" >/dev/null; awk -v s="$s" -v e="$EPOCHREALTIME" 'BEGIN { print e - s }'; }
report() { awk -v name="$1" -v n="$frames" -v t="$2" 'BEGIN { printf "%-18s %d samples in %.3f s, %.0f samples/s\n", name, n, t, n / t }'; }
report "in-process:" "$(seconds build/bin/zif-run --module "$module" run testplug.generator frames="$frames")"
report "boxed (zif_slv):" "$(seconds build/bin/zif-run --box --module "$module" run testplug.generator frames="$frames")"

cmake -S . -B build-sanitize -G Ninja -DVANTOREL_TESTS=ON -DVANTOREL_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build build-sanitize -j2 --target zif_core_tests >/dev/null
ZIF_WIRE_FUZZ_SECONDS=$fuzz build-sanitize/tests/zif_core_tests --gtest_filter=WireTest.RandomBytesNeverCrashTheDecoder |
  grep -E 'wire fuzz|OK|FAILED'
