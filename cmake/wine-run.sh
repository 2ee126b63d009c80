#!/bin/bash
# Runs one Windows program under Wine for CTest: a Wine prefix and a virtual display of the
# session, prepared once and shared by every program of the session, so that a test driver and
# the program it drives see the same windows and input. A test names its session in
# KELVARO_WINE_SESSION, so that tests running side by side never share a prefix, a wineserver or a
# display; without one, the build folder is the session.
set -euo pipefail
build_dir=$1
shift
session_dir=$build_dir${KELVARO_WINE_SESSION:+/wine-$KELVARO_WINE_SESSION}
mkdir -p "$session_dir"

export WINEPREFIX="$session_dir/wineprefix"
export WINEARCH=win64
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEDEBUG=${WINEDEBUG:--all}
source "$(dirname "${BASH_SOURCE[0]}")/wine-prefix.sh"

exec 9>"$session_dir/wine-run.lock"
flock 9

if [ -z "${DISPLAY:-}" ]; then
  display_file="$session_dir/xvfb.display"
  if [ -f "$display_file" ] && kill -0 "$(cut -d' ' -f2 "$display_file")" 2>/dev/null; then
    DISPLAY=":$(cut -d' ' -f1 "$display_file")"
  else
    # Xvfb takes a free display itself and names it once it accepts clients.
    : >"$display_file.number"
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$display_file.number" >/dev/null 2>&1 &
    xvfb=$!
    for _ in $(seq 100); do [ -s "$display_file.number" ] && break; sleep 0.1; done
    echo "$(head -n 1 "$display_file.number") $xvfb" >"$display_file"
    DISPLAY=":$(head -n 1 "$display_file.number")"
  fi
  export DISPLAY
fi

prepare_wine_prefix
flock -u 9

exec wine "$@"
