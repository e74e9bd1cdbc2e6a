#!/usr/bin/env bash
# Fetches and unpacks Debian's source package of FreeXL into DEST, once, for the
# mingw-w64 build (Debian ships the library for Linux only). Adds a deb-src entry
# beside the system's Debian source list when there is none.
# Usage: scripts/fetch-freexl-source.sh DEST
set -euo pipefail
dest="$(realpath -m "${1:?usage: $0 DEST}")"
[[ -f "$dest/src/freexl.c" && -f "$dest/headers/freexl.h" ]] && exit 0

sudo=""
[[ $(id -u) -eq 0 ]] || sudo="sudo"

has_deb_src() {
    grep -Eqs '^(Types:.*\bdeb-src\b|deb-src )' /etc/apt/sources.list /etc/apt/sources.list.d/*.list \
        /etc/apt/sources.list.d/*.sources
}

if ! has_deb_src; then
    # The same archives as the binary packages, for sources.
    src_list=/etc/apt/sources.list.d/debian-src.sources
    if [[ -f /etc/apt/sources.list.d/debian.sources ]]; then
        sed -E 's/^Types:.*/Types: deb-src/' /etc/apt/sources.list.d/debian.sources | $sudo tee "$src_list" >/dev/null
    else
        codename=$(. /etc/os-release && echo "$VERSION_CODENAME")
        printf 'Types: deb-src\nURIs: http://deb.debian.org/debian\nSuites: %s\nComponents: main\nSigned-By: /usr/share/keyrings/debian-archive-keyring.gpg\n' \
            "$codename" | $sudo tee "$src_list" >/dev/null
    fi
    $sudo apt-get update -qq
fi

download="$dest.download"
rm -rf "$download" "$dest.unpacked"
mkdir -p "$download"
(cd "$download" && apt-get source --download-only -qq freexl >/dev/null 2>&1) || {
    echo "fetch-freexl-source: apt-get source freexl failed" >&2
    exit 1
}
dpkg-source --no-check --no-copy -x "$download"/freexl_*.dsc "$dest.unpacked" >/dev/null
rm -rf "$dest"
mv "$dest.unpacked" "$dest"
rm -rf "$download"
echo "FreeXL sources in $dest"
