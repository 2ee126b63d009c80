#!/bin/bash
# Redraws the README's pictures in docs/: the main window, the Settings, Set Time, History and
# About dialogs, a reminder popup, the forced-break dialog, the heads-up before a forced break and
# the eye-break popup, the Working hours dialog and the History dialog with the daily limit, the
# main window in German and in Japanese, and the main window, Settings and History in the dark look,
# each cropped to its window.
# Runs Kelvaro's pictures program (kelvaro_pictures.exe, the program whose windows hold still: no
# time passes for it unless a timer is made to tick here) under Wine on a virtual display in a
# scratch data folder.
#   tools/update_screenshots.sh [KELVARO_PICTURES_EXE] [OUTPUT_FOLDER]
set -euo pipefail
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
exe=$(realpath "${1:-$repo/build/windows/kelvaro_pictures.exe}")
out=$(realpath -m "${2:-$repo/docs}")
# Debian's ImageMagick, ahead of anything else named convert.
export PATH="/usr/bin:$PATH"

scratch=$(mktemp -d)
xvfb=
cleanup() {
    WINEPREFIX="$WINEPREFIX" wineserver -k 2>/dev/null || true
    [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null || true
    rm -rf "$scratch"
}
export WINEPREFIX=${KELVARO_WINEPREFIX:-$(dirname "$exe")/wineprefix-screenshot}
trap cleanup EXIT
mkdir -p "$out"

x86_64-w64-mingw32-gcc -O2 -o "$scratch/window_tool.exe" "$repo/tools/window_tool.c" -lgdi32

display_number=$(( 500 + RANDOM % 400 ))
while [ -e "/tmp/.X11-unix/X$display_number" ]; do display_number=$((display_number + 1)); done
Xvfb ":$display_number" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
export DISPLAY=":$display_number"
export WINEDLLOVERRIDES="mscoree,mshtml=" WINEDEBUG=-all
source "$repo/cmake/wine-prefix.sh"
prepare_wine_prefix

# settings.txt with every key; $1 is the data folder, the other arguments replace keys.
write_settings() {
    local folder=$1
    shift
    {
        printf 'HEALTH_MSG 1\nTIMEBREAK_MSG 1\nSLEEP_MSG 1\nSOUND_ON_MSG 0\nSOUND_LONGTIME_WARNING 0\n'
        printf 'SHUTDOWN 0\nTIMELIMIT 22:30:0\nFREQUENCE 1023\nSTARTTRAY 0\nFORCEBREAK 0\n'
        printf 'FORCEBREAK_WAIT 60\nONLYSOUND 0\nKEYBOARD_LEDS 0\nSOUNDMSG_PATH message.wav\n'
        printf 'SOUNDWARNING_PATH break.wav\nOTHERTIME 120\nSTARTPROGRAM false\nHOLD_WHEN_BUSY 1\nNATURAL_BREAKS 1\n'
        printf 'WINDOWS_NOTIFICATIONS 0\nEYE_BREAKS 0\nEYE_BREAK_MINUTES 20\n'
    } >"$folder/settings.txt"
    for change in "$@"; do
        sed -i "s/^${change%% *} .*/$change/" "$folder/settings.txt"
    done
    sed -i 's/$/\r/' "$folder/settings.txt"
}

# A data folder with the catalogue, the break ideas, the sounds, twelve weeks of history (a few days
# missing, one long day) with their breaks and their first and last uses, and today's count, so
# that no first-start message box shows and the History views have bars in most of their slots.
seed_folder() {
    local folder=$1
    mkdir -p "$folder"
    cp "$repo/src/messages/standard.txt" "$repo/src/breaks/breakideas.txt" "$repo"/src/resources/sounds/*.wav "$folder/"
    {
        printf 'HISTORY\r\n'
        local times=(3:12:40 5:47:5 2:05:30 6:31:12 4:20:0 1:40:22 7:05:48 9:41:3 4:58:10 3:33:33 5:02:0)
        for days in $(seq 83 -1 1); do
            if [ $((days % 6)) -eq 3 ]; then continue; fi
            printf '%s = %s\r\n' "$(date -d "-$days days" +%Y-%-m-%-d)" "${times[$((days % ${#times[@]}))]}"
        done
    } >"$folder/timehistory.txt"
    printf 'ACTIVE_TIME_TODAY %s = 1:25:10\r\n' "$(date +%Y-%-m-%-d)" >"$folder/activetimelog.txt"
    # The breaks of the twelve weeks, today's included.
    {
        printf 'BREAKS\r\n'
        for days in $(seq 83 -1 0); do
            printf '%s = breaks %d, postponed %d, eyes %d/%d\r\n' "$(date -d "-$days days" +%Y-%m-%d)" \
                $((2 + days % 3)) $((days % 2)) $((9 + days)) $((12 + days))
        done
    } >"$folder/breakhistory.txt"
    # Each day's first use and the last of its evening, between 21:00 and 01:45.
    {
        printf 'USE\r\n'
        local lasts=(22:40:12 23:15:40 21:50:05 00:35:18 23:05:44 01:42:10 22:20:31 23:48:09 21:12:55 00:05:27 22:58:16)
        for days in $(seq 29 -1 1); do
            if [ $((days % 6)) -eq 3 ]; then continue; fi
            printf '%s = first 08:%02d:00, last %s\r\n' "$(date -d "-$days days" +%Y-%m-%d)" $((days * 7 % 60)) \
                "${lasts[$((days % ${#lasts[@]}))]}"
        done
    } >"$folder/usehistory.txt"
}

tool() { wine "$scratch/window_tool.exe" "$@" 2>/dev/null | tr -d '\r'; }
# How long a window may take to come: only a hang takes that long, even on a busy machine.
wait_seconds=120

# snap CLASS TITLE NAME [SECONDS]: waits for the shown window (CLASS, TITLE; "-" for any), longer
# than a hang guard when it comes only after some work, and saves its picture as OUTPUT_FOLDER/NAME.png.
snap() {
    local picture="$scratch/$3.bmp"
    # Wine's drive Z: is the Unix root.
    if ! tool shot "$1" "$2" "${4:-$wait_seconds}" "Z:${picture//\//\\}"; then
        echo "no steady picture of the window: $3" >&2
        return 1
    fi
    convert "$picture" "$out/$3.png"
    echo "$out/$3.png"
}

start_kelvaro() { (cd "$1" && wine "$exe" >/dev/null 2>&1 &); }

# First run: stopped, so that every choice shows enabled; the dialogs one after another.
status=0
seed_folder "$scratch/dialogs"
write_settings "$scratch/dialogs"
# The Settings dialog shows a keyboard shortcut and a bedtime chosen, which the History's nights draw.
printf 'HOTKEY_PAUSE Ctrl+Alt+P\r\nBEDTIME 23:00\r\nBEDTIME_REMINDER 1\r\n' >>"$scratch/dialogs/settings.txt"
start_kelvaro "$scratch/dialogs"
snap '#32770' Kelvaro main-window || status=1
tool click Kelvaro 1062
snap '#32770' Settings settings || status=1
tool click Settings 2 || true
tool click Kelvaro 1018
snap '#32770' 'Set Time' set-time || status=1
tool click 'Set Time' 2 || true
tool click Kelvaro 1048
# The list's caret would blink in the picture: the focus goes to OK.
tool enabled History 1 "$wait_seconds" && tool focus History 1
snap '#32770' History history || status=1
# The History dialog's weeks and nights too, each view chosen by its button.
for view in 1070:weeks 1072:nights; do
    tool click History "${view%%:*}"
    tool focus History 1
    snap '#32770' History "history-${view#*:}" || status=1
done
tool click History 2 || true
tool click Kelvaro 1028
snap '#32770' 'About Kelvaro' about || status=1
tool click 'About Kelvaro' 1 || true
wineserver -k 2>/dev/null || true
wineserver -w 2>/dev/null || true

# Second run, supervising: the time-break suggestion's and the go-to-bed message's timers are made
# to tick, and one of them (by day the suggestion, by night the message) comes as a popup, which
# stays once rolled out and is closed once its picture is taken. Forced breaks are then checked in
# the hidden Settings dialog, so the next one comes as the break dialog, pictured once the one tick
# of its countdown of a second has ended it, its OK button focused, and one activity tick has shown
# today's active time in it, which then stands. With holding in busy moments checked too, the one
# after that is announced by its heads-up, which keeps its first number.
seed_folder "$scratch/reminders"
# Nobody touches this virtual display: Kelvaro must not take that for a user away, and the first
# break comes without its heads-up.
write_settings "$scratch/reminders" 'STARTPROGRAM true' 'HOLD_WHEN_BUSY 0' 'NATURAL_BREAKS 0' 'FORCEBREAK_WAIT 1'
start_kelvaro "$scratch/reminders"
remind() {
    tool timer Kelvaro 1003 2
    tool timer Kelvaro 1003 3
}
if tool wait Kelvaro 1003 Stop "$wait_seconds"; then
    remind
    snap KelvaroStatusBarPopup - popup || status=1
    tool close KelvaroStatusBarPopup
    tool check Settings 1012
    remind
    tool timer Kelvaro 1003 7
    tool timer Kelvaro 1003 6
    if tool enabled '' 1 "$wait_seconds"; then
        # On OK, as after a Tab, rather than the blinking caret of the active-time field.
        tool focus '' 1
        snap '#32770' '' forced-break || status=1
    else
        echo "the break dialog's countdown did not end" >&2
        status=1
    fi
    tool check Settings 1080
    remind
    snap '#32770' 'Break heads-up' heads-up || status=1
else
    echo "Kelvaro did not start supervising" >&2
    status=1
fi
wineserver -k 2>/dev/null || true
wineserver -w 2>/dev/null || true

# Third run: eye breaks after a minute of work, and no other reminder. A user at work (the mouse
# moving) and an activity tick a second bring the eye break; with no tick after it, its countdown
# keeps its first 20.
seed_folder "$scratch/eyes"
write_settings "$scratch/eyes" 'STARTPROGRAM true' 'HEALTH_MSG 0' 'TIMEBREAK_MSG 0' 'SLEEP_MSG 0' 'EYE_BREAKS 1' \
    'EYE_BREAK_MINUTES 1'
start_kelvaro "$scratch/eyes"
if tool wait Kelvaro 1003 Stop "$wait_seconds"; then
    tool work 300 &
    worker=$!
    if tool ticks Kelvaro 1003 6 KelvaroEyeBreakPopup 290; then
        snap KelvaroEyeBreakPopup - eye-break || status=1
    else
        echo "the eye break did not come" >&2
        status=1
    fi
    # The helper's Windows side ends with the session's wineserver, at the cleanup.
    kill "$worker" 2>/dev/null || true
else
    echo "Kelvaro did not start supervising for the eye break" >&2
    status=1
fi
# The working day: stopped, with working hours and a daily limit of 6 hours, so that the History
# chart draws the limit's line and the longer days stand out. The Working hours dialog is opened
# by the Settings dialog's button, hidden, as its command.
wineserver -k 2>/dev/null || true
wineserver -w 2>/dev/null || true
seed_folder "$scratch/workday"
write_settings "$scratch/workday"
printf '%s\r\n' 'WORK_HOURS 1' 'WORK_MON "08:30-12:30 13:30-17:30"' 'WORK_TUE "08:30-12:30 13:30-17:30"' \
    'WORK_WED "08:30-13:00"' 'WORK_THU "08:30-12:30 13:30-17:30"' 'WORK_FRI "08:30-12:30 13:30-16:00"' \
    'WORK_SAT ""' 'WORK_SUN ""' 'DAILY_LIMIT 1' 'DAILY_LIMIT_TIME 6:0:0' >>"$scratch/workday/settings.txt"
start_kelvaro "$scratch/workday"
if tool wait Settings 1121 'Working hours...' "$wait_seconds"; then
    tool post Settings 1121
    snap '#32770' 'Working hours' working-hours || status=1
    tool click 'Working hours' 2 || true
    tool click Kelvaro 1048
    tool enabled History 1 "$wait_seconds" && tool focus History 1
    snap '#32770' History history-limit || status=1
else
    echo "Kelvaro did not open for the working day" >&2
    status=1
fi
wineserver -k 2>/dev/null || true
wineserver -w 2>/dev/null || true
# The main window in German and in Japanese, chosen in the settings as a user chooses them.
for language in de ja; do
    seed_folder "$scratch/$language"
    cp "$repo/src/resources/translations/$language/standard.txt" "$repo/src/resources/translations/$language/breakideas.txt" \
        "$scratch/$language/"
    write_settings "$scratch/$language"
    printf 'LANGUAGE %s\r\n' "$language" >>"$scratch/$language/settings.txt"
    start_kelvaro "$scratch/$language"
    snap '#32770' Kelvaro "main-window-$language" || status=1
    wineserver -k 2>/dev/null || true
    wineserver -w 2>/dev/null || true
done
# The main window, the Settings dialog and the History dialog in the dark look, chosen in the
# settings, with the same data as the first run's light ones.
seed_folder "$scratch/dark"
write_settings "$scratch/dark"
printf 'HOTKEY_PAUSE Ctrl+Alt+P\r\nBEDTIME 23:00\r\nBEDTIME_REMINDER 1\r\nTHEME dark\r\n' >>"$scratch/dark/settings.txt"
start_kelvaro "$scratch/dark"
snap '#32770' Kelvaro main-window-dark || status=1
tool click Kelvaro 1062
snap '#32770' Settings settings-dark || status=1
tool click Settings 2 || true
tool click Kelvaro 1048
tool enabled History 1 "$wait_seconds" && tool focus History 1
snap '#32770' History history-dark || status=1
tool click History 2 || true
wineserver -k 2>/dev/null || true
wineserver -w 2>/dev/null || true
exit $status
