#!/usr/bin/env bash
# Writes a short sample clip (colour bars with a counter and a tone) and an
# SRT subtitle beside it, for trying vantorel-cli.
#   scripts/make-sample-clip.sh FOLDER [SECONDS]
set -euo pipefail
folder=${1:?usage: make-sample-clip.sh FOLDER [SECONDS]}
seconds=${2:-3}
mkdir -p "$folder"
ffmpeg -y -v error \
  -f lavfi -i "testsrc=size=640x360:rate=25" \
  -f lavfi -i "sine=frequency=440:sample_rate=48000" \
  -t "$seconds" -c:v mpeg4 -q:v 4 -c:a mp2 -shortest "$folder/sample.avi"
cat > "$folder/sample.srt" <<SRT
1
00:00:00,500 --> 00:00:02,000
A sample subtitle
SRT
echo "$folder/sample.avi"
