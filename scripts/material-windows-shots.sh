#!/usr/bin/env bash
# Takes the pictures of material.exe for the documentation under Wine (no display needed):
#   scripts/material-windows-shots.sh [folder]        (default: docs/)
# writes material-windows-ips.png and material-windows-mks.png: the frame with the sample
# library open, its unit setting IPS and MKS. The library is opened from C:\Libraries in
# the prefix, so that the caption shows a plain Windows path.
set -euo pipefail
cd "$(dirname "$0")/.."
out="$(realpath -m "${1:-docs}")"
scripts/ensure-packages.sh test
[[ -f build/win/CMakeCache.txt ]] || scripts/build-windows.sh -DKT_PROGRAMS=material
cmake --build build/win --target material_win32_shot >/dev/null

prefix="$PWD/build/wineprefix"
scripts/wine-prefix.sh setup "$prefix" null
mkdir -p "$out" "$prefix/drive_c/Libraries"
cp examples/korwkmat.lib "$prefix/drive_c/Libraries/"
WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" \
    /usr/lib/wine/wine64 build/win/bin/material_win32_shot.exe "Z:${out//\//\\}" \
    'C:\Libraries\korwkmat.lib'
