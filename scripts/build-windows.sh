#!/usr/bin/env bash
# Configures and builds the mingw-w64 tree in build/win: the Windows programs and
# the test programs that CTest runs under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."
extra=()
[[ "${CI:-}" == "true" ]] && extra+=(-DKT_WERROR=ON)
cmake -S . -B build/win -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/mingw-w64.cmake" \
    -DKT_BUILD_UI=OFF -DKT_BUILD_BENCH=OFF "${extra[@]}" "$@" >/dev/null
cmake --build build/win
