#!/bin/bash
# Runs kelvaro.exe on a virtual display in a copy of a data folder, with its window kept
# shown, and saves a picture of the main window.
#   tools/screenshot.sh KELVARO_EXE DATA_FOLDER OUTPUT_PNG
set -euo pipefail
exe=$(realpath "$1")
data=$(realpath "$2")
output=$(realpath -m "$3")

scratch=$(mktemp -d)
trap 'WINEPREFIX="$WINEPREFIX" wineserver -k 2>/dev/null || true; kill "$xvfb" 2>/dev/null || true; rm -rf "$scratch"' EXIT
cp -r "$data/." "$scratch/"
rm -f "$scratch/kelvaro-window.png"
# The window is normally hidden to the tray at start; keep it shown for the picture.
if [ -f "$scratch/settings.txt" ]; then
    sed -i 's/^STARTTRAY .*/STARTTRAY 0\r/' "$scratch/settings.txt"
else
    printf 'STARTTRAY 0\r\nSTARTPROGRAM true\r\n' >"$scratch/settings.txt"
fi

display_number=$(( 500 + RANDOM % 400 ))
while [ -e "/tmp/.X11-unix/X$display_number" ]; do display_number=$((display_number + 1)); done
Xvfb ":$display_number" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
export DISPLAY=":$display_number"
export WINEPREFIX=${KELVARO_WINEPREFIX:-$(dirname "$exe")/wineprefix-screenshot}
export WINEDLLOVERRIDES="mscoree,mshtml=" WINEDEBUG=-all
if [ ! -f "$WINEPREFIX/kelvaro-ready" ]; then
    wineboot --init >/dev/null 2>&1 || true
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
    wineserver -w
    touch "$WINEPREFIX/kelvaro-ready"
fi

(cd "$scratch" && wine "$exe" >/dev/null 2>&1 &)
for _ in $(seq 150); do
    sleep 0.2
    geometry=$(xwininfo -name Kelvaro 2>/dev/null | awk '/Absolute upper-left X/{x=$NF} /Absolute upper-left Y/{y=$NF} /Width:/{w=$NF} /Height:/{h=$NF} END{if (w>100) print w "x" h "+" x "+" y}' || true)
    if [ -n "$geometry" ]; then
        # Give the window time to draw everything before taking the picture.
        sleep 3
        xwd -root -silent | convert xwd:- -crop "$geometry" +repage "$output"
        echo "$output"
        exit 0
    fi
done
echo "Kelvaro's window did not appear" >&2
exit 1
