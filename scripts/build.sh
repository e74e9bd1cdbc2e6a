#!/usr/bin/env bash
# Configures and builds the native tree in build/ (and, with --windows, the
# mingw-w64 tree in build/win whose tests CTest runs under Wine).
set -euo pipefail
cd "$(dirname "$0")/.."

extra=()
[[ "${CI:-}" == "true" ]] && extra+=(-DKT_WERROR=ON)
windows=0
passed=()
for arg in "$@"; do
    case "$arg" in
        --windows) windows=1 ;;
        *) passed+=("$arg") ;;
    esac
done
extra+=("${passed[@]}")

if [[ $windows -eq 1 ]]; then
    scripts/build-windows.sh "${passed[@]}"
    extra+=(-DKT_WINDOWS_LEG_DIR="$PWD/build/win")
fi
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${extra[@]}" >/dev/null
cmake --build build
