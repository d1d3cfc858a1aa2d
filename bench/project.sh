#!/usr/bin/env bash
# Builds a 3-clip and a 6-clip PAL DVD project (generated clips of 20-30 s
# from varied sources: H.264/AAC, MPEG-4/MP3, MPEG-2/AC-3, VP9/Opus, sizes
# from 352x288 to 1280x720, 24 to 30 frames per second) three ways:
#   vantorel-cli --jobs 1   clips converted one after another
#   vantorel-cli --jobs N   N clips converted side by side (N: the core
#                           count, at least 2; or PARALLEL_JOBS)
#   by hand                 "ffmpeg -target pal-dvd" per clip, then dvdauthor
# and prints for each build:
#   wall s, cpu s     wall and CPU time (user + system) of the whole build
#   conv wall         wall time of the conversion phase ("Start to convert"
#                     to "Start to mux" in the program's log)
#   conv cpu          CPU time of the program and its workers in that phase
#   conv cores        conv cpu / conv wall: the cores kept busy converting
#   load              the 1-minute load average when the build started
# then the parallel/sequential ratios of wall time and of CPU time, and the
# machine's core count. Other programs running at the same time make wall
# times longer; CPU times suffer much less. The figures are printed, not
# checked: the machine may be shared.
#
#   bench/project.sh [BUILD_DIR]      (default: build)
#   ROUNDS=3 bench/project.sh         every build repeated, each figure printed
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(cd "${1:-build}" && pwd)
cli="$build/bin/vantorel-cli"
if [ ! -x "$cli" ] || [ ! -x "$build/bin/vantorel-convert-worker" ] || [ ! -x /usr/bin/time ]; then
  echo "needs GNU time and a build: cmake --build $build --target vantorel-cli vantorel-convert-worker" >&2
  exit 1
fi
ticks=$(getconf CLK_TCK)
cores=$(nproc)
parallel_jobs=${PARALLEL_JOBS:-$((cores > 2 ? cores : 2))}
rounds=${ROUNDS:-1}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# name, seconds, video source, video codec, audio codec
clips=(
  "c1.mp4 24 testsrc2=size=1280x720:rate=25 libx264 aac"
  "c2.avi 20 mandelbrot=size=640x480:rate=30 mpeg4 libmp3lame"
  "c3.mpg 30 smptehdbars=size=720x576:rate=25 mpeg2video ac3"
  "c4.mkv 22 life=size=352x288:rate=24:mold=10:ratio=0.5 libx264 aac"
  "c5.webm 26 testsrc=size=854x480:rate=30 libvpx-vp9 libopus"
  "c6.mp4 28 cellauto=size=960x540:rate=25:rule=110 libx264 aac"
)
for spec in "${clips[@]}"; do
  read -r name seconds video vcodec acodec <<< "$spec"
  extra=()
  [ "$vcodec" = libvpx-vp9 ] && extra=(-deadline realtime -cpu-used 8 -b:v 1M)
  ffmpeg -nostdin -v error -y -f lavfi -i "$video" -f lavfi -i "sine=frequency=440:sample_rate=48000" \
    -t "$seconds" -c:v "$vcodec" "${extra[@]}" -pix_fmt yuv420p -c:a "$acodec" "$work/$name"
done
project() { ls "$work"/c*.* | head -n "$1"; }

# CPU seconds of a process and its reaped children, from /proc/PID/stat.
cpu_of() {
  awk -v t="$ticks" '{ sub(/^.*\) /, ""); printf "%.3f", ($12 + $13 + $14 + $15) / t }' "/proc/$1/stat" 2> /dev/null ||
    echo ""
}
now() { date +%s.%N; }

# vantorel-cli build with the given --jobs; prints "wall cpu conv_wall conv_cpu load".
program_build() {
  local jobs=$1 count=$2 out="$work/out-$1-$2"
  rm -rf "$out"
  local load start end timer pid="" fd line total_cpu done=0
  local conv_start=0 conv_cpu0=0 conv_end=0 conv_cpu1=0
  load=$(cut -d' ' -f1 /proc/loadavg)
  start=$(now)
  exec {fd}< <(exec /usr/bin/time -f "%U %S" -o "$work/cli-time" \
    "$cli" build -o "$out" --pal --jobs "$jobs" --work-folder "$work/wf" $(project "$count") 2>&1)
  timer=$!
  while IFS= read -r line <&"$fd"; do
    [ -n "$pid" ] || pid=$(cat "/proc/$timer/task/$timer/children" 2> /dev/null | awk '{ print $1 }')
    case "$line" in
      "Start to convert clip"*) conv_start=$(now) conv_cpu0=$(cpu_of "$pid") ;;
      "Start to mux subtitle"*) conv_end=$(now) conv_cpu1=$(cpu_of "$pid") ;;
      "DVD folder:"*) done=1 ;;
    esac
  done
  exec {fd}<&-
  end=$(now)
  if [ "$done" != 1 ]; then
    echo "vantorel-cli build --jobs $jobs failed" >&2
    exit 1
  fi
  total_cpu=$(awk '{ print $1 + $2 }' "$work/cli-time")
  awk -v s="$start" -v e="$end" -v c="$total_cpu" -v cs="$conv_start" -v ce="$conv_end" \
      -v c0="$conv_cpu0" -v c1="$conv_cpu1" -v l="$load" \
      'BEGIN { printf "%.2f %.2f %.2f %.2f %s\n", e - s, c, ce - cs, c1 - c0, l }'
}

# ffmpeg per clip, then dvdauthor, as a user would type it; "wall cpu load".
by_hand() {
  local count=$1 out="$work/hand-$1"
  rm -rf "$out" && mkdir -p "$out"
  local load
  load=$(cut -d' ' -f1 /proc/loadavg)
  /usr/bin/time -f "%e %U %S" -o "$work/time" bash -c '
    out=$1; shift
    vobs=(); i=0
    for clip in "$@"; do
      ffmpeg -nostdin -v fatal -y -i "$clip" -target pal-dvd -aspect 4:3 "$out/$i.vob" || exit 1
      vobs+=("$out/$i.vob"); i=$((i + 1))
    done
    export VIDEO_FORMAT=PAL
    dvdauthor -o "$out/DVD" -t "${vobs[@]}" > /dev/null 2>&1 && dvdauthor -o "$out/DVD" -T > /dev/null 2>&1
  ' by-hand "$out" $(project "$count")
  awk -v l="$load" '{ printf "%.2f %.2f %s\n", $1, $2 + $3, l }' "$work/time"
}

row() { printf "%-6s %-22s %7s %7s %9s %8s %10s %5s\n" "$@"; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", (b > 0 ? a / b : 0) }'; }

echo "cores: $cores   parallel build: --jobs $parallel_jobs   rounds: $rounds"
row clips build "wall s" "cpu s" "conv wall" "conv cpu" "conv cores" load
for count in 3 6; do
  for ((round = 1; round <= rounds; round++)); do
    read -r seq_wall seq_cpu seq_cwall seq_ccpu seq_load <<< "$(program_build 1 "$count")"
    read -r par_wall par_cpu par_cwall par_ccpu par_load <<< "$(program_build "$parallel_jobs" "$count")"
    read -r hand_wall hand_cpu hand_load <<< "$(by_hand "$count")"
    row "$count" "sequential (--jobs 1)" "$seq_wall" "$seq_cpu" "$seq_cwall" "$seq_ccpu" \
      "$(ratio "$seq_ccpu" "$seq_cwall")" "$seq_load"
    row "$count" "parallel (--jobs $parallel_jobs)" "$par_wall" "$par_cpu" "$par_cwall" "$par_ccpu" \
      "$(ratio "$par_ccpu" "$par_cwall")" "$par_load"
    row "$count" "ffmpeg + dvdauthor" "$hand_wall" "$hand_cpu" - - "$(ratio "$hand_cpu" "$hand_wall")" "$hand_load"
    echo "       parallel/sequential: wall $(ratio "$par_wall" "$seq_wall")" \
      "(conversion phase $(ratio "$par_cwall" "$seq_cwall")), cpu $(ratio "$par_cpu" "$seq_cpu")" \
      "(conversion phase $(ratio "$par_ccpu" "$seq_ccpu"))"
  done
done
