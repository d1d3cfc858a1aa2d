#!/usr/bin/env bash
# Picture quality per bit of the converter library against
# "ffmpeg -target pal-dvd -bf 2" at the same video bitrate, on three
# generated 1280x720 sources:
#   talk    a detailed still background, a slowly moving shape, light sensor
#           noise (a talking head: low motion, mostly static detail)
#   motion  a test pattern scrolling diagonally (fast motion everywhere)
#   grain   colour bars under strong temporal grain
# Both encode the same H.264 source to a PAL DVD VOB (library through
# build/bench/corvane_convert, as the program calls it). Each VOB's video is
# compared with the source scaled to the DVD frame (720x576, bicubic).
# Printed per source and encoder: bytes, PSNR (dB), SSIM, wall time and CPU
# time (user + system, less affected by other work on a shared machine);
# then the ratios library / ffmpeg. The machine may be shared: run it twice.
#
#   bench/quality.sh [BUILD_DIR] [QUALITY]    (defaults: build, 1)
#   SECONDS_PER_SOURCE=20 bench/quality.sh    (default 10)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
quality=${2:-1}
seconds=${SECONDS_PER_SOURCE:-10}
driver="$build/bench/corvane_convert"
library="$build/bin/libCorvane.so"
if [ ! -x "$driver" ] || [ ! -f "$library" ]; then
  echo "build first: cmake --build $build --target corvane_convert Corvane" >&2
  exit 1
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# name, video kbit/s, lavfi picture source. The talking head is coded at a
# lower rate: above about 1500 kbit/s both encoders reach their finest
# quantiser and the sizes stop following the rate.
sources=(
  "talk 1200 mandelbrot=size=1280x720:rate=25,trim=end_frame=1,loop=loop=-1:size=1,setpts=N/25/TB,format=yuv420p,drawbox=x='560+40*sin(t)':y='260+10*sin(2*t)':w=160:h=200:color=0xc08060@1:t=fill,noise=c0s=6:allf=t"
  "motion 5000 testsrc2=size=1280x720:rate=25,scroll=horizontal=0.013:vertical=0.007"
  "grain 5000 smptehdbars=size=1280x720:rate=25,noise=alls=22:allf=t+u"
)

# Runs a command and prints its wall time and CPU time (user + system) in
# seconds.
timed() {
  local TIMEFORMAT="%R %U %S"
  local times
  times=$( { time "$@" > /dev/null; } 2>&1 )
  awk '{ printf "%.2f %.2f\n", $1, $2 + $3 }' <<< "$times"
}
# Prints "PSNR SSIM" of a VOB's video against the reference, over the
# pictures both have (the frame counts are printed apart).
compare() {
  ffmpeg -nostdin -i "$1" -i "$2" -lavfi \
    "[0:v]setpts=PTS-STARTPTS,split[a1][a2];[1:v]setpts=PTS-STARTPTS,split[b1][b2];[a1][b1]psnr=shortest=1;[a2][b2]ssim=shortest=1" \
    -f null - 2>&1 | awk '/PSNR y:/ { for (i = 1; i <= NF; i++) if ($i ~ /^average:/) { sub("average:", "", $i); p = $i } }
                          /SSIM Y:/ { for (i = 1; i <= NF; i++) if ($i ~ /^All:/) { sub("All:", "", $i); s = $i } }
                          END { print p, s }'
}

printf 'PAL DVD, %s s per source, library quality %s, AC-3 192 kbit/s\n' "$seconds" "$quality"
frames() { ffprobe -v error -count_frames -select_streams v -show_entries stream=nb_read_frames -of default=noprint_wrappers=1:nokey=1 "$1" | head -1; }
printf '%-7s %-6s %-12s %10s %8s %8s %7s %7s %6s\n' source kbit/s encoder bytes PSNR SSIM wall_s cpu_s frames
summary=""
for entry in "${sources[@]}"; do
  read -r name kbps pictures <<< "$entry"
  source="$work/$name.mp4"
  reference="$work/$name.y4m"
  ffmpeg -nostdin -v error -y -f lavfi -i "$pictures,trim=duration=$seconds" \
    -f lavfi -i "sine=frequency=440:sample_rate=48000:duration=$seconds" \
    -c:v libx264 -preset veryfast -crf 16 -pix_fmt yuv420p -c:a aac "$source"
  ffmpeg -nostdin -v error -y -i "$source" -vf scale=720:576:flags=bicubic,format=yuv420p -an "$reference"

  read -r lib_time lib_cpu <<< "$(timed "$driver" "$library" "$source" "$work/library.vob" --kbps "$kbps" --quality "$quality")"
  read -r ff_time ff_cpu <<< "$(timed ffmpeg -nostdin -v error -y -i "$source" -target pal-dvd -b:v "${kbps}k" -b:a 192k -bf 2 \
    -aspect 4:3 "$work/ffmpeg.vob")"
  read -r lib_psnr lib_ssim <<< "$(compare "$work/library.vob" "$reference")"
  read -r ff_psnr ff_ssim <<< "$(compare "$work/ffmpeg.vob" "$reference")"
  lib_size=$(stat -c %s "$work/library.vob")
  ff_size=$(stat -c %s "$work/ffmpeg.vob")
  printf '%-7s %-6s %-12s %10d %8.3f %8.5f %7.2f %7.2f %6s\n' "$name" "$kbps" library "$lib_size" "$lib_psnr" \
    "$lib_ssim" "$lib_time" "$lib_cpu" "$(frames "$work/library.vob")"
  printf '%-7s %-6s %-12s %10d %8.3f %8.5f %7.2f %7.2f %6s\n' "$name" "$kbps" "ffmpeg -bf 2" "$ff_size" "$ff_psnr" \
    "$ff_ssim" "$ff_time" "$ff_cpu" "$(frames "$work/ffmpeg.vob")"
  summary+=$(awk -v n="$name" -v ls="$lib_size" -v fs="$ff_size" -v lp="$lib_psnr" -v fp="$ff_psnr" \
    -v lq="$lib_ssim" -v fq="$ff_ssim" -v lt="$lib_time" -v ft="$ff_time" -v lc="$lib_cpu" -v fc="$ff_cpu" 'BEGIN {
      printf "%-7s size %.3f  PSNR %+.3f dB  SSIM %+.5f  wall %.2f  cpu %.2f\n", n, ls / fs, lp - fp, lq - fq, lt / ft, lc / fc }')$'\n'
  rm -f "$source" "$reference"  # keep the scratch folder small
done
echo "library / ffmpeg (size and wall as ratios, PSNR and SSIM as differences):"
printf '%s' "$summary"
