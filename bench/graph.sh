#!/usr/bin/env bash
# Framework graph throughput: samples per second through a generator ->
# connect -> sink graph, and bytes per second of `zif-run copy` against cp.
# Usage: bench/graph.sh [FRAMES] [MIB]   (defaults 200000 frames, 64 MiB)
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build -G Ninja -DVANTOREL_TESTS=ON >/dev/null
cmake --build build -j2 --target zif_graph_bench zif-run zif_testplug >/dev/null
build/benchmarks/zif_graph_bench build/testlibs/libzif_testplug.so "${1:-200000}"

mib=${2:-64}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
head -c "$((mib * 1024 * 1024))" /dev/urandom >"$work/in"
seconds() { local s=$EPOCHREALTIME; "$@"; awk -v s="$s" -v e="$EPOCHREALTIME" 'BEGIN { print e - s }'; }
t_run=$(seconds build/bin/zif-run copy "$work/in" "$work/out.zif")
t_cp=$(seconds cp "$work/in" "$work/out.cp")
cmp "$work/in" "$work/out.zif"
bytes=$((mib * 1024 * 1024))
report() { awk -v name="$1" -v mib="$mib" -v t="$2" -v b="$bytes" 'BEGIN { printf "%-13s %d MiB in %.3f s, %.0f MB/s\n", name, mib, t, b / t / 1e6 }'; }
report "zif-run copy:" "$t_run"
report "cp:" "$t_cp"
