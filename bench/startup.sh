#!/usr/bin/env bash
# Start-up time of the program: from the process start to the first painted
# world map, with the split of its stages, over a few runs on a fresh
# settings folder (offscreen unless a display is given).
#   bench/startup.sh [path/to/kaldero] [runs]
set -euo pipefail
exe=${1:-$(dirname "$0")/../build/bin/kaldero}
runs=${2:-5}
for i in $(seq "$runs"); do
  scratch=$(mktemp -d)
  echo "run $i"
  HOME=$scratch XDG_CONFIG_HOME=$scratch QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen} \
    KALDERO_STARTUP_TIMING=1 "$exe" | sed 's/^/  /'
  rm -rf "$scratch"
done
