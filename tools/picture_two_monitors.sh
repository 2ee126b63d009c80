#!/bin/bash
# Draws the README's picture of a break across two monitors, docs/break-two-monitors.png: the whole
# virtual screen of a display with two monitors side by side (Xorg's dummy driver, as root), on
# which kelvaro_pictures.exe opens a break with the covers chosen.
#   tools/picture_two_monitors.sh [KELVARO_PICTURES_EXE] [OUTPUT_FOLDER]
set -euo pipefail
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
exe=$(realpath "${1:-$repo/build/windows/kelvaro_pictures.exe}")
out=$(realpath -m "${2:-$repo/docs}")
export PATH="/usr/bin:$PATH"

scratch=$(mktemp -d)
export WINEPREFIX="$scratch/wineprefix"
export WINEDLLOVERRIDES="mscoree,mshtml=" WINEDEBUG=-all
source "$repo/tests/win32/run-on-two-monitors.sh"
cleanup() {
    wineserver -k 2>/dev/null || true
    wineserver -w 2>/dev/null || true
    stop_two_monitor_display
    rm -rf "$scratch"
}
trap cleanup EXIT
mkdir -p "$out"

start_two_monitor_display "$scratch/display"
source "$repo/cmake/wine-prefix.sh"
prepare_wine_prefix
x86_64-w64-mingw32-gcc -O2 -o "$scratch/window_tool.exe" "$repo/tools/window_tool.c" -lgdi32
tool() { wine "$scratch/window_tool.exe" "$@" 2>/dev/null | tr -d '\r'; }

# A data folder with forced breaks whose countdown stands at its first second, the covers chosen,
# and no heads-up before the break.
data="$scratch/data"
mkdir -p "$data"
cp "$repo/src/messages/standard.txt" "$repo/src/breaks/breakideas.txt" "$repo"/src/resources/sounds/*.wav "$data/"
printf 'HISTORY\r\n' >"$data/timehistory.txt"
printf 'ACTIVE_TIME_TODAY %s = 2:41:37\r\n' "$(date +%Y-%-m-%-d)" >"$data/activetimelog.txt"
sed -e 's/^STARTTRAY 1/STARTTRAY 0/' -e 's/^FORCEBREAK 0/FORCEBREAK 1/' -e 's/^HOLD_WHEN_BUSY 1/HOLD_WHEN_BUSY 0/' \
    -e 's/^NATURAL_BREAKS 1/NATURAL_BREAKS 0/' -e 's/^COVER_SCREENS 0/COVER_SCREENS 1/' \
    "$repo/packaging/settings.txt" >"$data/settings.txt"

(cd "$data" && wine "$exe" >/dev/null 2>&1 &)
tool wait Kelvaro 1003 Stop 120
# The second monitor is where the user works: the break stands there.
tool pointer 1400 300
(cd "$data" && wine "$exe" break >/dev/null 2>&1)
# The break dialog, which has no title, once it stands; then the covers are laid.
tool shot '#32770' '' 120 "Z:${scratch//\//\\}\\dialog.bmp" 0
# One activity tick shows today's active time in it.
tool timer Kelvaro 1003 6
sleep 1
picture_of_screen "$scratch/screen.png"
convert "$scratch/screen.png" "$out/break-two-monitors.png"
echo "$out/break-two-monitors.png"
