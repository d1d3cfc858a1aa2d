#!/usr/bin/env bash
# Decode throughput of the FFmpeg plug-in: pictures and sound of one
# generated clip decoded by `zif-run decode` (decoder -> sink, every plane
# copied into framework samples) against `ffmpeg -i FILE -f null -` on the
# same file. Prints wall times, frames per second and their ratio.
# Usage: bench/decode.sh [SECONDS] [SIZE]   (defaults 20 s, 1280x720)
set -euo pipefail
cd "$(dirname "$0")/.."
duration=${1:-20}
size=${2:-1280x720}
cmake -S . -B build -G Ninja -DVANTOREL_TESTS=ON >/dev/null
cmake --build build -j2 --target zif-run wyv_ffmpeg >/dev/null

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
clip="$work/clip.mp4"
ffmpeg -nostdin -v error -y \
  -f lavfi -i "testsrc2=size=$size:rate=25:duration=$duration" \
  -f lavfi -i "sine=frequency=440:sample_rate=48000:duration=$duration" \
  -c:v libx264 -preset veryfast -crf 20 -pix_fmt yuv420p -bf 2 -c:a aac -b:a 160k "$clip"
frames=$((duration * 25))

seconds() { local s=$EPOCHREALTIME; "$@" >/dev/null 2>&1; awk -v s="$s" -v e="$EPOCHREALTIME" 'BEGIN { print e - s }'; }
# Both single-threaded decoders; each runs twice and the faster run counts
# (the machine is shared).
best() { local a b; a=$(seconds "$@"); b=$(seconds "$@"); awk -v a="$a" -v b="$b" 'BEGIN { print (a < b ? a : b) }'; }
t_zif=$(best build/bin/zif-run decode "$clip")
t_ffmpeg=$(best ffmpeg -nostdin -threads 1 -i "$clip" -f null -)
pictures=$(build/bin/zif-run decode "$clip" | grep -c 'video.0: #' || true)
if [ "$pictures" -ne "$frames" ]; then
  echo "zif-run decode gave $pictures pictures, expected $frames" >&2
  exit 1
fi
report() { awk -v name="$1" -v t="$2" -v f="$frames" 'BEGIN { printf "%-16s %d pictures + sound in %.3f s, %.0f pictures/s\n", name, f, t, f / t }'; }
report "zif-run decode:" "$t_zif"
report "ffmpeg -f null:" "$t_ffmpeg"
awk -v a="$t_zif" -v b="$t_ffmpeg" 'BEGIN { printf "ratio (zif-run / ffmpeg): %.2f\n", a / b }'
