#!/usr/bin/env bash
# Makes the desktop icons (hicolor, 16 to 256 pixels) from the programs' own icon
# art: each size from the nearest drawn size, enlarged without smoothing so that the
# pixel drawing stays sharp. Run again after the art changes.
set -euo pipefail
cd "$(dirname "$0")/.."
out=packaging/icons
make() { # app source...: sources from small to large; each size uses the largest not above it
    local app=$1; shift
    for size in 16 32 48 64 128 256; do
        local pick=$1
        for src in "$@"; do
            [[ $(identify -format '%w' "$src") -le $size ]] && pick=$src
        done
        convert "$pick" -filter point -resize "${size}x${size}" -strip "PNG32:$out/$app-$size.png"
    done
}
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
convert 'sysreport/win32/sysreport.ico[0]' "$tmp/sr16.png"
convert 'sysreport/win32/sysreport.ico[1]' "$tmp/sr32.png"
convert 'sysreport/win32/sysreport.ico[2]' "$tmp/sr48.png"
make com.korvex.Material material/ui/resources/closedbook_icon.png
make com.korvex.StudyPurge studypurge/dialog/resources/icon128_{16,32,48}.png
make com.korvex.SysReport "$tmp"/sr{16,32,48}.png
