#!/usr/bin/env bash
# Installs what is missing, builds both legs and runs every test through CTest.
set -euo pipefail
cd "$(dirname "$0")"
scripts/ensure-packages.sh test
scripts/build.sh --windows
ctest --test-dir build --output-on-failure -j "$(nproc)"
