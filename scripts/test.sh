#!/usr/bin/env bash
# Installs what is missing (with sudo when not run as root), builds everything into build/ and
# runs the whole test suite; the
# rendering tests draw on a virtual X display. Extra arguments go to cmake (for example
# -DVELMORA_SANITIZE=ON); BUILD_DIR picks another build folder.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh test
build=${BUILD_DIR:-build}
cmake -S . -B "$build" -G Ninja -DVELMORA_TESTS=ON -DVELMORA_BENCH=ON -DVELMORA_TOOLS=ON "$@" >/dev/null
cmake --build "$build"
xvfb-run -a -s "-screen 0 1280x1024x24" ctest --test-dir "$build" --output-on-failure -j2 --timeout 600
