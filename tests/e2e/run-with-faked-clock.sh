#!/bin/bash
# Runs one Windows program, like cmake/wine-run.sh, in a Wine session whose wall clock a test can
# move while programs run: a prefix, wineserver and virtual display of its own, all stopped at the
# end, so the other Wine tests of the build keep the real clock.
#
#   run-with-faked-clock.sh BUILD_DIR PROGRAM [ARGUMENTS...]
#
# Every process of the session, wineserver included, runs with libfaketime, which adds the
# offset in seconds written in the file named by KELVARO_FAKED_CLOCK ("+2678400", "-60") to the
# real time and reads that file again every second or two. Tick counts, and so window timers,
# waits and the last-input time, keep the real pace.
set -euo pipefail
build_dir=$1
shift
wine_run="$(cd "$(dirname "${BASH_SOURCE[0]}")/../../cmake" && pwd)/wine-run.sh"

libfaketime=
for candidate in /usr/lib/*/faketime/libfaketime.so.1 /usr/lib/faketime/libfaketime.so.1 \
                 /usr/local/lib/faketime/libfaketime.so.1; do
  if [ -f "$candidate" ]; then libfaketime=$candidate; break; fi
done
if [ -z "$libfaketime" ]; then
  echo "run-with-faked-clock.sh: libfaketime is missing (Debian: apt-get install faketime)" >&2
  exit 1
fi

session_dir="$build_dir/faked-clock"
mkdir -p "$session_dir"
exec 8>"$session_dir/lock"
flock 8
xvfb_pid_file="$session_dir/xvfb.pid"

stop_session() {
  WINEPREFIX="$session_dir/wineprefix" wineserver -k 2>/dev/null || true
  if [ -f "$xvfb_pid_file" ]; then
    local pid
    pid=$(cat "$xvfb_pid_file")
    if [ "$(cat "/proc/$pid/comm" 2>/dev/null)" = Xvfb ]; then kill "$pid" 2>/dev/null || true; fi
    rm -f "$xvfb_pid_file"
  fi
}
# A run killed at its time-out leaves its wineserver, with the clock it had, and its display behind.
stop_session
trap stop_session EXIT

display_file="$session_dir/xvfb.display"
: >"$display_file"
# Xvfb takes a free display itself and names it once it accepts clients.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$display_file" >/dev/null 2>&1 &
echo $! >"$xvfb_pid_file"
for _ in $(seq 100); do [ -s "$display_file" ] && break; sleep 0.1; done
if [ ! -s "$display_file" ]; then
  echo "run-with-faked-clock.sh: the virtual display did not start" >&2
  exit 1
fi
export DISPLAY=":$(head -n 1 "$display_file")"
# The prefix that this session copies is made with the real clock and zone, as every other session's.
source "$(dirname "$wine_run")/wine-prefix.sh"
prepare_wine_template
# This is a session of its own, whatever CTest named.
unset KELVARO_WINE_SESSION

clock_file="$session_dir/clock"
echo "+0" >"$clock_file"
unset FAKETIME FAKETIME_NO_CACHE FAKETIME_FMT FAKETIME_START_AFTER_SECONDS FAKETIME_START_AFTER_NUMCALLS
export KELVARO_FAKED_CLOCK="$clock_file"
export FAKETIME_TIMESTAMP_FILE="$clock_file"
export FAKETIME_CACHE_DURATION=1
export FAKETIME_DONT_FAKE_MONOTONIC=1
# File times stay real, or Wine would take its own files for changed and update the prefix each run.
export NO_FAKE_STAT=1
# A zone with daylight saving that every clock of the session reads alike: glibc and Wine follow the
# rule given here, while the C runtime of a Windows program reads TZ itself and knows only this rule
# (that of the United States since 2007), so it would get any other zone's changes wrong.
export TZ="EST5EDT,M3.2.0,M11.1.0"
export LD_PRELOAD="$libfaketime${LD_PRELOAD:+:$LD_PRELOAD}"

# The session's wineserver is started by the first Wine program, with this environment.
status=0
bash "$wine_run" "$session_dir" "$@" || status=$?
exit $status
