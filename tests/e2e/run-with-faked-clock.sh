#!/bin/bash
# Runs one Windows program, like cmake/wine-run.sh, in a Wine session whose wall clock a test can
# move while programs run: a prefix, wineserver and virtual display of its own, so the other Wine
# tests of the build keep the real clock.
#
#   run-with-faked-clock.sh [--ticks-too] BUILD_DIR PROGRAM [ARGUMENTS...]
#
# Every process of the session, wineserver included, runs with libfaketime, which adds the
# offset in seconds written in the file named by KELVARO_FAKED_CLOCK ("+2678400", "-60") to the
# real time and reads that file again every second or two. Tick counts, and so window timers,
# waits and the last-input time, keep the real pace; with --ticks-too (in a session of its own)
# they move with the clock, so that a test can make minutes without input pass at once. That
# offset only ever grows: a tick count set back would run backwards.
set -euo pipefail
wine_run="$(cd "$(dirname "${BASH_SOURCE[0]}")/../../cmake" && pwd)/wine-run.sh"

# The session is held by a run of this script with the real clock, which prepares its prefix as
# every other session's, with the real clock and zone; the same script then runs the program in
# it with the faked clock.
ticks_too=
if [ "${1:-}" = --ticks-too ]; then
  ticks_too=--ticks-too
  shift
fi
if [ "${1:-}" != --faked ]; then
  build_dir=$1
  session=$build_dir/faked-clock${ticks_too:+-and-ticks}
  # This is a session of its own, whatever CTest named.
  unset KELVARO_WINE_SESSION
  # libfaketime names the semaphore its programs share by the process id of the first of them and
  # leaves it behind when a session is killed; process ids come round again, so the ones of
  # programs that no longer run are cleared first.
  for leftover in /dev/shm/sem.faketime_sem_* /dev/shm/faketime_shm_*; do
    [ -e "$leftover" ] || continue
    kill -0 "${leftover##*_}" 2>/dev/null || rm -f "$leftover"
  done
  log=$(mktemp)
  trap 'rm -f "$log"' EXIT
  # Now and then, beside other sessions of the same kind, a program's libfaketime finds that
  # semaphore gone before the test has begun: such a start, which never ran the test, is made once more.
  for attempt in 1 2; do
    status=0
    bash "$wine_run" "$session" --host bash "${BASH_SOURCE[0]}" $ticks_too --faked "$session" "${@:2}" 2>&1 |
      tee "$log" || status=$?
    [ "$status" -ne 0 ] && [ "$attempt" -eq 1 ] && grep -q 'libfaketime: In ft_shm_init' "$log" || exit "$status"
    echo "run-with-faked-clock.sh: libfaketime could not start; starting the session again" >&2
  done
fi
session_dir=$2
shift 2

libfaketime=
for candidate in /usr/lib/*/faketime/libfaketime.so.1 /usr/lib/faketime/libfaketime.so.1 \
                 /usr/local/lib/faketime/libfaketime.so.1; do
  if [ -f "$candidate" ]; then libfaketime=$candidate; break; fi
done
if [ -z "$libfaketime" ]; then
  echo "run-with-faked-clock.sh: libfaketime is missing (Debian: apt-get install faketime)" >&2
  exit 1
fi

clock_file="$session_dir/clock"
echo "+0" >"$clock_file"
unset FAKETIME FAKETIME_NO_CACHE FAKETIME_FMT FAKETIME_START_AFTER_SECONDS FAKETIME_START_AFTER_NUMCALLS
export KELVARO_FAKED_CLOCK="$clock_file"
export FAKETIME_TIMESTAMP_FILE="$clock_file"
export FAKETIME_CACHE_DURATION=1
if [ -n "$ticks_too" ]; then
  unset FAKETIME_DONT_FAKE_MONOTONIC
else
  export FAKETIME_DONT_FAKE_MONOTONIC=1
fi
# File times stay real, or Wine would take its own files for changed and update the prefix each run.
export NO_FAKE_STAT=1
# A zone with daylight saving that every clock of the session reads alike: glibc and Wine follow the
# rule given here, while the C runtime of a Windows program reads TZ itself and knows only this rule
# (that of the United States since 2007), so it would get any other zone's changes wrong.
export TZ="EST5EDT,M3.2.0,M11.1.0"
export LD_PRELOAD="$libfaketime${LD_PRELOAD:+:$LD_PRELOAD}"

# The session's wineserver is started by the first Wine program, with this environment.
exec bash "$wine_run" "$session_dir" "$@"
