#!/bin/sh
# Makes docs/screenshot.png from the real game: runs build/screenshot (the game with a scripted
# player behind its input seam: it draws a slope with the pencil and lets the rider ride down it)
# on a virtual X display and keeps the picture it saves. Needs Xvfb; build with -DVELMORA_TOOLS=ON.
#
#   tools/screenshot.sh [build folder] [output.png] [rider file, e.g. riders\pogo.rider]
set -eu
source_dir=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$source_dir/build}" && pwd)
output=${2:-$source_dir/docs/screenshot.png}
case $output in /*) ;; *) output=$(pwd)/$output ;; esac
mkdir -p "$(dirname "$output")"
xvfb-run -a -s "-screen 0 1024x768x24" "$build/screenshot" "$output" ${3:+"$3"}
