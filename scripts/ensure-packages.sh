#!/usr/bin/env bash
# Installs the Debian packages a task needs, once: quick when everything is there.
# Usage: scripts/ensure-packages.sh build|test|run|ci|package
set -euo pipefail

build=(cmake ninja-build g++ pkg-config qt6-base-dev libgl-dev libfreexl-dev
       libgtest-dev libgmock-dev googletest libbenchmark-dev fonts-dejavu-core)
test=(g++-mingw-w64-x86-64-posix wine64 fonts-wine libgsf-bin python3-olefile fp-utils-3.2.2
      desktop-file-utils appstream dpkg-dev)
run=(xvfb imagemagick x11-utils xdg-utils)
ci=(clang libclang-rt-14-dev)
package=(zip lintian dpkg-dev file)

wanted=("${build[@]}")
for task in "$@"; do
    case "$task" in
        build) ;;
        test) wanted+=("${test[@]}") ;;
        run) wanted+=("${run[@]}") ;;
        ci) wanted+=("${test[@]}" "${ci[@]}") ;;
        package) wanted+=("${test[@]}" "${package[@]}") ;;
        *) echo "unknown task: $task" >&2; exit 2 ;;
    esac
done

missing=()
for pkg in "${wanted[@]}"; do
    status=$(dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null || true)
    [[ "$status" == "install ok installed" ]] || missing+=("$pkg")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

sudo=""
[[ $(id -u) -eq 0 ]] || sudo="sudo"
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
