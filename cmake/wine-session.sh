#!/bin/bash
# A Wine session of a folder: its prefix (WINEPREFIX=FOLDER/wineprefix), its wineserver and its
# virtual display. It starts with the first run that joins it and ends with the last one that
# leaves it; a watcher that outlives the runs ends it too when they were killed (as CTest kills a
# test at its time-out), so that no wineserver or display stays behind. Sourced by wine-run.sh
# (and by tools/dev.sh for stop_wine_session); the watcher runs this file itself:
#   wine-session.sh watch SESSION_DIR
# Every function but the watcher's loop expects the caller to hold the session's lock.

# The runs in the session, one file named by the process id of each.
wine_session_users() { echo "$1/users"; }

# Forgets the runs that ended without leaving; prints how many live on.
prune_wine_session_users() {
    local users count=0 user
    users=$(wine_session_users "$1")
    mkdir -p "$users"
    for user in "$users"/*; do
        [ -e "$user" ] || continue
        if kill -0 "${user##*/}" 2>/dev/null; then
            count=$((count + 1))
        else
            rm -f "$user"
        fi
    done
    echo "$count"
}

# Kills a process if it still is the one named (its command name), and waits for its end.
stop_process() {
    local pid=$1 name=$2
    [ -n "$pid" ] && [ "$(cat "/proc/$pid/comm" 2>/dev/null)" = "$name" ] || return 0
    kill "$pid" 2>/dev/null || return 0
    for _ in $(seq 100); do kill -0 "$pid" 2>/dev/null || return 0; sleep 0.1; done
    kill -9 "$pid" 2>/dev/null || true
}

# Ends the wineserver of the session, with every program still running in it, and its display.
stop_wine_session() {
    local dir=$1
    WINEPREFIX="$dir/wineprefix" wineserver -k 2>/dev/null || true
    WINEPREFIX="$dir/wineprefix" wineserver -w 2>/dev/null || true
    if [ -f "$dir/xvfb.display" ]; then
        # "DISPLAY PID"
        stop_process "$(cut -s -d' ' -f2 "$dir/xvfb.display")" Xvfb
        rm -f "$dir/xvfb.display" "$dir/xvfb.display.number"
    fi
}

# Joins the calling run (its process id) to the session, starting the session when no run lives in
# it: a virtual display unless DISPLAY names one, and the watcher. Exports DISPLAY.
join_wine_session() {
    local dir=$1 user=$2
    if [ "$(prune_wine_session_users "$dir")" -eq 0 ]; then
        # Left behind by runs killed together with their watcher.
        stop_wine_session "$dir"
        if [ -z "${DISPLAY:-}" ]; then
            # Xvfb takes a free display itself and names it once it accepts clients.
            local number="$dir/xvfb.display.number"
            : >"$number"
            Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$number" </dev/null >/dev/null 2>&1 9>&- &
            local xvfb=$!
            for _ in $(seq 600); do [ -s "$number" ] && break; sleep 0.1; done
            if [ ! -s "$number" ]; then
                echo "wine-session.sh: the virtual display did not start" >&2
                stop_process "$xvfb" Xvfb
                return 1
            fi
            echo "$(head -n 1 "$number") $xvfb" >"$dir/xvfb.display"
        fi
        # Not a child of the run, nor in its process group: CTest kills both at a time-out.
        (setsid bash "${BASH_SOURCE[0]}" watch "$dir" </dev/null >/dev/null 2>&1 9>&- &)
    fi
    if [ -z "${DISPLAY:-}" ]; then
        DISPLAY=":$(cut -d' ' -f1 "$dir/xvfb.display")"
        export DISPLAY
    fi
    touch "$(wine_session_users "$dir")/$user"
}

# The run leaves the session; the last one out ends it.
leave_wine_session() {
    local dir=$1 user=$2
    rm -f "$(wine_session_users "$dir")/$user"
    if [ "$(prune_wine_session_users "$dir")" -eq 0 ]; then
        stop_wine_session "$dir"
        # The watcher leads a process group of its own, with its sleep.
        local watcher
        watcher=$(cat "$dir/watcher" 2>/dev/null || true)
        [ "$(cat "/proc/$watcher/comm" 2>/dev/null)" = bash ] && kill -- "-$watcher" 2>/dev/null
        rm -f "$dir/watcher"
    fi
}

# The watcher: ends the session once no run lives in it, and then itself.
watch_wine_session() {
    local dir=$1
    echo $$ >"$dir/watcher"
    exec 9>"$dir/wine-run.lock"
    while sleep 1; do
        flock 9
        if [ "$(prune_wine_session_users "$dir")" -eq 0 ]; then
            # The last run out has ended the session already, unless it was killed.
            [ "$(cat "$dir/watcher" 2>/dev/null)" = $$ ] && stop_wine_session "$dir" && rm -f "$dir/watcher"
            return 0
        fi
        flock -u 9
    done
}

if [ "${BASH_SOURCE[0]}" = "$0" ] && [ "${1:-}" = watch ]; then
    watch_wine_session "$2"
fi
