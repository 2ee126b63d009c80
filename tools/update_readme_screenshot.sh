#!/bin/bash
# Redraws docs/main-window.png, the README's picture of the main window, from a fresh build.
set -euo pipefail
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
data=$(mktemp -d)
trap 'rm -rf "$data"' EXIT
cp "$repo/src/messages/standard.txt" "$data/"
# Stopped, so that every choice shows enabled in the picture.
printf 'STARTTRAY 0\r\nSTARTPROGRAM false\r\n' >"$data/settings.txt"
"$repo/tools/screenshot.sh" "$repo/build/windows/kelvaro.exe" "$data" "$repo/docs/main-window.png"
