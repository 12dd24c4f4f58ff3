#!/usr/bin/env bash
# Installs the public world data the generators read into a folder outside the
# tree and prints that folder. Running it again reuses what is there.
#
#   tools/fetch-world-data.sh [folder]     (default: $TMPDIR/kaldero-world-data)
#
# world-atlas: Natural Earth outlines as TopoJSON (data public domain, ISC).
# i18n-iso-countries: country names and code tables (MIT).
set -euo pipefail

dir="${1:-${TMPDIR:-/tmp}/kaldero-world-data}"
packages=("world-atlas@2" "i18n-iso-countries@7")

mkdir -p "$dir"
dir="$(cd "$dir" && pwd)"

have_all() {
    [[ -f "$dir/node_modules/world-atlas/countries-50m.json" ]] &&
    [[ -f "$dir/node_modules/world-atlas/countries-110m.json" ]] &&
    [[ -f "$dir/node_modules/world-atlas/land-110m.json" ]] &&
    [[ -f "$dir/node_modules/i18n-iso-countries/codes.json" ]] &&
    [[ -f "$dir/node_modules/i18n-iso-countries/langs/ja.json" ]] &&
    [[ -f "$dir/node_modules/i18n-iso-countries/langs/en.json" ]]
}

if ! have_all; then
    command -v npm >/dev/null || { echo "npm is needed: apt-get install npm" >&2; exit 1; }
    [[ -f "$dir/package.json" ]] || echo '{ "private": true }' > "$dir/package.json"
    # Progress and advice go to stderr so that stdout is only the folder.
    npm install --prefix "$dir" --no-audit --no-fund --ignore-scripts "${packages[@]}" >&2
    have_all || { echo "the packages lack the expected files in $dir" >&2; exit 1; }
fi

echo "$dir"
