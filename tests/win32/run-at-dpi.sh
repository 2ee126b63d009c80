#!/bin/bash
# Runs one Windows program, like cmake/wine-run.sh, in a Wine session whose display is scaled to
# another DPI (144 for 150 %): a prefix, wineserver and virtual display of its own, stopped at the
# end, so the other Wine tests of the build keep 96 DPI.
#   run-at-dpi.sh BUILD_DIR DPI PROGRAM [ARGUMENTS...]
set -euo pipefail
build_dir=$1
dpi=$2
shift 2
wine_run="$(cd "$(dirname "${BASH_SOURCE[0]}")/../../cmake" && pwd)/wine-run.sh"

session_dir="$build_dir/dpi-$dpi"
mkdir -p "$session_dir"
exec 8>"$session_dir/lock"
flock 8

stop_session() {
  WINEPREFIX="$session_dir/wineprefix" wineserver -k 2>/dev/null || true
  if [ -f "$session_dir/xvfb.display" ]; then
    local pid
    pid=$(cut -d' ' -f2 "$session_dir/xvfb.display")
    if [ "$(cat "/proc/$pid/comm" 2>/dev/null)" = Xvfb ]; then kill "$pid" 2>/dev/null || true; fi
    rm -f "$session_dir/xvfb.display"
  fi
}
stop_session
trap stop_session EXIT
# This is a session of its own, whatever CTest named.
unset KELVARO_WINE_SESSION

# Wine reads the DPI when its session starts, so the session is set up, scaled, then ended first.
bash "$wine_run" "$session_dir" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null
WINEPREFIX="$session_dir/wineprefix" wineserver -w
# The test checks that the scaling took.
export KELVARO_EXPECTED_DPI=$dpi
bash "$wine_run" "$session_dir" "$@"
