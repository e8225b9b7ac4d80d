#!/usr/bin/env bash
# Installs what is missing, builds everything into build/ and runs the whole test suite; the
# rendering tests draw on a virtual X display. Extra arguments go to cmake (for example
# -DVELMORA_SANITIZE=ON); BUILD_DIR picks another build folder.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
build=${BUILD_DIR:-build}
cmake -S . -B "$build" -G Ninja "$@" >/dev/null
cmake --build "$build"
xvfb-run -a -s "-screen 0 1280x1024x24" ctest --test-dir "$build" --output-on-failure -j2 --timeout 600
