#!/bin/sh
# Makes the README's pictures from the real game: runs build/screenshot (the game with a scripted
# player behind its input seam, who walks from the main menu through the rider chooser to the
# track and the rider editor) on a virtual X display, in a fresh folder with only the shipped
# sprites and riders beside it, and keeps the four pictures it saves: main_menu.png,
# rider_chooser.png, track_screen.png and rider_editor.png.
# Needs Xvfb; build with -DVELMORA_TOOLS=ON.
#
#   tools/screenshot.sh [build folder] [output folder, docs/ by default]
set -eu
source_dir=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$source_dir/build}" && pwd)
output=${2:-$source_dir/docs}
mkdir -p "$output"
output=$(cd "$output" && pwd)
game=$(mktemp -d)
trap 'rm -rf "$game"' EXIT
cp "$build/screenshot" "$source_dir/config.cfg" "$game/"
cp -r "$source_dir/sprites" "$source_dir/riders" "$game/"
xvfb-run -a -s "-screen 0 1024x768x24" "$game/screenshot" "$output"
