#!/bin/bash
# Runs kelvaro.exe on a virtual display in a copy of a data folder, as it starts for its user
# (normally hidden in the tray), opens its window as the tray menu's "Open Kelvaro" does and
# saves a picture of the main window.
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
trap 'wineserver -k 2>/dev/null || true; [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null; rm -rf "$scratch"' EXIT
mkdir "$scratch/data"
cp -r "$data/." "$scratch/data/"
rm -f "$scratch/data/kelvaro-window.png"
x86_64-w64-mingw32-gcc -O2 -o "$scratch/window_tool.exe" "$repo/tools/window_tool.c" -lgdi32

display_number=$(( 500 + RANDOM % 400 ))
while [ -e "/tmp/.X11-unix/X$display_number" ]; do display_number=$((display_number + 1)); done
Xvfb ":$display_number" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
export DISPLAY=":$display_number"
export WINEDLLOVERRIDES="mscoree,mshtml=" WINEDEBUG=-all
source "$repo/cmake/wine-prefix.sh"
prepare_wine_prefix

tool() { wine "$scratch/window_tool.exe" "$@" 2>/dev/null | tr -d '\r'; }

(cd "$scratch/data" && wine "$exe" >/dev/null 2>&1 &)
# Up once its button reads Stop (supervising) or Start (a settings file that doesn't start it).
for _ in $(seq 60); do
    if tool wait Kelvaro 1003 Stop 1 >/dev/null || tool wait Kelvaro 1003 Start 1 >/dev/null; then
        break
    fi
done
# Past the moment a start in the tray hides the window, open it as the tray menu does.
sleep 1
tool menu Kelvaro 1003 159 || true
picture="$scratch/window.bmp"
if ! tool shot '#32770' Kelvaro 30 "Z:${picture//\//\\}"; then
    echo "Kelvaro's window did not appear" >&2
    tool boxes >&2 || true
    exit 1
fi
convert "$picture" "$output"
echo "$output"
