#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test.
# Exits non-zero on any failure.
set -euo pipefail
cd "$(dirname "$0")"

scripts/install-deps.sh

jobs=$(nproc)
cmake -S . -B build -G Ninja -DVANTOREL_TESTS=ON
cmake --build build -j "$jobs"
ctest --test-dir build --output-on-failure -j "$jobs" --timeout 600

# The rooms that must also run clean under AddressSanitizer and
# UndefinedBehaviorSanitizer, built a second time in build-sanitize/.
sanitized=()
for room in platform framework plugins/common plugins/mediapipe plugins/ffmpeg plugins/dsgraph plugins/directshow plugins/avifile plugins/smde slave; do
  [ -f "$room/CMakeLists.txt" ] && sanitized+=("$room")
done
if [ ${#sanitized[@]} -gt 0 ]; then
  cmake -S . -B build-sanitize -G Ninja -DVANTOREL_TESTS=ON -DVANTOREL_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug
  targets=()
  for room in "${sanitized[@]}"; do targets+=(--target "$room/all"); done
  cmake --build build-sanitize -j "$jobs" "${targets[@]}"
  for room in "${sanitized[@]}"; do
    echo "== sanitizer run: $room"
    # GLib and GStreamer keep their one-time allocations to the end.
    LSAN_OPTIONS=suppressions=$PWD/scripts/lsan-gstreamer.supp \
    ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
      ctest --test-dir "build-sanitize/$room" --output-on-failure -j "$jobs" --timeout 600
  done
fi
