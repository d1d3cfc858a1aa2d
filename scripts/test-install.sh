#!/usr/bin/env bash
# Installs a build into a temporary prefix, makes the prefix read-only and
# runs the installed programs from there as a user who cannot write to it:
# vantorel-cli builds a DVD folder from a one-second clip, and the desktop
# program starts, refuses a second copy, and on SIGTERM ends cleanly and
# stores its settings below XDG_CONFIG_HOME.
#   scripts/test-install.sh BUILD_FOLDER
set -euo pipefail
build=$(cd "${1:?usage: test-install.sh BUILD_FOLDER}" && pwd)

scratch=$(mktemp -d)
gui=
cleanup() {
  [ -n "$gui" ] && kill -KILL "$gui" 2>/dev/null
  chmod -R u+w "$scratch"
  rm -rf "$scratch"
}
trap cleanup EXIT
chmod 755 "$scratch"
fail() { echo "FAIL: $*" >&2; exit 1; }

prefix=$scratch/prefix
cmake --install "$build" --prefix "$prefix" >/dev/null
chmod -R a-w "$prefix"

echo "== what is installed"
for program in vantorel vantorel-cli; do
  [ -L "$prefix/bin/$program" ] && [ -x "$prefix/bin/$program" ] || fail "no launcher bin/$program"
  [ "$(readlink -f "$prefix/bin/$program")" = "$prefix/lib/vantorel/$program" ] ||
    fail "bin/$program does not lead to lib/vantorel/$program"
done
for file in share/applications/vantorel.desktop share/icons/hicolor/scalable/apps/vantorel.svg \
            lib/vantorel/Option.ini lib/vantorel/libCorvane.so lib/vantorel/libdvdauthor.so lib/vantorel/Lang \
            lib/vantorel/vantorel-convert-worker; do
  [ -e "$prefix/$file" ] || fail "$file is not installed"
done
grep -qx 'Exec=vantorel' "$prefix/share/applications/vantorel.desktop" || fail "the desktop entry does not start vantorel"
[ ! -e "$prefix/lib/vantorel/Temp" ] || fail "the build's work folder was installed"
# Nothing installed may look for its libraries in the build folder.
while IFS= read -r -d '' file; do
  if readelf -d "$file" 2>/dev/null | grep -E 'R(UN)?PATH' | grep -qF "$build"; then
    fail "$file looks for libraries in $build"
  fi
done < <(find "$prefix" -type f -print0)

# A user who cannot write to the prefix: root may write anywhere.
user_home=$scratch/home
mkdir -p "$user_home/config" "$user_home/cache" "$user_home/runtime" "$scratch/work"
chmod 700 "$user_home/runtime"
as_user=()
if [ "$(id -u)" = 0 ]; then
  chown -R 65534:65534 "$user_home" "$scratch/work"
  as_user=(setpriv --reuid=65534 --regid=65534 --clear-groups --)
fi
# env and setpriv exec what they run, so a background job's $! is the program.
run=(env HOME="$user_home" XDG_CONFIG_HOME="$user_home/config" XDG_CACHE_HOME="$user_home/cache"
     XDG_RUNTIME_DIR="$user_home/runtime" QT_QPA_PLATFORM=offscreen "${as_user[@]}")
"${run[@]}" touch "$prefix/lib/vantorel/probe" 2>/dev/null && fail "the prefix is writable for the test user"

echo "== vantorel-cli build from the read-only prefix"
ffmpeg -v error -f lavfi -i "testsrc=size=160x120:rate=25" -f lavfi -i "sine=frequency=440:sample_rate=48000" \
  -t 1 -c:v mpeg4 -c:a mp2 -shortest "$scratch/work/clip.avi"
chmod a+r "$scratch/work/clip.avi"
# Two titles with two conversion workers: the installed worker finds the library.
"${run[@]}" "$prefix/bin/vantorel-cli" build -o "$scratch/work/out" --label INSTALLED --pal --jobs 2 \
  "$scratch/work/clip.avi" "$scratch/work/clip.avi" || fail "vantorel-cli build failed"
[ -f "$scratch/work/out/INSTALLED/VIDEO_TS/VIDEO_TS.IFO" ] || fail "no VIDEO_TS folder was written"
[ -d "$user_home/cache/vantorel/Temp" ] || fail "the work folder is not below XDG_CACHE_HOME"

echo "== the desktop program from the read-only prefix"
"${run[@]}" "$prefix/bin/vantorel" > "$scratch/gui.log" 2>&1 &
gui=$!
lock="$user_home/runtime/vantorel-$( [ ${#as_user[@]} -gt 0 ] && echo 65534 || id -u ).lock"
for _ in $(seq 300); do
  [ -e "$lock" ] || ! kill -0 "$gui" 2>/dev/null && break
  sleep 0.1
done
kill -0 "$gui" 2>/dev/null || { cat "$scratch/gui.log" >&2; fail "vantorel ended at start"; }
status=0
"${run[@]}" "$prefix/bin/vantorel" > /dev/null 2>&1 || status=$?
[ "$status" = 255 ] || fail "a second start ended with $status, not 255"
kill -TERM "$gui"
status=0
timeout 30 tail --pid="$gui" -f /dev/null || fail "vantorel did not end on SIGTERM"
wait "$gui" || status=$?
gui=
[ "$status" = 0 ] || { cat "$scratch/gui.log" >&2; fail "vantorel ended with $status on SIGTERM"; }
[ -f "$user_home/config/vantorel/Option.ini" ] || fail "the settings were not stored below XDG_CONFIG_HOME"
echo "installed program ran from the read-only prefix"
