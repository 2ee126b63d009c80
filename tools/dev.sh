#!/bin/bash
# Builds, runs and tests Kelvaro on Debian 12 (as root for the package install).
#   tools/dev.sh run [DATA_FOLDER]  installs what is missing, builds, starts Kelvaro under Wine
#   tools/dev.sh test               installs what is missing, builds the Windows program and the
#                                   portable core under the sanitizers, runs every test (the Wine
#                                   suites side by side, each in a session of its own), the static
#                                   analysis, each fuzz target for KELVARO_FUZZ_SECONDS (10) seconds
#                                   and the run command without a display
set -euo pipefail

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build_packages=(cmake ninja-build g++ googletest mingw-w64 wine wine64 xvfb)
# Only for taking a picture of the window on a machine without a display.
picture_packages=(imagemagick)
# Only for the tests: faketime moves the wall clock while the program runs, nsis makes the installer,
# ImageMagick saves the README's pictures, a CJK font gives the text-fit tests the width of Chinese
# and Japanese characters, gettext checks the translations, Xorg's dummy driver and xrandr make two
# monitors side by side, openssl makes a throw-away certificate that osslsigncode signs the program
# and its installer with.
test_packages=(faketime nsis imagemagick fonts-wqy-microhei gettext xserver-xorg-core xserver-xorg-video-dummy
    x11-xserver-utils openssl osslsigncode)
# Only for the tests: the fuzzers (clang, libFuzzer's runtime) and the static analysis.
analysis_packages=(clang libclang-rt-14-dev clang-tidy cppcheck)
# The test command holds the code to no warnings at all.
configure_options=()

source "$repo/tools/install_missing.sh"
source "$repo/cmake/wine-session.sh"

build() {
    cd "$repo"
    for preset in "$@"; do
        cmake --preset "$preset" "${configure_options[@]}" >/dev/null
        cmake --build --preset "$preset"
    done
}

# The processes started for a build folder's Wine sessions: each names the session's prefix in its
# environment.
wine_processes() {
    local build_dir=$1 pid
    for pid in $(pgrep -d ' ' .); do
        if tr '\0' '\n' 2>/dev/null <"/proc/$pid/environ" | grep -q "^WINEPREFIX=$build_dir/"; then
            echo "  $pid $(tr '\0' ' ' 2>/dev/null <"/proc/$pid/cmdline")"
        fi
    done
}

# Those still running a while after the tests ended: every session ends with the test that
# started it, its programs with its wineserver.
wine_processes_left() {
    local left
    for _ in $(seq 30); do
        left=$(wine_processes "$1")
        [ -n "$left" ] || return 0
        sleep 1
    done
    echo "$left"
}

# Ends what a test command killed outright (with its sessions' watchers) left of its Wine sessions.
stop_wine() {
    local session
    for session in "$1" "$1"/wine-* "$1"/dpi-* "$1"/faked-clock* "$1"/two-monitors; do
        [ -d "$session/wineprefix" ] && stop_wine_session "$session"
    done
    return 0
}

# clang-tidy and cppcheck over the portable code as the native build compiles it; the Win32
# shell is held to the compiler's warnings instead.
static_analysis() {
    cd "$repo"
    local status=0
    echo "clang-tidy over the portable code"
    run-clang-tidy -quiet -p build/native-sanitize "$repo/src/" "$repo/tests/fuzz/" >build/clang-tidy.log 2>&1 || {
        grep -E "(warning|error):" build/clang-tidy.log || cat build/clang-tidy.log
        status=1
    }
    echo "cppcheck over the portable code"
    cppcheck --project=build/native-sanitize/compile_commands.json --std=c++20 --quiet --error-exitcode=1 \
        --enable=warning,style,performance,portability --inline-suppr \
        --suppressions-list=tools/cppcheck-suppressions.txt '--file-filter=src/*' '--file-filter=tests/fuzz/*' || status=1
    return $status
}

# A throw-away self-signed code-signing certificate in the build folder, made once, so that the test
# command signs the program, the installer and the uninstaller as a distributor's build does; the
# options that give it to the build go into signing_options.
throwaway_certificate() {
    local folder="$repo/build/windows/throwaway-signing"
    if [ ! -f "$folder/certificate.p12" ]; then
        mkdir -p "$folder"
        openssl rand -hex 16 >"$folder/password.txt"
        openssl req -x509 -newkey rsa:2048 -sha256 -days 3650 -nodes -subj "/CN=Kelvaro throw-away signing" \
            -addext extendedKeyUsage=codeSigning -keyout "$folder/key.pem" -out "$folder/certificate.pem" 2>/dev/null
        openssl pkcs12 -export -inkey "$folder/key.pem" -in "$folder/certificate.pem" \
            -passout "file:$folder/password.txt" -out "$folder/certificate.p12"
        rm "$folder/key.pem"
    fi
    signing_options=(-DKELVARO_SIGNING_CERTIFICATE="$folder/certificate.p12"
        -DKELVARO_SIGNING_PASSWORD_FILE="$folder/password.txt")
}

# The time since the test command began, for the record of where it goes.
elapsed() { echo "[$SECONDS s] $*"; }

# The README's first command as a new user runs it on a machine without a display, in a scratch
# data folder: it must end well and leave the picture of Kelvaro's window. Its Wine prefix is a
# copy of the tests' prepared one, and lies in the build folder, whose Wine processes are checked.
# Only a hang takes ten minutes; the time-out ends the command's whole process group, whose
# picture script then ends its Wine.
check_run_command() {
    local data="$repo/build/run-check" bin="$repo/build/windows"
    rm -rf "$data"
    echo "bash tools/dev.sh run $data, without a display"
    timeout 600 env -u DISPLAY KELVARO_WINEPREFIX="$bin/wine-run/wineprefix" \
        KELVARO_WINE_TEMPLATE="$bin/wineprefix-template" bash "$repo/tools/dev.sh" run "$data" ||
        { echo "The run command failed"; return 1; }
    [ -s "$data/kelvaro-window.png" ] || { echo "The run command left no picture of Kelvaro's window"; return 1; }
}

run_tests() {
    install_missing "${build_packages[@]}" "${test_packages[@]}" "${analysis_packages[@]}"
    elapsed "packages ready"
    local signing_options
    throwaway_certificate
    configure_options=(-DKELVARO_WERROR=ON "${signing_options[@]}")
    build windows
    configure_options=(-DKELVARO_WERROR=ON)
    elapsed "windows built"
    cd "$repo"
    local status=0
    local wine_log="$repo/build/windows/wine-tests.log"
    # The Wine suites mostly wait, on timers and on the programs they drive: they run in the
    # background, side by side, while the processors build and test the portable core.
    stop_wine "$repo/build/windows"
    ctest --preset windows -j "${KELVARO_WINE_JOBS:-6}" >"$wine_log" 2>&1 &
    local wine_tests=$!
    build native-sanitize
    ctest --preset native-sanitize || status=1
    elapsed "portable core tested"
    static_analysis || status=1
    elapsed "static analysis done"
    # Every text of the program in the translators' template, every language complete and sound.
    "$repo/tools/update_translations.sh" --check || status=1
    elapsed "translations checked"
    "$repo/tests/fuzz/run-fuzzers.sh" "${KELVARO_FUZZ_SECONDS:-10}" || status=1
    elapsed "fuzzing done; waiting for the tests under Wine"
    wait "$wine_tests" || status=1
    cat "$wine_log"
    elapsed "tests under Wine done"
    check_run_command || status=1
    elapsed "run command checked"
    local left
    left=$(wine_processes_left "$repo/build/windows")
    if [ -n "$left" ]; then
        echo "The Wine tests left processes running:"
        echo "$left"
        status=1
    fi
    if [ $status -eq 0 ]; then echo "All tests passed."; else echo "Some tests failed."; fi
    return $status
}

# The folder of the catalogue and break ideas in a locale's language ("de_AT.UTF-8"), or nothing for
# English: the same language and region, the language alone, Brazil's Portuguese for Portugal's, and
# simplified Chinese for mainland China and Singapore.
shipped_translation() {
    local locale=${1%%.*} translations="$repo/src/resources/translations" candidate
    locale=${locale%%@*}
    case $locale in
    pt | pt_*) set -- "$locale" pt_BR ;;
    zh_CN | zh_SG) set -- zh_CN ;;
    *) set -- "$locale" "${locale%%_*}" ;;
    esac
    for candidate in "$@"; do
        if [ -n "$candidate" ] && [ -f "$translations/$candidate/standard.txt" ]; then
            echo "$translations/$candidate"
            return
        fi
    done
}

run_program() {
    local data=${1:-$HOME/.local/share/kelvaro}
    install_missing "${build_packages[@]}" "${picture_packages[@]}"
    build windows
    local bin="$repo/build/windows"
    mkdir -p "$data"
    # Seed the data folder as the installer does, never over the user's own copies: the default
    # catalogue and break ideas in the user's language where Kelvaro has them, sounds and settings,
    # a history with only its header and an empty log.
    local translated
    translated=$(shipped_translation "${LC_ALL:-${LC_MESSAGES:-${LANG:-}}}")
    for file in standard.txt breakideas.txt; do
        [ -e "$data/$file" ] || cp "${translated:-$bin}/$file" "$data/$file"
    done
    for file in message.wav break.wav; do
        [ -e "$data/$file" ] || cp "$bin/$file" "$data/$file"
    done
    for file in settings.txt timehistory.txt activetimelog.txt; do
        [ -e "$data/$file" ] || cp "$repo/packaging/$file" "$data/$file"
    done
    data=$(cd "$data" && pwd)
    echo "Kelvaro's data folder: $data"
    if [ -n "${DISPLAY:-}" ]; then
        cd "$data" && WINEDLLOVERRIDES="mscoree,mshtml=" WINEDEBUG=-all wine "$bin/kelvaro.exe"
        return
    fi
    # No display: run on a virtual one, show where a screenshot of the window went.
    "$repo/tools/screenshot.sh" "$bin/kelvaro.exe" "$data" "$data/kelvaro-window.png"
    echo "No display here: Kelvaro ran on a virtual display; its window is in $data/kelvaro-window.png"
}

case "${1:-}" in
run) shift; run_program "$@" ;;
test) run_tests ;;
*) echo "usage: $0 run [DATA_FOLDER] | test" >&2; exit 2 ;;
esac
