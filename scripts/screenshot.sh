#!/usr/bin/env bash
# Starts a program under a private Xvfb, saves a PNG of the screen and stops it.
# Usage: scripts/screenshot.sh [--wine] PROGRAM OUTPUT.png [seconds to wait]
# With --wine the program is a Windows one, run in build/wineprefix-run on a Wine
# virtual desktop.
set -euo pipefail
wine=0
if [[ "${1:-}" == --wine ]]; then
    wine=1
    shift
fi
exe="$1"
out="$2"
wait_s="${3:-3}"
mkdir -p "$(dirname "$out")"

display=:$((90 + RANDOM % 100))
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
app=""
cleanup() {
    [[ -n "$app" ]] && kill "$app" 2>/dev/null || true
    [[ $wine -eq 1 ]] && scripts/wine-prefix.sh stop build/wineprefix-run || true
    kill "$xvfb" 2>/dev/null || true
}
trap cleanup EXIT
for _ in $(seq 50); do
    DISPLAY=$display xdpyinfo >/dev/null 2>&1 && break
    sleep 0.1
done

if [[ $wine -eq 1 ]]; then
    DISPLAY=$display scripts/wine-prefix.sh setup build/wineprefix-run desktop
    DISPLAY=$display WINEPREFIX="$PWD/build/wineprefix-run" WINEDEBUG=-all \
        /usr/lib/wine/wine64 "$exe" >/dev/null 2>&1 &
else
    DISPLAY=$display "$exe" >/dev/null 2>&1 &
fi
app=$!
sleep "$wait_s"
kill -0 "$app" 2>/dev/null || { echo "$exe ended before its window could be captured" >&2; exit 1; }
DISPLAY=$display import -window root png:- | convert png:- -trim +repage "$out"
echo "$out"
