#!/usr/bin/env bash
# Brings a Debian 12 machine to everything Vantorel needs to build, test and run.
# Idempotent: when every package is already installed it does nothing.
set -euo pipefail

PACKAGES=(
  # toolchain
  build-essential cmake ninja-build ccache pkg-config git
  # GUI
  qt6-base-dev qt6-base-dev-tools qt6-svg-dev libgl-dev
  # Qt's own dialog texts in the UI languages
  qt6-translations-l10n
  # media
  libavformat-dev libavcodec-dev libavfilter-dev libswscale-dev libswresample-dev libavutil-dev
  ffmpeg
  # pictures
  libpng-dev zlib1g-dev libjpeg-dev
  # discs
  libburn-dev dvdauthor genisoimage lsdvd
  # system decoder plug-ins
  libgstreamer1.0-dev libgstreamer-plugins-base1.0-dev
  gstreamer1.0-plugins-base gstreamer1.0-plugins-good gstreamer1.0-plugins-bad gstreamer1.0-libav
  # tests
  googletest libgtest-dev libgmock-dev
  # benchmarks (GNU time)
  time
  # fonts used by menus, subtitles and the region list
  fontconfig libfontconfig-dev fonts-dejavu-core fonts-liberation fonts-wqy-microhei
  fonts-ipafont-gothic fonts-nanum fonts-thai-tlwg-ttf
)

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "install-deps: installing ${missing[*]}" >&2
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
