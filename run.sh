#!/usr/bin/env bash
# ./run.sh [material|studypurge|sysreport|bench]
# Installs what is missing, builds into build/ and starts the program. Without a
# display it runs the program under Xvfb and saves a screenshot instead.
set -euo pipefail
cd "$(dirname "$0")"
what="${1:-material}"
case "$what" in
    material|studypurge|sysreport|bench) ;;
    *) echo "usage: ./run.sh [material|studypurge|sysreport|bench]" >&2; exit 2 ;;
esac

scripts/ensure-packages.sh run
scripts/build.sh

if [[ "$what" == bench ]]; then
    shopt -s nullglob
    benches=(build/bench/*)
    [[ ${#benches[@]} -gt 0 ]] || { echo "no benchmark is built yet"; exit 0; }
    for b in "${benches[@]}"; do
        echo "== $(basename "$b")"
        "$b" --benchmark_min_time=0.2
    done
    exit 0
fi

exe="build/bin/$what"
[[ -x "$exe" ]] || { echo "$what is not built yet"; exit 1; }

if [[ -n "${DISPLAY:-}" || -n "${WAYLAND_DISPLAY:-}" ]]; then
    exec "$exe"
fi
exec scripts/screenshot.sh "$exe" "build/screenshots/$what.png"
