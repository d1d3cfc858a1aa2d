#!/usr/bin/env bash
# Throughput of the framework's context allocator against malloc/free, and of
# table set/get. Usage: bench/values.sh [ROUNDS]   (default 20000000)
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build -G Ninja >/dev/null
cmake --build build -j2 --target zif_values_bench >/dev/null
build/benchmarks/zif_values_bench "${1:-20000000}"
