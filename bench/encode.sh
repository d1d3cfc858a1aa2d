#!/usr/bin/env bash
# Transcode time of the FFmpeg plug-in: one generated clip (H.264 + AAC)
# turned into MPEG-2 video and MP2 sound by `zif-run encode` (decoder ->
# converters -> encoder -> file writer) against the ffmpeg CLI doing the
# same transcode with the same settings, both single-threaded. Prints wall
# times, pictures per second, their ratio, and checks both results with
# ffprobe.
# Usage: bench/encode.sh [SECONDS] [SIZE]   (defaults 10 s, 720x576)
set -euo pipefail
cd "$(dirname "$0")/.."
duration=${1:-10}
size=${2:-720x576}
cmake -S . -B build -G Ninja -DVANTOREL_TESTS=ON >/dev/null
cmake --build build -j2 --target zif-run wyv_ffmpeg >/dev/null

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
clip="$work/clip.mp4"
ffmpeg -nostdin -v error -y \
  -f lavfi -i "testsrc2=size=$size:rate=25:duration=$duration" \
  -f lavfi -i "sine=frequency=440:sample_rate=44100:duration=$duration" \
  -c:v libx264 -preset veryfast -crf 20 -pix_fmt yuv420p -bf 2 -c:a aac -b:a 160k "$clip"
frames=$((duration * 25))

seconds() { local s=$EPOCHREALTIME; "$@" >/dev/null 2>&1; awk -v s="$s" -v e="$EPOCHREALTIME" 'BEGIN { print e - s }'; }
# Each runs twice and the faster run counts (the machine is shared).
best() { local a b; a=$(seconds "$@"); b=$(seconds "$@"); awk -v a="$a" -v b="$b" 'BEGIN { print (a < b ? a : b) }'; }
t_zif=$(best build/bin/zif-run encode "$clip" "$work/zif.m2v" audio="$work/zif.mp2" \
  bitrate=5000000 gopsize=12 audio.bitrate=192000 audio.samplerate=48000)
t_ffmpeg=$(best ffmpeg -nostdin -y -threads 1 -i "$clip" \
  -map 0:v -threads 1 -c:v mpeg2video -b:v 5000000 -g 12 -f mpeg2video "$work/ff.m2v" \
  -map 0:a -c:a mp2 -b:a 192k -ar 48000 -f mp2 "$work/ff.mp2")
count() { ffprobe -v error -count_frames -show_entries stream=nb_read_frames -of default=nw=1:nk=1 "$1" | head -1; }
pictures=$(count "$work/zif.m2v")
if [ "$pictures" -ne "$frames" ]; then
  echo "zif-run encode wrote $pictures pictures, expected $frames" >&2
  exit 1
fi
report() {
  awk -v name="$1" -v t="$2" -v f="$frames" -v v="$3" -v a="$4" \
    'BEGIN { printf "%-16s %d pictures + sound in %.3f s, %.0f pictures/s (%d + %d bytes)\n", name, f, t, f / t, v, a }'
}
report "zif-run encode:" "$t_zif" "$(stat -c %s "$work/zif.m2v")" "$(stat -c %s "$work/zif.mp2")"
report "ffmpeg:" "$t_ffmpeg" "$(stat -c %s "$work/ff.m2v")" "$(stat -c %s "$work/ff.mp2")"
awk -v a="$t_zif" -v b="$t_ffmpeg" 'BEGIN { printf "ratio (zif-run / ffmpeg): %.2f\n", a / b }'
