#!/usr/bin/env bash
# Builds the packages into build/packages: the Debian package (CPack, dependencies
# from dpkg-shlibdeps, checked with lintian) and the Windows archive (the programs,
# their help files, the sample library and README.txt).
set -euo pipefail
cd "$(dirname "$0")/.."
out="$PWD/build/packages"
mkdir -p "$out"

cmake -S . -B build/package -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
    -DKT_BUILD_BENCH=OFF >/dev/null
cmake --build build/package --target material studypurge sysreport material_help studypurge_help
(cd build/package && cpack -G DEB -B "$out" >/dev/null)
rm -rf "$out/_CPack_Packages"
deb=$(ls -t "$out"/korvex-tools_*_amd64.deb | head -n 1)
echo "$deb"
if command -v lintian >/dev/null; then
    lintian --no-tag-display-limit "$deb" || true
fi

scripts/build-windows.sh
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build/win/CMakeCache.txt)
stage="build/packages/korvex-tools-$version-win64"
rm -rf "$stage"
# The material browser finds Material.chm in help\ beside its own nine-letter folder.
mkdir -p "$stage/utilities" "$stage/help"
for file in material.exe studypurge.exe sysreport.exe studypurge.chm Material.chm; do
    dest="$stage/utilities"
    [[ "$file" == Material.chm ]] && dest="$stage/help"
    if [[ -f "build/win/bin/$file" ]]; then
        cp "build/win/bin/$file" "$dest/"
    else
        echo "warning: build/win/bin/$file is not built; the archive is without it" >&2
    fi
done
cp examples/korwkmat.lib "$stage/utilities/"
sed "s/@VERSION@/$version/" packaging/README.txt.in | sed 's/$/\r/' >"$stage/README.txt"
zip="$out/korvex-tools-$version-win64.zip"
rm -f "$zip"
(cd build/packages && zip -qr "$zip" "$(basename "$stage")")
rm -rf "$stage"
echo "$zip"
