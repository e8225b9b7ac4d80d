#!/usr/bin/env bash
# Installs what is missing (with sudo when not run as root), builds Velmora into build/ and
# starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
# Only the game and its two tools: the tests, benchmarks and asset generators need more packages.
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DVELMORA_TESTS=OFF -DVELMORA_BENCH=OFF -DVELMORA_TOOLS=OFF >/dev/null
cmake --build build --target velmora velmora-ride velmora-export
exec ./build/velmora
