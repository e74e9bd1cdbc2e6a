#!/usr/bin/env bash
# Rebuilds the PNG artwork of material/ui/resources from make_art.cpp.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
tool="$(mktemp -d)/make_art"
g++ -std=c++20 -O1 -fPIC "$here/make_art.cpp" -o "$tool" $(pkg-config --cflags --libs Qt6Gui)
"$tool" "$here/../resources"
rm -rf "$(dirname "$tool")"
