#!/usr/bin/env bash
# ./run.sh [material|studypurge|sysreport|bench]
# ./run.sh --windows material|studypurge|sysreport
# ./run.sh package
# Installs what is missing, builds into build/ and starts the program. Without a
# display it runs the program under Xvfb and saves a screenshot instead. With
# --windows it builds the Windows program and starts it under Wine.
set -euo pipefail
cd "$(dirname "$0")"
usage() {
    echo "usage: ./run.sh [material|studypurge|sysreport|bench]" >&2
    echo "       ./run.sh --windows material|studypurge|sysreport" >&2
    echo "       ./run.sh package" >&2
    exit 2
}
windows=0
if [[ "${1:-}" == --windows ]]; then
    windows=1
    shift
    [[ $# -ge 1 ]] || usage
fi
what="${1:-material}"
if [[ "$what" == package && $windows -eq 0 ]]; then
    scripts/ensure-packages.sh package
    exec scripts/package.sh
fi
case "$what" in
    material|studypurge|sysreport) ;;
    bench) [[ $windows -eq 0 ]] || usage ;;
    *) usage ;;
esac

if [[ $windows -eq 1 ]]; then
    scripts/ensure-packages.sh run test
    scripts/build-windows.sh
    exe="build/win/bin/$what.exe"
    [[ -f "$exe" ]] || { echo "$what.exe is not built yet"; exit 1; }
    if [[ -n "${DISPLAY:-}" ]]; then
        scripts/wine-prefix.sh setup build/wineprefix-run x11 >/dev/null
        WINEPREFIX="$PWD/build/wineprefix-run" WINEDEBUG=-all exec /usr/lib/wine/wine64 "$exe"
    fi
    exec scripts/screenshot.sh --wine "$exe" "build/screenshots/$what-windows.png" 6
fi

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
    # material.exe's benchmark, timed inside the program under Wine in the tests' prefix.
    scripts/ensure-packages.sh test
    [[ -f build/win/CMakeCache.txt ]] || scripts/build-windows.sh
    cmake --build build/win --target material_win32_bench >/dev/null
    scripts/wine-prefix.sh setup build/wineprefix null
    echo "== material_win32_bench (under Wine)"
    WINEPREFIX="$PWD/build/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" \
        /usr/lib/wine/wine64 build/win/bench/material_win32_bench.exe
    exit 0
fi

exe="build/bin/$what"
[[ -x "$exe" ]] || { echo "$what is not built yet"; exit 1; }

if [[ -n "${DISPLAY:-}" || -n "${WAYLAND_DISPLAY:-}" ]]; then
    exec "$exe"
fi
exec scripts/screenshot.sh "$exe" "build/screenshots/$what.png"
