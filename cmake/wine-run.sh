#!/bin/bash
# Runs one Windows program under Wine for CTest: a Wine prefix of the build folder,
# prepared once, and one virtual display shared by every program of that build, so
# that a test driver and the program it drives see the same windows and input.
set -euo pipefail
build_dir=$1
shift

export WINEPREFIX="$build_dir/wineprefix"
export WINEARCH=win64
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEDEBUG=${WINEDEBUG:--all}

exec 9>"$build_dir/wine-run.lock"
flock 9

if [ -z "${DISPLAY:-}" ]; then
  display_file="$build_dir/xvfb.display"
  if [ -f "$display_file" ] && kill -0 "$(cut -d' ' -f2 "$display_file")" 2>/dev/null; then
    DISPLAY=":$(cut -d' ' -f1 "$display_file")"
  else
    display_number=$(( 90 + RANDOM % 400 ))
    while [ -e "/tmp/.X11-unix/X$display_number" ]; do display_number=$((display_number + 1)); done
    Xvfb ":$display_number" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    echo "$display_number $!" >"$display_file"
    for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$display_number" ] && break; sleep 0.1; done
    DISPLAY=":$display_number"
  fi
  export DISPLAY
fi

if [ ! -f "$WINEPREFIX/kelvaro-ready" ]; then
  wineboot --init >/dev/null 2>&1 || true
  # Without a window manager Wine pauses about two seconds whenever it hides a window.
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
  wineserver -w
  touch "$WINEPREFIX/kelvaro-ready"
fi
flock -u 9

exec wine "$@"
