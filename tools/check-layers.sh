#!/usr/bin/env bash
# Fails when a file includes a header of a layer above its own, or a system header its layer
# may not see: gui -> track/rider -> graphics -> shell -> platform, with the drawing of track
# and rider apart from their headless model; only the offscreen context sees EGL. Given a build
# folder, also checks that the headless ride tool links neither SDL2, GTK3 nor GL, and that the
# game links neither EGL nor FFmpeg (the exporter, a program of its own, does).
#
#   tools/check-layers.sh [BUILD_DIR]
set -uo pipefail
cd "$(dirname "$0")/.."
status=0
checked=0

# What each kind of file may include from the project's own folders.
allowed() {
  case "$1" in
    platform/*) echo "platform" ;;
    shell/*) echo "shell platform" ;;
    graphics/*) echo "graphics shell platform" ;;
    rider/body_drawing.* | rider/editor_drawing.*) echo "rider graphics shell platform" ;;
    rider/*) echo "rider shell platform" ;;
    track/line_drawing.* | track/track_view.* | track/cursor_drawing.*) echo "track rider graphics shell platform" ;;
    track/*) echo "track rider shell platform" ;;
    gui/* | main.cpp) echo "gui track rider graphics shell platform" ;;
    tools/ride.cpp) echo "track rider shell platform" ;;
    # The exporter sits above the drawing like the game's main, with its own pieces beside it.
    tools/*) echo "tools gui track rider graphics shell platform" ;;
  esac
}

while IFS= read -r file; do
  layers=$(allowed "$file")
  [ -n "$layers" ] || continue
  while IFS=: read -r line include; do
    folder=${include%%/*}
    case " $layers " in
      *" $folder "*) ;;
      *) echo "$file:$line: includes $include from a layer above or beside its own"; status=1 ;;
    esac
  done < <(grep -n -o -E '^#include "[a-z_]+/[^"]+"' "$file" | sed -E 's/#include "([^"]+)"/\1/')
  case "$file" in
    platform/window*.cpp | platform/window*.h | platform/file_dialog.cpp | platform/message_dialog.cpp) ;;
    *) if grep -n -E '^#include <(SDL|gtk|gdk|X11)' "$file"; then echo "$file: only the window part of platform/ may see SDL or GTK"; status=1; fi ;;
  esac
  case "$file" in
    graphics/*) ;;
    *) if grep -n -E '^#include <GL/' "$file"; then echo "$file: only graphics/ may include GL"; status=1; fi ;;
  esac
  case "$file" in
    platform/offscreen.cpp) ;;
    *) if grep -n -E '^#include <EGL/' "$file"; then echo "$file: only platform/offscreen.cpp may include EGL"; status=1; fi ;;
  esac
  checked=$((checked + 1))
done < <( (find platform shell graphics rider track gui main.cpp -type f \( -name '*.cpp' -o -name '*.h' \);
           find tools -maxdepth 1 -type f \( -name '*.cpp' -o -name '*.h' \)) | sort)

# A checkout the search cannot read must not pass as clean.
if [ "$checked" -lt 50 ]; then
  echo "only $checked source files found: run from a full checkout"
  status=1
fi

if [ $# -ge 1 ] && [ -x "$1/velmora-ride" ]; then
  if ldd "$1/velmora-ride" | grep -E -i 'libSDL2|libgtk|libgdk|libGL|libGLU|libGLX|libOpenGL|libEGL|libav'; then
    echo "velmora-ride links a window or GL library"
    status=1
  fi
fi
# The offscreen context and the encoders belong to the exporter: the game only starts it.
if [ $# -ge 1 ] && [ -x "$1/velmora" ]; then
  if ldd "$1/velmora" | grep -E -i 'libEGL|libavcodec|libavformat|libavfilter|libswscale'; then
    echo "velmora links EGL or an FFmpeg library"
    status=1
  fi
fi
[ $status -eq 0 ] && echo "layers: every include points downwards"
exit $status
