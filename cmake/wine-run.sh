#!/bin/bash
# Runs one Windows program under Wine for CTest, in a Wine session (see wine-session.sh): a prefix,
# a wineserver and a virtual display shared by every program that runs in the session at the same
# time, so that a test driver and the program it drives see the same windows and input. A test
# names its session in KELVARO_WINE_SESSION, so that tests running side by side never share a
# prefix, a wineserver or a display; without one, the build folder is the session. The session
# ends with the last run in it, so nothing of it outlives the test that started it.
#   wine-run.sh BUILD_DIR PROGRAM [ARGUMENTS...]
#   wine-run.sh BUILD_DIR --host COMMAND [ARGUMENTS...]
# The second form runs a host command in the session, such as a script that runs several Windows
# programs one after another through wine-run.sh: the session lasts until the command ends.
set -euo pipefail
build_dir=$1
shift
session_dir=$build_dir${KELVARO_WINE_SESSION:+/wine-$KELVARO_WINE_SESSION}
mkdir -p "$session_dir"
session_dir=$(cd "$session_dir" && pwd)
command=(wine)
if [ "${1:-}" = --host ]; then
  command=()
  shift
fi

export WINEPREFIX="$session_dir/wineprefix"
export WINEARCH=win64
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEDEBUG=${WINEDEBUG:--all}
here=$(dirname "${BASH_SOURCE[0]}")
source "$here/wine-prefix.sh"
source "$here/wine-session.sh"

exec 9>"$session_dir/wine-run.lock"
flock 9
join_wine_session "$session_dir" $$
leave() {
  flock 9
  leave_wine_session "$session_dir" $$
}
trap leave EXIT
prepare_wine_prefix
flock -u 9

# In the background, so that a signal is taken at once; the lock stays with this script alone.
"${command[@]}" "$@" 0<&0 9>&- &
run=$!
# A signal ends the run, and the session with it if it was the last.
trap 'kill $run 2>/dev/null; exit 143' TERM
trap 'kill $run 2>/dev/null; exit 130' INT
status=0
wait $run || status=$?
exit $status
