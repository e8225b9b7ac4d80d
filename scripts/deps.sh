#!/usr/bin/env bash
# Installs the Debian 12 packages Velmora needs to build, play and test, if any are missing.
set -euo pipefail
packages=(build-essential cmake ninja-build pkg-config clang
  libsdl2-dev libgtk-3-dev libx11-dev libxtst-dev libstb-dev libgl1-mesa-dev libglu1-mesa-dev libgl1-mesa-dri
  libgtest-dev libgmock-dev libbenchmark-dev libmpfr-dev libpng-dev zlib1g-dev libcairo2-dev fonts-dejavu-core
  libegl-dev libegl1-mesa-dev libavcodec-dev libavformat-dev libavfilter-dev libavutil-dev libswscale-dev
  xvfb xauth locales)
missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
