#!/bin/bash
# Runs one Windows program, like cmake/wine-run.sh, in a Wine session whose display is scaled to
# another DPI (144 for 150 %): a prefix, wineserver and virtual display of its own, so the other
# Wine tests of the build keep 96 DPI.
#   run-at-dpi.sh BUILD_DIR DPI PROGRAM [ARGUMENTS...]
set -euo pipefail
build_dir=$1
dpi=$2
shift 2
wine_run="$(cd "$(dirname "${BASH_SOURCE[0]}")/../../cmake" && pwd)/wine-run.sh"
session_dir="$build_dir/dpi-$dpi"
# This is a session of its own, whatever CTest named.
unset KELVARO_WINE_SESSION

# Wine reads the DPI when its session starts: the setting is made in a session that ends with it.
bash "$wine_run" "$session_dir" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null
# The test checks that the scaling took.
export KELVARO_EXPECTED_DPI=$dpi
exec bash "$wine_run" "$session_dir" "$@"
