#!/usr/bin/env bash
# Installs what is missing, builds the program (Release) and starts it on the
# bundled world map.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/install-deps.sh
jobs=$(nproc 2>/dev/null || echo 2)
cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release -DKAL_BENCH=OFF >/dev/null
cmake --build build-release -j"$jobs" --target kaldero
exec ./build-release/bin/kaldero "$@"
