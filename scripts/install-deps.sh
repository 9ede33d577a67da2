#!/usr/bin/env bash
# Installs the Debian 12 packages the build, the example and the tests need.
# Only what is missing is installed; runs apt-get as root or through sudo.
set -euo pipefail

packages=(
  build-essential cmake pkg-config
  libsdl1.2-dev libsdl-image1.2-dev libsdl-mixer1.2-dev
  libglew-dev libxerces-c-dev libfreetype-dev
  libgl1-mesa-dev libglu1-mesa-dev libgl1-mesa-dri mesa-utils libegl-dev libegl-mesa0
  fonts-freefont-ttf
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  xvfb xauth x11-utils xdotool imagemagick
  libxml2-utils vorbis-tools libpng-dev
  libsndfile1-dev libaubio-dev
  clang libclang-rt-14-dev
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "install-deps: installing ${missing[*]}" >&2
run() { if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi; }
export DEBIAN_FRONTEND=noninteractive
run apt-get update -qq
run apt-get install -y -qq --no-install-recommends "${missing[@]}"
