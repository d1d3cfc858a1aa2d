#!/usr/bin/env bash
# Installs what is missing, builds, and runs the main job: a DVD folder made
# from a short sample clip with vantorel-cli, opening on a root menu, with a
# title menu and the clip's chapter menu.
set -euo pipefail
cd "$(dirname "$0")"

scripts/install-deps.sh

# A first build skips the tests; a build folder that ./test.sh set up keeps them.
configure=(-S . -B build -G Ninja)
[ -f build/CMakeCache.txt ] || configure+=(-DVANTOREL_TESTS=OFF)
cmake "${configure[@]}"
cmake --build build -j "$(nproc)"

sample=build/sample
rm -rf "$sample"
clip=$(scripts/make-sample-clip.sh "$sample/clip" 3)
ffmpeg -y -v error -f lavfi -i "gradients=s=1024x768:c0=0x16305c:c1=0x5c1640:x0=0:y0=0:x1=1024:y1=768:duration=1" \
  -frames:v 1 "$sample/clip/menu.jpg"

echo "== vantorel-cli build (progress on stderr, summary on stdout)"
build/bin/vantorel-cli build -o "$sample/output" --label SAMPLE_DVD --pal --16:9 \
  --work-folder "$sample/work" --title-menu --chapter-menus --background "$sample/clip/menu.jpg" \
  "$clip" --chapters 1,2 --subtitle "$sample/clip/sample.srt" --letterbox

dvd="$sample/output/SAMPLE_DVD"
echo
echo "== The DVD folder: $(cd "$dvd" && pwd)"
ls -l "$dvd/VIDEO_TS"
echo
echo "== What lsdvd sees"
lsdvd "$dvd" 2>/dev/null | grep -E '^(Disc Title|Title|Longest)'

echo
echo "== Its menus (dvdunauthor): the buttons and where they jump"
(mkdir -p "$sample/menus" && cd "$sample/menus" && dvdunauthor "$(cd "../output/SAMPLE_DVD" && pwd)" >/dev/null 2>&1 &&
  grep -E '<pgc|jump|call' dvdauthor.xml | grep -v '<post>' | sed 's/<!--.*-->//' | head -30) || true

echo
echo "== vantorel-cli burn: the DVD folder as an ISO image"
build/bin/vantorel-cli burn "$dvd" --iso "$sample/SAMPLE_DVD.iso"
echo
echo "== What lsdvd sees in the image"
lsdvd "$sample/SAMPLE_DVD.iso" 2>/dev/null | grep -E '^(Disc Title|Title|Longest)'
