#!/bin/bash
# Measures what Kelvaro costs the machine, on Debian 12 (as root for the package install):
#   tools/benchmark.sh [SECONDS]   (default 300)
# Installs what is missing, builds, and reports in one run:
#   - the size of kelvaro.exe and the DLLs it imports (only system DLLs allowed);
#   - the instructions of one ordinary activity tick of the portable core (callgrind), and
#     whether such a tick allocates or touches a file (the run fails if it does);
#   - time and heap to load, save and compute the statistics of 1 000 to 100 000 days;
#   - the History dialog's refresh of 10 000 days under Wine;
#   - CPU time and peak memory of kelvaro.exe supervising for SECONDS under Wine and Xvfb,
#     every reminder on and popups every minute, beside a floor program run at the same time.
# It is no test: nothing here runs in tools/dev.sh test.
set -euo pipefail

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
seconds=${1:-300}
[[ $seconds =~ ^[0-9]+$ && $seconds -ge 10 ]] || { echo "usage: $0 [SECONDS >= 10]" >&2; exit 2; }
packages=(cmake ninja-build g++ googletest mingw-w64 wine wine64 xvfb valgrind)
windows="$repo/build/windows"
native="$repo/build/benchmark"
# A Wine prefix and a virtual display of the benchmark's own, apart from the tests'.
wine_dir="$windows/benchmark"
# Programs start, read their files and settle before the measured period begins.
settle_seconds=15

install_missing() {
    local missing=()
    for package in "$@"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
    done
    if [ ${#missing[@]} -gt 0 ]; then
        echo "Installing: ${missing[*]}"
        local log
        log=$(mktemp)
        if ! { apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}"; } >"$log" 2>&1; then
            cat "$log"
            return 1
        fi
        rm -f "$log"
    fi
}

build() {
    cd "$repo"
    cmake --preset windows >/dev/null
    cmake --build --preset windows --target kelvaro kelvaro_floor kelvaro_history_dialog_benchmark >/dev/null
    # The core's figures are those of an optimised build, as kelvaro.exe is.
    cmake -S "$repo" -B "$native" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
    cmake --build "$native" --target kelvaro_tick_benchmark kelvaro_history_benchmark >/dev/null
}

machine() {
    echo "## Machine"
    echo "- processors: $(nproc), $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2- | sed 's/^ *//')"
    echo "- $(wine --version 2>/dev/null || echo 'wine: unknown version'), $(x86_64-w64-mingw32-g++-posix --version | head -1)"
    echo "- load average at the start: $(cut -d' ' -f1-3 /proc/loadavg)"
}

executable() {
    local exe="$windows/kelvaro.exe"
    echo "## kelvaro.exe"
    echo "- size: $(stat -c %s "$exe") bytes"
    local dlls
    dlls=$(x86_64-w64-mingw32-objdump -p "$exe" | sed -n 's/^\s*DLL Name: //p' | tr '\n' ' ')
    echo "- imports: $dlls"
    local system_dlls=" advapi32.dll comctl32.dll comdlg32.dll gdi32.dll kernel32.dll msvcrt.dll ole32.dll shell32.dll user32.dll winmm.dll "
    for dll in $dlls; do
        if [[ $system_dlls != *" ${dll,,} "* ]]; then
            echo "FAIL: kelvaro.exe imports $dll, which is not a system DLL"
            return 1
        fi
    done
}

tick() {
    echo "## One ordinary activity tick (portable core, native, optimised)"
    "$native/kelvaro_tick_benchmark" | sed 's/^/- /'
    local ticks=1000 out instructions
    out=$(mktemp)
    valgrind --tool=callgrind --callgrind-out-file="$out" --toggle-collect='*RunOrdinaryTicks*' \
        "$native/kelvaro_tick_benchmark" "$ticks" >/dev/null 2>&1
    instructions=$(sed -n 's/^summary: //p' "$out" | cut -d' ' -f1)
    rm -f "$out"
    echo "- instructions per tick (callgrind, $ticks ticks): $((instructions / ticks))"
}

history() {
    echo "## History: load, save and statistics (native, optimised; best of several runs)"
    echo '```'
    "$native/kelvaro_history_benchmark" 1000 10000 100000
    echo '```'
}

# The Wine process (the preloader) that runs a program of this benchmark's Wine prefix: its
# command line starts with the program's path.
wine_pid_of() {
    local program=$1 pid
    for pid in $(pgrep -f "$program" || true); do
        if tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null | grep -qx "WINEPREFIX=$wine_dir/wineprefix" &&
            [ "$(tr '\0' '\n' <"/proc/$pid/cmdline" 2>/dev/null | head -1 | sed 's/ *$//')" = "$program" ]; then
            echo "$pid"
            return
        fi
    done
}

# utime + stime in clock ticks.
cpu_ticks() {
    awk '{ print $14 + $15 }' "/proc/$1/stat"
}

peak_kb() {
    sed -n 's/^VmHWM:\s*\([0-9]*\) kB/\1/p' "/proc/$1/status"
}

stop_wine() {
    WINEPREFIX="$wine_dir/wineprefix" wineserver -k 2>/dev/null || true
    if [ -f "$wine_dir/xvfb.display" ]; then
        kill "$(cut -d' ' -f2 "$wine_dir/xvfb.display")" 2>/dev/null || true
        rm -f "$wine_dir/xvfb.display"
    fi
}

history_dialog() {
    local folder=$1
    mkdir -p "$folder"
    echo "## History dialog under Wine"
    (cd "$folder" && "$repo/cmake/wine-run.sh" "$wine_dir" "$windows/kelvaro_history_dialog_benchmark.exe" 10000) |
        tr -d '\r' | sed 's/^/- /'
}

# settings.txt with every reminder on, the "Other" interval of one minute, started hidden in the tray.
write_settings() {
    printf '%s\r\n' "HEALTH_MSG 1" "TIMEBREAK_MSG 1" "SLEEP_MSG 1" "SOUND_ON_MSG 0" "SOUND_LONGTIME_WARNING 0" \
        "SHUTDOWN 0" "TIMELIMIT 0:0:0" "FREQUENCE 1024" "STARTTRAY 1" "FORCEBREAK 0" "FORCEBREAK_WAIT 60" \
        "ONLYSOUND 0" "KEYBOARD_LEDS 0" "SOUNDMSG_PATH message.wav" "SOUNDWARNING_PATH break.wav" "OTHERTIME 1" \
        "STARTPROGRAM true" >"$1/settings.txt"
}

supervision() {
    local scratch=$1
    mkdir -p "$scratch/kelvaro" "$scratch/floor"
    write_settings "$scratch/kelvaro"
    # The time files of a user who has started Kelvaro before today: without them Start would stop
    # at the box that reports a missing file.
    printf 'ACTIVE_TIME_TODAY %s = 0:0:0\r\n' "$(date +%Y-%-m-%-d)" >"$scratch/kelvaro/activetimelog.txt"
    printf 'HISTORY\r\n' >"$scratch/kelvaro/timehistory.txt"
    cp "$windows/standard.txt" "$windows/message.wav" "$windows/break.wav" "$scratch/kelvaro/"
    (cd "$scratch/kelvaro" && exec "$repo/cmake/wine-run.sh" "$wine_dir" "$windows/kelvaro.exe") &
    local kelvaro_job=$!
    (cd "$scratch/floor" && exec "$repo/cmake/wine-run.sh" "$wine_dir" "$windows/kelvaro_floor.exe") &
    local floor_job=$!
    sleep "$settle_seconds"
    local kelvaro floor
    kelvaro=$(wine_pid_of "$windows/kelvaro.exe")
    floor=$(wine_pid_of "$windows/kelvaro_floor.exe")
    if [ -z "$kelvaro" ] || [ -z "$floor" ]; then
        echo "FAIL: the Wine processes weren't found (kelvaro: '${kelvaro}', floor: '${floor}')"
        return 1
    fi
    local kelvaro_start floor_start
    kelvaro_start=$(cpu_ticks "$kelvaro")
    floor_start=$(cpu_ticks "$floor")
    sleep "$seconds"
    local kelvaro_cpu floor_cpu kelvaro_total floor_total kelvaro_peak floor_peak hz
    hz=$(getconf CLK_TCK)
    kelvaro_total=$(cpu_ticks "$kelvaro")
    floor_total=$(cpu_ticks "$floor")
    kelvaro_cpu=$((kelvaro_total - kelvaro_start))
    floor_cpu=$((floor_total - floor_start))
    kelvaro_peak=$(peak_kb "$kelvaro")
    floor_peak=$(peak_kb "$floor")
    kill "$kelvaro" "$floor" 2>/dev/null || true
    wait "$kelvaro_job" "$floor_job" 2>/dev/null || true

    echo "## Supervising for $seconds s under Wine (after $settle_seconds s of start-up)"
    echo "| | CPU in the period | CPU since start | peak memory (VmHWM) |"
    echo "|---|---|---|---|"
    awk -v k="$kelvaro_cpu" -v f="$floor_cpu" -v kt="$kelvaro_total" -v ft="$floor_total" \
        -v km="$kelvaro_peak" -v fm="$floor_peak" -v hz="$hz" 'BEGIN {
        printf "| kelvaro.exe | %.2f s | %.2f s | %.1f MB |\n", k / hz, kt / hz, km / 1024
        printf "| floor | %.2f s | %.2f s | %.1f MB |\n", f / hz, ft / hz, fm / 1024
        printf "| ratio | %s | %s | %.2f |\n", f ? sprintf("%.2f", k / f) : "n/a", ft ? sprintf("%.2f", kt / ft) : "n/a", km / fm
    }'
}

install_missing "${packages[@]}"
build
mkdir -p "$wine_dir"
scratch=$(mktemp -d)
trap 'stop_wine; rm -rf "$scratch"' EXIT
echo "# Kelvaro benchmark, $(date -u '+%Y-%m-%d %H:%M UTC')"
machine
executable
tick
history
history_dialog "$scratch/history"
supervision "$scratch"
