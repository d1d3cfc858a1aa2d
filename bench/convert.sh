#!/usr/bin/env bash
# Converts one generated 30-second 1280x720 clip to a PAL DVD VOB with the
# converter library (through build/bench/corvane_convert) and with
# "ffmpeg -target pal-dvd" at the same video bitrate, and prints the wall
# and CPU times, their ratio (library / ffmpeg) and the output sizes.
#
# The library codes two B-pictures between references (GOP IBBPBBP...);
# "-target pal-dvd" alone codes none, so the like-for-like comparison gives
# ffmpeg "-bf 2" as well. The plain target run is printed for reference.
# The library's quality 2 ("Min. Output Size", 2500 kbit/s) is printed too:
# it must be the smallest and fastest of the library's runs.
# Each converter runs twice, alternately, and its faster run counts: the
# machine is shared and single runs are noisy.
#
#   bench/convert.sh [BUILD_DIR]      (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
driver="$build/bench/corvane_convert"
library="$build/bin/libCorvane.so"
kbps=5000
if [ ! -x "$driver" ] || [ ! -f "$library" ]; then
  echo "build first: cmake --build $build --target corvane_convert" >&2
  exit 1
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
source="$work/source.mp4"
ffmpeg -nostdin -v error -y \
  -f lavfi -i "testsrc2=size=1280x720:rate=25:duration=30" \
  -f lavfi -i "sine=frequency=440:sample_rate=48000:duration=30" \
  -c:v libx264 -preset veryfast -crf 20 -pix_fmt yuv420p -c:a aac -b:a 160k "$source"

# Runs a command; appends "wall cpu" (seconds) to the file named first.
timed() {
  local out=$1
  shift
  local TIMEFORMAT="%R %U %S"
  { time "$@" > /dev/null; } 2> "$work/time"
  awk '{ printf "%s %.3f\n", $1, $2 + $3 }' "$work/time" >> "$out"
}
library_run() { "$driver" "$library" "$source" "$work/library.vob" --kbps "$kbps"; }
# Quality 2 ("Min. Output Size") at the program's rate for it, for reference.
library_smallest() { "$driver" "$library" "$source" "$work/smallest.vob" --kbps 2500 --quality 2; }
ffmpeg_same() { ffmpeg -nostdin -v error -y -i "$source" -target pal-dvd -b:v "${kbps}k" -b:a 192k -bf 2 -aspect 4:3 "$work/ffmpeg.vob"; }
ffmpeg_plain() { ffmpeg -nostdin -v error -y -i "$source" -target pal-dvd -b:v "${kbps}k" -b:a 192k -aspect 4:3 "$work/plain.vob"; }

for round in 1 2; do
  timed "$work/library.times" library_run
  timed "$work/ffmpeg.times" ffmpeg_same
  timed "$work/plain.times" ffmpeg_plain
  timed "$work/smallest.times" library_smallest
done

best() { sort -n "$1" | head -1; }
read -r lib_wall lib_cpu <<< "$(best "$work/library.times")"
read -r ff_wall ff_cpu <<< "$(best "$work/ffmpeg.times")"
read -r plain_wall plain_cpu <<< "$(best "$work/plain.times")"
read -r small_wall small_cpu <<< "$(best "$work/smallest.times")"
size() { stat -c %s "$1"; }

printf 'source: 30 s 1280x720 H.264 + AAC; target PAL DVD, video %s kbit/s, AC-3 192 kbit/s\n' "$kbps"
printf '%-28s %8s %8s %12s\n' "" "wall s" "cpu s" "bytes"
printf '%-28s %8.2f %8.2f %12d\n' "libCorvane.so" "$lib_wall" "$lib_cpu" "$(size "$work/library.vob")"
printf '%-28s %8.2f %8.2f %12d\n' "ffmpeg -target pal-dvd -bf 2" "$ff_wall" "$ff_cpu" "$(size "$work/ffmpeg.vob")"
printf '%-28s %8.2f %8.2f %12d\n' "ffmpeg -target pal-dvd" "$plain_wall" "$plain_cpu" "$(size "$work/plain.vob")"
printf '%-28s %8.2f %8.2f %12d\n' "libCorvane.so quality 2" "$small_wall" "$small_cpu" "$(size "$work/smallest.vob")"
awk -v lw="$lib_wall" -v lc="$lib_cpu" -v fw="$ff_wall" -v fc="$ff_cpu" -v pw="$plain_wall" 'BEGIN {
  printf "ratio library / ffmpeg (same GOP): wall %.2f, cpu %.2f (goal: wall <= 1.10)\n", lw / fw, lc / fc
  printf "ratio library / ffmpeg -target pal-dvd alone: wall %.2f\n", lw / pw
}'
