#!/bin/bash
# Runs kelvaro.exe on a virtual display in a copy of a data folder, as it starts for its user
# (normally hidden in the tray), opens its window as the tray menu's "Open Kelvaro" does, saves a
# picture of the main window as it stands (its active time changes every second) and ends it.
#   tools/screenshot.sh KELVARO_EXE DATA_FOLDER OUTPUT_PNG
set -euo pipefail
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
exe=$(realpath "$1")
data=$(realpath "$2")
output=$(realpath -m "$3")
# Debian's ImageMagick, ahead of anything else named convert.
export PATH="/usr/bin:$PATH"

scratch=$(mktemp -d)
xvfb=
export WINEPREFIX=${KELVARO_WINEPREFIX:-$(dirname "$exe")/wineprefix-screenshot}
# Nothing stays behind: the prefix's programs end with its wineserver, and the display after them.
cleanup() {
    wineserver -k 2>/dev/null || true
    wineserver -w 2>/dev/null || true
    if [ -n "$xvfb" ]; then
        kill "$xvfb" 2>/dev/null || true
        wait "$xvfb" 2>/dev/null || true
    fi
    rm -rf "$scratch"
}
trap cleanup EXIT
mkdir "$scratch/data"
cp -r "$data/." "$scratch/data/"
rm -f "$scratch/data/kelvaro-window.png"
x86_64-w64-mingw32-gcc -O2 -o "$scratch/window_tool.exe" "$repo/tools/window_tool.c" -lgdi32

# Xvfb takes a free display itself and names it once it accepts clients.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$scratch/display" </dev/null >/dev/null 2>&1 &
xvfb=$!
for _ in $(seq 600); do [ -s "$scratch/display" ] && break; sleep 0.1; done
if [ ! -s "$scratch/display" ]; then
    echo "The virtual display did not start" >&2
    exit 1
fi
export DISPLAY=":$(head -n 1 "$scratch/display")"
export WINEDLLOVERRIDES="mscoree,mshtml=" WINEDEBUG=-all
source "$repo/cmake/wine-prefix.sh"
prepare_wine_prefix

tool() { wine "$scratch/window_tool.exe" "$@" 2>/dev/null | tr -d '\r'; }

(cd "$scratch/data" && wine "$exe" >/dev/null 2>&1 &)
picture="$scratch/window.bmp"
# Opened as the tray menu does, again until it shows: a start in the tray hides the window a moment
# after it is up, which may come after the first command. Only a hang takes two minutes.
deadline=$((SECONDS + 120))
until tool menu Kelvaro 1003 159 && tool shot '#32770' Kelvaro 10 "Z:${picture//\//\\}" 0; do
    if [ $SECONDS -ge $deadline ]; then
        echo "Kelvaro's window did not appear" >&2
        tool boxes >&2 || true
        exit 1
    fi
    sleep 1
done
convert "$picture" "$output"
echo "$output"
