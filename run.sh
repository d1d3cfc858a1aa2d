#!/usr/bin/env bash
# Installs what is missing, builds, and runs the main job: a DVD folder made
# from a short sample clip.
set -euo pipefail
cd "$(dirname "$0")"

scripts/install-deps.sh

cmake -S . -B build -G Ninja -DVANTOREL_TESTS=OFF
cmake --build build -j "$(nproc)"

bin=build/bin
# Until the production chain exists, show what the program folder holds.
echo "The program folder $bin holds:"
(cd "$bin" && find . -mindepth 1 | sort | sed 's|^\./|  |')
