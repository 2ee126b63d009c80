#!/bin/bash
# Runs one Windows program, like cmake/wine-run.sh, in a Wine session of its own whose display has
# two monitors side by side: Xorg's dummy driver laid out by xrandr, 1024x768 at 0,0 (the primary)
# and 800x600 at 1024,0. Xvfb can't: its heads all stand at 0,0. Xorg runs as root.
#   run-on-two-monitors.sh BUILD_DIR PROGRAM [ARGUMENTS...]
# While it runs, the program switches the second monitor off or on by writing "off" or "on" into
# the file that KELVARO_MONITOR_SWITCH names (a Windows path); the file goes once the switch is made.
#
# Sourced, the script gives what a picture of such a display needs:
#   start_two_monitor_display DIR   starts the display (its files in DIR) and exports DISPLAY
#   switch_second_monitor on|off
#   picture_of_screen FILE          the whole virtual screen, both monitors
#   stop_two_monitor_display

two_monitor_xorg_pid=

start_two_monitor_display() {
    local dir=$1
    mkdir -p "$dir"
    cat >"$dir/xorg.conf" <<'EOF'
Section "ServerFlags"
  Option "AutoAddDevices" "off"
EndSection
Section "Device"
  Identifier "d0"
  Driver "dummy"
  VideoRam 256000
EndSection
Section "Monitor"
  Identifier "m0"
  HorizSync 5.0-1000.0
  VertRefresh 5.0-200.0
EndSection
Section "Screen"
  Identifier "s0"
  Device "d0"
  Monitor "m0"
  DefaultDepth 24
  SubSection "Display"
    Depth 24
    Virtual 2048 1024
  EndSubSection
EndSection
EOF
    # Xorg takes a free display itself and names it once it accepts clients.
    local number="$dir/display.number"
    : >"$number"
    Xorg -displayfd 3 -noreset -config "$dir/xorg.conf" -logfile "$dir/xorg.log" -nolisten tcp \
        3>"$number" </dev/null >/dev/null 2>&1 &
    two_monitor_xorg_pid=$!
    # A watcher of its own ends the display when the script is killed outright, as CTest kills a
    # test at its time-out.
    (setsid bash -c 'while kill -0 "$1" 2>/dev/null; do sleep 1; done; kill "$2" 2>/dev/null' _ $$ \
        "$two_monitor_xorg_pid" </dev/null >/dev/null 2>&1 &)
    for _ in $(seq 600); do [ -s "$number" ] && break; sleep 0.1; done
    if [ ! -s "$number" ]; then
        echo "run-on-two-monitors.sh: Xorg did not start (see $dir/xorg.log)" >&2
        stop_two_monitor_display
        return 1
    fi
    DISPLAY=":$(head -n 1 "$number")"
    export DISPLAY
    xrandr --newmode 1024x768_d 63.5 1024 1072 1176 1328 768 771 775 798 -hsync +vsync
    xrandr --newmode 800x600_d 38.25 800 832 912 1024 600 603 607 624 -hsync +vsync
    xrandr --addmode DUMMY0 1024x768_d
    xrandr --addmode DUMMY1 800x600_d
    xrandr --output DUMMY0 --mode 1024x768_d --pos 0x0 --primary --output DUMMY1 --mode 800x600_d --pos 1024x0
    # Wine sees a monitor only once the X server has been asked for its monitors.
    xrandr --listmonitors >/dev/null
}

switch_second_monitor() {
    if [ "$1" = off ]; then
        xrandr --output DUMMY1 --off
    else
        xrandr --output DUMMY1 --mode 800x600_d --pos 1024x0
    fi
    xrandr --listmonitors >/dev/null
}

picture_of_screen() {
    import -display "$DISPLAY" -window root "$1"
}

stop_two_monitor_display() {
    [ -n "$two_monitor_xorg_pid" ] || return 0
    kill "$two_monitor_xorg_pid" 2>/dev/null || true
    for _ in $(seq 100); do kill -0 "$two_monitor_xorg_pid" 2>/dev/null || break; sleep 0.1; done
    kill -9 "$two_monitor_xorg_pid" 2>/dev/null || true
    two_monitor_xorg_pid=
}

# Carries out the program's switches until the program ends.
serve_monitor_switches() {
    local request=$1 program=$2
    while kill -0 "$program" 2>/dev/null; do
        if [ -s "$request" ]; then
            switch_second_monitor "$(tr -d '[:space:]' <"$request")"
            rm -f "$request"
        fi
        sleep 0.2
    done
}

if [ "${BASH_SOURCE[0]}" = "$0" ]; then
    set -euo pipefail
    build_dir=$1
    shift
    if [ "$(id -u)" -ne 0 ]; then
        echo "run-on-two-monitors.sh: Xorg's dummy display needs root" >&2
        exit 1
    fi
    session_dir="$build_dir/two-monitors"
    # This is a session of its own, whatever CTest named.
    unset KELVARO_WINE_SESSION
    trap stop_two_monitor_display EXIT
    start_two_monitor_display "$session_dir/display"
    request="$session_dir/display/monitor-switch"
    rm -f "$request"
    export KELVARO_MONITOR_SWITCH="Z:$request"
    bash "$(cd "$(dirname "${BASH_SOURCE[0]}")/../../cmake" && pwd)/wine-run.sh" "$session_dir" "$@" &
    program=$!
    serve_monitor_switches "$request" "$program" &
    server=$!
    status=0
    wait "$program" || status=$?
    wait "$server"
    exit $status
fi
