#!/usr/bin/env bash
# Picture quality per bit of the converter library against
# "ffmpeg -target pal-dvd -bf 2", on three generated 1280x720 sources:
#   talk    a detailed still background, a slowly moving shape, light sensor
#           noise (a talking head: low motion, mostly static detail)
#   motion  a test pattern scrolling diagonally (fast motion everywhere)
#   grain   colour bars under strong temporal grain
# Both encode the same H.264 source to a PAL DVD VOB (library through
# build/bench/corvane_convert, as the program calls it). Each VOB's video is
# compared with the source scaled to the DVD frame (720x576, bicubic).
# Rate controls land at different sizes for the same bitrate, so ffmpeg is
# run first at the library's bitrate ("same rate") and then again at rates
# moved towards the library's file size until it is within 1 % of it
# ("same size"); "at our size" interpolates ffmpeg's PSNR and SSIM to the
# library's exact size (log of the size) between the runs around it, or
# takes the run nearest in size when all are on one side.
# Printed per source and run: bytes, PSNR (dB), SSIM, wall time and CPU time
# (user + system, less affected by other work on a shared machine); then
# the ratios and differences library / ffmpeg. The machine may be shared:
# run it twice.
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
# seconds; what the command itself prints goes to $work/messages.
timed() {
  local TIMEFORMAT="%R %U %S"
  local times
  times=$( { time "$@" > /dev/null 2> "$work/messages"; } 2>&1 )
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
printf '%-7s %-6s %-18s %10s %8s %8s %7s %7s %6s\n' source kbit/s encoder bytes PSNR SSIM wall_s cpu_s frames
row() { # source, kbit/s, label, bytes, PSNR, SSIM, wall, cpu, frames
  printf '%-7s %-6s %-18s %10d %8.3f %8.5f %7s %7s %6s\n' "$@"
}
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
  read -r lib_psnr lib_ssim <<< "$(compare "$work/library.vob" "$reference")"
  lib_size=$(stat -c %s "$work/library.vob")
  row "$name" "$kbps" library "$lib_size" "$lib_psnr" "$lib_ssim" "$lib_time" "$lib_cpu" "$(frames "$work/library.vob")"

  # ffmpeg at the same rate, then by secant steps on (rate, size) until its
  # file is within 1 % of the library's; every run is kept as "rate size
  # PSNR SSIM" for the interpolation.
  runs=""
  rate=$kbps previous_rate="" previous_size=""
  for attempt in 1 2 3 4 5; do
    read -r ff_time ff_cpu <<< "$(timed ffmpeg -nostdin -v error -y -i "$source" -target pal-dvd -b:v "${rate}k" \
      -b:a 192k -bf 2 -aspect 4:3 "$work/ffmpeg.vob")"
    read -r ff_psnr ff_ssim <<< "$(compare "$work/ffmpeg.vob" "$reference")"
    ff_size=$(stat -c %s "$work/ffmpeg.vob")
    runs+="$rate $ff_size $ff_psnr $ff_ssim"$'\n'
    if [ "$attempt" = 1 ]; then
      label="ffmpeg same rate"
      same_rate_time=$ff_time same_rate_cpu=$ff_cpu same_rate_size=$ff_size same_rate_psnr=$ff_psnr
    else
      label="ffmpeg ${rate}k"
    fi
    row "$name" "$rate" "$label" "$ff_size" "$ff_psnr" "$ff_ssim" "$ff_time" "$ff_cpu" "$(frames "$work/ffmpeg.vob")"
    within=$(awk -v a="$ff_size" -v b="$lib_size" 'BEGIN { d = a / b - 1; print (d < 0 ? -d : d) <= 0.01 }')
    [ "$within" = 1 ] && [ "$attempt" -gt 1 ] && break
    next_rate=$(awk -v r="$rate" -v s="$ff_size" -v pr="$previous_rate" -v ps="$previous_size" -v t="$lib_size" 'BEGIN {
      if (pr == "" || ps == s) n = r * t / s; else n = r + (t - s) * (r - pr) / (s - ps)
      printf "%d", n + 0.5 }')
    previous_rate=$rate previous_size=$ff_size rate=$next_rate
  done
  # PSNR and SSIM at the library's size: interpolated on the log of the
  # size between the two runs around it, or the run nearest in size when
  # none lies on the other side (two runs a few kilobytes apart carry too
  # much noise to extrapolate from).
  read -r at_psnr at_ssim <<< "$(awk -v t="$lib_size" 'NF == 4 {
      n++; s[n] = $2; p[n] = $3; q[n] = $4 }
    END {
      below = above = 0
      for (i = 1; i <= n; i++) {
        if (s[i] <= t && (!below || s[i] > s[below])) below = i
        if (s[i] >= t && (!above || s[i] < s[above])) above = i
      }
      if (below && above && s[above] > s[below]) {
        f = (log(t) - log(s[below])) / (log(s[above]) - log(s[below]))
        printf "%.3f %.5f\n", p[below] + f * (p[above] - p[below]), q[below] + f * (q[above] - q[below])
        exit
      }
      a = below ? below : above
      if (below && above && t - s[below] > s[above] - t) a = above
      print p[a], q[a] }' <<< "$runs")"
  printf '%-7s %-6s %-18s %10d %8.3f %8.5f\n' "$name" "" "ffmpeg at our size" "$lib_size" "$at_psnr" "$at_ssim"
  summary+=$(awk -v n="$name" -v ls="$lib_size" -v fs="$same_rate_size" -v lp="$lib_psnr" -v fp="$same_rate_psnr" \
    -v ap="$at_psnr" -v lq="$lib_ssim" -v aq="$at_ssim" -v lt="$lib_time" -v ft="$same_rate_time" \
    -v lc="$lib_cpu" -v fc="$same_rate_cpu" 'BEGIN {
      printf "%-7s same rate: size %.3f  PSNR %+.3f dB | same size: PSNR %+.3f dB  SSIM %+.5f | wall %.2f  cpu %.2f\n",
        n, ls / fs, lp - fp, lp - ap, lq - aq, lt / ft, lc / fc }')$'\n'
  rm -f "$source" "$reference"  # keep the scratch folder small
done
echo "library / ffmpeg (size, wall and cpu as ratios to ffmpeg at the same rate; PSNR and SSIM as differences):"
printf '%s' "$summary"
