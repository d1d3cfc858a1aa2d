#!/usr/bin/env bash
# Installs what is missing, builds, and runs the main job: a DVD folder made
# from a short sample clip with vantorel-cli.
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

echo "== vantorel-cli build (progress on stderr, summary on stdout)"
build/bin/vantorel-cli build -o "$sample/output" --label SAMPLE_DVD --pal --16:9 \
  --work-folder "$sample/work" \
  "$clip" --chapters 1,2 --subtitle "$sample/clip/sample.srt" --letterbox

dvd="$sample/output/SAMPLE_DVD"
echo
echo "== The DVD folder: $(cd "$dvd" && pwd)"
ls -l "$dvd/VIDEO_TS"
echo
echo "== What lsdvd sees"
lsdvd "$dvd" 2>/dev/null | grep -E '^(Disc Title|Title|Longest)'

echo
echo "== vantorel-cli burn: the DVD folder as an ISO image"
build/bin/vantorel-cli burn "$dvd" --iso "$sample/SAMPLE_DVD.iso"
echo
echo "== What lsdvd sees in the image"
lsdvd "$sample/SAMPLE_DVD.iso" 2>/dev/null | grep -E '^(Disc Title|Title|Longest)'
