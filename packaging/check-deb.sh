#!/usr/bin/env bash
# Makes the Debian package from a build tree, unpacks it into a throwaway root and
# starts each program's command line from there.
# Usage: packaging/check-deb.sh BUILD_DIR
set -euo pipefail
build="$(realpath "$1")"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

(cd "$build" && cpack -G DEB -B "$work/out" >/dev/null)
deb=$(ls "$work"/out/korvex-tools_*_amd64.deb)
depends=$(dpkg-deb --field "$deb" Depends)
[[ "$depends" == *libqt6widgets6* && "$depends" == *libfreexl1* ]] ||
    { echo "the package's dependencies lack Qt's widgets or FreeXL: $depends"; exit 1; }
dpkg -x "$deb" "$work/root"
root="$work/root/usr"

for file in bin/material bin/studypurge bin/sysreport \
    share/applications/com.korvex.StudyPurge.desktop \
    share/korvex-tools/help/material/index.html share/korvex-tools/korwkmat.lib; do
    [[ -e "$root/$file" ]] || { echo "the package lacks /usr/$file"; exit 1; }
done

export HOME="$work/home" QT_QPA_PLATFORM=offscreen
mkdir -p "$HOME"
usage=$(timeout 30 "$root/bin/studypurge" --help)
[[ "$usage" == *--products* ]] || { echo "studypurge --help from the package printed no usage"; exit 1; }
report="$work/report.htm"
timeout 60 "$root/bin/sysreport" --save "$report" >/dev/null
grep -q '<html\|<HTML' "$report" || { echo "sysreport --save from the package wrote no report"; exit 1; }
echo "package checked: $(basename "$deb")"
