#!/usr/bin/env bash
# Installs the Debian 12 packages Velmora needs, if any are missing, with sudo when not run as
# root. "play" (the default): what building and playing needs. "test": that, and what the tests,
# benchmarks, fuzzing, the asset generators and the package check need.
set -euo pipefail
play=(build-essential cmake ninja-build pkg-config
  libsdl2-dev libgtk-3-dev libx11-dev libstb-dev libgl1-mesa-dev libglu1-mesa-dev libgl1-mesa-dri
  libegl-dev libegl1-mesa-dev libavcodec-dev libavformat-dev libavfilter-dev libavutil-dev libswscale-dev)
test=(clang libxtst-dev libgtest-dev libgmock-dev libbenchmark-dev libmpfr-dev libpng-dev zlib1g-dev
  libcairo2-dev fonts-dejavu-core xvfb xauth locales
  dpkg-dev desktop-file-utils appstream lintian)
packages=("${play[@]}")
[ "${1:-play}" = test ] && packages+=("${test[@]}")
missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0
sudo=""
if [ "$(id -u)" -ne 0 ]; then
  sudo="sudo"
  echo "Installing ${missing[*]} with sudo"
fi
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
