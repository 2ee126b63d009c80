#!/bin/bash
# Measures what Kelvaro costs the machine, on Debian 12 (as root for the package install):
#   tools/benchmark.sh [SECONDS]   (default 300)
# Installs what is missing, builds, and reports in one run:
#   - the size of kelvaro.exe and the DLLs it imports (only system DLLs allowed);
#   - the instructions of one ordinary activity tick of the portable core (callgrind), and
#     whether such a tick allocates or touches a file (the run fails if it does);
#   - time and heap to load, save, compute the statistics and the chart, and export as CSV
#     1 000 to 100 000 days;
#   - the History dialog's refresh of 10 000 days under Wine, and the start of kelvaro.exe
#     to the first answer of its main window with such a history and with an empty one;
#   - the CPU time of one reminder popup's roll under Wine;
#   - CPU time and peak memory of kelvaro.exe supervising for SECONDS under Wine and Xvfb,
#     every reminder on and popups every minute, beside a floor program run at the same time.
# KELVARO_BENCHMARK_LANGUAGE=de measures Kelvaro speaking that language.
# It is no test: nothing here runs in tools/dev.sh test.
set -euo pipefail

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
seconds=${1:-300}
[[ $seconds =~ ^[0-9]+$ && $seconds -ge 10 ]] || { echo "usage: $0 [SECONDS >= 10]" >&2; exit 2; }
packages=(cmake ninja-build g++ googletest mingw-w64 wine wine64 xvfb valgrind procps)
windows="$repo/build/windows"
native="$repo/build/benchmark"
# A Wine prefix and a virtual display of the benchmark's own, apart from the tests'.
wine_dir="$windows/benchmark"
# Programs start, read their files and settle before the measured period begins.
settle_seconds=15

source "$repo/tools/install_missing.sh"

build() {
    cd "$repo"
    cmake --preset windows >/dev/null
    cmake --build --preset windows --target kelvaro kelvaro_floor kelvaro_history_dialog_benchmark \
        kelvaro_popup_benchmark >/dev/null
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
    echo "## History: load, save, statistics, chart and export (native, optimised; best of several runs)"
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

# Runs one of the benchmark's Windows programs in a scratch folder under the benchmark's Wine session.
# $1 the folder, $2 the heading, $3 the program, the rest its arguments.
wine_benchmark() {
    local folder=$1 heading=$2 program=$3
    shift 3
    mkdir -p "$folder"
    echo "## $heading"
    (cd "$folder" && "$repo/cmake/wine-run.sh" "$wine_dir" "$windows/$program" "$@") | tr -d '\r' | sed 's/^/- /'
}

# settings.txt started hidden in the tray with the "Other" interval of one minute, and the three
# kinds of reminder on (1) or off (0); in the language KELVARO_BENCHMARK_LANGUAGE names ("de"), if any.
write_settings() {
    local reminders=$2
    printf '%s\r\n' "HEALTH_MSG $reminders" "TIMEBREAK_MSG $reminders" "SLEEP_MSG $reminders" "SOUND_ON_MSG 0" \
        "SOUND_LONGTIME_WARNING 0" "SHUTDOWN 0" "TIMELIMIT 0:0:0" "FREQUENCE 1024" "STARTTRAY 1" "FORCEBREAK 0" \
        "FORCEBREAK_WAIT 60" "ONLYSOUND 0" "KEYBOARD_LEDS 0" "SOUNDMSG_PATH message.wav" \
        "SOUNDWARNING_PATH break.wav" "OTHERTIME 1" "STARTPROGRAM true" >"$1/settings.txt"
    if [ -n "${KELVARO_BENCHMARK_LANGUAGE:-}" ]; then
        printf 'LANGUAGE %s\r\n' "$KELVARO_BENCHMARK_LANGUAGE" >>"$1/settings.txt"
    fi
}

# kelvaro_folder FOLDER REMINDERS: a data folder of a user who has started Kelvaro before today
# (without the time files Start would stop at the box that reports a missing file).
kelvaro_folder() {
    mkdir -p "$1"
    write_settings "$1" "$2"
    printf 'ACTIVE_TIME_TODAY %s = 0:0:0\r\n' "$(date +%Y-%-m-%-d)" >"$1/activetimelog.txt"
    printf 'HISTORY\r\n' >"$1/timehistory.txt"
    cp "$windows/standard.txt" "$windows/message.wav" "$windows/break.wav" "$1/"
}

# Three programs in one Wine session at the same time: Kelvaro with every reminder, so that a
# popup rolls every minute; Kelvaro without reminders (its own copy, to tell the processes apart),
# which shows what the popups cost; and the floor.
supervision() {
    local scratch=$1
    kelvaro_folder "$scratch/kelvaro" 1
    kelvaro_folder "$scratch/quiet" 0
    cp "$windows/kelvaro.exe" "$scratch/quiet/kelvaro.exe"
    mkdir -p "$scratch/floor"
    local names=("kelvaro.exe, reminders every minute" "kelvaro.exe, no reminders" "floor")
    local programs=("$windows/kelvaro.exe" "$scratch/quiet/kelvaro.exe" "$windows/kelvaro_floor.exe")
    local folders=("$scratch/kelvaro" "$scratch/quiet" "$scratch/floor")
    local i jobs=() pids=() start=() total=() peak=()
    for i in 0 1 2; do
        (cd "${folders[i]}" && exec "$repo/cmake/wine-run.sh" "$wine_dir" "${programs[i]}") &
        jobs+=($!)
    done
    sleep "$settle_seconds"
    for i in 0 1 2; do
        pids[i]=$(wine_pid_of "${programs[i]}")
        if [ -z "${pids[i]}" ]; then
            echo "FAIL: the Wine process of ${programs[i]} wasn't found"
            return 1
        fi
        start[i]=$(cpu_ticks "${pids[i]}")
    done
    sleep "$seconds"
    for i in 0 1 2; do
        total[i]=$(cpu_ticks "${pids[i]}")
        peak[i]=$(peak_kb "${pids[i]}")
    done
    kill "${pids[@]}" 2>/dev/null || true
    wait "${jobs[@]}" 2>/dev/null || true

    echo "## Supervising for $seconds s under Wine (after $settle_seconds s of start-up)"
    echo "| | CPU in the period | CPU since start | peak memory (VmHWM) | ratio to the floor (CPU in the period, memory) |"
    echo "|---|---|---|---|---|"
    for i in 0 1 2; do
        awk -v name="${names[i]}" -v cpu=$((total[i] - start[i])) -v all="${total[i]}" -v kb="${peak[i]}" \
            -v floor_cpu=$((total[2] - start[2])) -v floor_kb="${peak[2]}" -v hz="$(getconf CLK_TCK)" 'BEGIN {
            printf "| %s | %.2f s | %.2f s | %.1f MB | %s, %.2f |\n", name, cpu / hz, all / hz, kb / 1024,
                floor_cpu ? sprintf("%.2f", cpu / floor_cpu) : "n/a", kb / floor_kb
        }'
    done
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
wine_benchmark "$scratch/history" "History dialog and start-up under Wine" kelvaro_history_dialog_benchmark.exe 10000 10
wine_benchmark "$scratch/popup" "One reminder popup under Wine" kelvaro_popup_benchmark.exe 3
supervision "$scratch"
