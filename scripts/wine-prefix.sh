#!/usr/bin/env bash
# Prepares or stops a Wine prefix for the Windows leg.
# Usage: scripts/wine-prefix.sh setup|stop PREFIX [null|desktop]
#   setup: creates the prefix once, copies Wine's fonts in (this Wine does not read
#          them from /usr/share), selects the graphics driver (null: no display needed;
#          desktop: a virtual desktop for Xvfb), and starts the prefix's server
#          persistently with its output detached, so that helper processes do not
#          hold a test's output pipe open.
#   stop:  ends the prefix's server.
set -euo pipefail
action="$1"
prefix="$(realpath -m "$2")"
driver="${3:-null}"
wine=/usr/lib/wine/wine64
wineserver=/usr/lib/wine/wineserver
export WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="

case "$action" in
stop)
    [[ -d "$prefix" ]] && "$wineserver" -k >/dev/null 2>&1 || true
    exit 0
    ;;
setup) ;;
*) echo "usage: $0 setup|stop PREFIX [null|desktop]" >&2; exit 2 ;;
esac

marker="$prefix/.kt-driver"
if [[ ! -f "$prefix/system.reg" ]]; then
    mkdir -p "$prefix"
    "$wine" wineboot --init </dev/null >/dev/null 2>&1
    "$wineserver" -w
fi

fonts="$prefix/drive_c/windows/Fonts"
mkdir -p "$fonts"
if compgen -G "/usr/share/wine/fonts/*.ttf" >/dev/null; then
    cp -n /usr/share/wine/fonts/*.ttf "$fonts"/ 2>/dev/null || true
fi

if [[ "$(cat "$marker" 2>/dev/null)" != "$driver" ]]; then
    reg="$(mktemp --suffix=.reg)"
    {
        printf 'REGEDIT4\r\n\r\n'
        if [[ "$driver" == null ]]; then
            printf '[HKEY_CURRENT_USER\\Software\\Wine\\Drivers]\r\n"Graphics"="null"\r\n\r\n'
        else
            printf '[HKEY_CURRENT_USER\\Software\\Wine\\Drivers]\r\n"Graphics"="x11"\r\n\r\n'
            printf '[HKEY_CURRENT_USER\\Software\\Wine\\Explorer]\r\n"Desktop"="Default"\r\n\r\n'
            printf '[HKEY_CURRENT_USER\\Software\\Wine\\Explorer\\Desktops]\r\n"Default"="1280x1024"\r\n\r\n'
        fi
    } >"$reg"
    "$wine" regedit /S "$(winepath_of() { printf 'Z:%s' "${1//\//\\}"; }; winepath_of "$reg")" \
        </dev/null >/dev/null 2>&1
    "$wineserver" -w
    rm -f "$reg"
    echo "$driver" >"$marker"
fi

# A persistent server whose output goes nowhere; the trivial program makes sure it
# is up before the first test starts.
"$wineserver" -p 300 </dev/null >/dev/null 2>&1 || true
"$wine" cmd /c exit 0 </dev/null >/dev/null 2>&1 || true
