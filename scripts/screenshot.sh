#!/usr/bin/env bash
# Starts a program under a private Xvfb, saves a PNG of its window and stops it.
# Usage: scripts/screenshot.sh PROGRAM OUTPUT.png [seconds to wait]
set -euo pipefail
exe="$1"
out="$2"
wait_s="${3:-3}"
mkdir -p "$(dirname "$out")"

display=:$((90 + RANDOM % 100))
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
cleanup() { kill "$app" "$xvfb" 2>/dev/null || true; }
trap cleanup EXIT
for _ in $(seq 50); do
    DISPLAY=$display xdpyinfo >/dev/null 2>&1 && break
    sleep 0.1
done

DISPLAY=$display "$exe" >/dev/null 2>&1 &
app=$!
sleep "$wait_s"
kill -0 "$app" 2>/dev/null || { echo "$exe ended before its window could be captured" >&2; exit 1; }
DISPLAY=$display import -window root png:- | convert png:- -trim +repage "$out"
echo "$out"
