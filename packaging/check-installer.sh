#!/bin/bash
# Builds the installer and runs it silently in the build's Wine prefix: the program, the seeded
# data (never over the user's own copy) and both shortcuts, working in the data folder, must be
# there; started from the Start menu's shortcut, Kelvaro must come up supervising without a
# "could not open" box; the silent uninstall must then take away the program and shortcuts and
# keep the data. With KELVARO_SIGNING_CERTIFICATE and KELVARO_SIGNING_PASSWORD_FILE set, the
# installer, the program and the uninstaller must carry that certificate's signature.
#   check-installer.sh CMAKE BUILD_DIR SETUP_EXE
set -euo pipefail
cmake=$1
build=$(cd "$2" && pwd)
setup=$3
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
wine_run=("$repo/cmake/wine-run.sh" "$build")

"$cmake" --build "$build" --target installer

fail() { echo "FAIL: $*" >&2; exit 1; }

export WINEPREFIX="$build${KELVARO_WINE_SESSION:+/wine-$KELVARO_WINE_SESSION}/wineprefix"
# The prefix's own folders, asked of Windows: the user name in them is the Unix one.
folders=$("${wine_run[@]}" cmd /c 'echo %LOCALAPPDATA%;%APPDATA%' | tr -d '\r')
local_win=${folders%%;*}
roaming_win=${folders#*;}
[ -n "$local_win" ] && [ -n "$roaming_win" ] || fail "no user folders in the Wine prefix: '$folders'"
unix_path() { local p=${1//\\//}; echo "$WINEPREFIX/drive_c/${p#[Cc]:/}"; }

data_win="$local_win\\Kelvaro"
program=$(unix_path "$local_win\\Programs\\Kelvaro")
data=$(unix_path "$data_win")
menu_link=$(unix_path "$roaming_win\\Microsoft\\Windows\\Start Menu\\Programs\\Kelvaro.lnk")
# Wine spells the Startup folder "StartUp"; Windows ignores the case, the Linux side does not.
startup=$(find "$(dirname "$menu_link")" -maxdepth 1 -type d -iname startup -print -quit)
[ -n "$startup" ] || fail "no Startup folder in the Wine prefix"
startup_link="$startup/Kelvaro.lnk"
uninstall_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Kelvaro'

# Wine starts what the Startup folder holds when a session begins: nothing may stay behind for
# the next test, whatever happens here.
clean() { rm -rf "$program" "$data" "$menu_link" "$startup_link" "$build/user-history.txt"; }
trap clean EXIT
clean

# A user who already has a history of their own.
mkdir -p "$data"
printf 'HISTORY\r\n2026-1-5 = 3:12:40\r\n' >"$data/timehistory.txt"
cp "$data/timehistory.txt" "$build/user-history.txt"

"${wine_run[@]}" "$setup" /S || fail "the installer exited with $?"

for file in kelvaro.exe Uninstall.exe README.md LICENSE; do
    [ -f "$program/$file" ] || fail "$program/$file was not installed"
done
cmp -s "$program/kelvaro.exe" "$build/kelvaro.exe" || fail "the installed kelvaro.exe is not the one built"
cmp -s "$data/timehistory.txt" "$build/user-history.txt" || fail "the installer replaced the user's timehistory.txt"
for seeded in src/messages/standard.txt src/breaks/breakideas.txt src/resources/sounds/message.wav \
    src/resources/sounds/break.wav packaging/settings.txt packaging/activetimelog.txt; do
    cmp -s "$data/$(basename "$seeded")" "$repo/$seeded" || fail "$(basename "$seeded") was not seeded from $seeded"
done
for link in "$menu_link" "$startup_link"; do
    [ -f "$link" ] || fail "no shortcut $link"
    # A shortcut keeps its paths in UTF-16; without the zero bytes they read as text.
    tr -d '\0' <"$link" | grep -qiF "$local_win\\Programs\\Kelvaro\\kelvaro.exe" || fail "$link does not start kelvaro.exe"
    tr -d '\0' <"$link" | grep -qiF "$data_win" || fail "$link does not work in $data_win"
done
"${wine_run[@]}" reg query "$uninstall_key" >/dev/null || fail "no entry in the list of installed programs"

# A build given a certificate signed the installer, the program and the uninstaller the installer
# wrote: each signature verifies against the system's trusted roots, or else against the certificate's
# own, as a throw-away self-signed one needs.
if [ -n "${KELVARO_SIGNING_CERTIFICATE:-}" ]; then
    own_roots="$build/signing-roots.pem"
    openssl pkcs12 -in "$KELVARO_SIGNING_CERTIFICATE" -passin "file:$KELVARO_SIGNING_PASSWORD_FILE" -nokeys \
        -out "$own_roots" 2>/dev/null || fail "cannot read the certificate $KELVARO_SIGNING_CERTIFICATE"
    for signed in "$setup" "$program/kelvaro.exe" "$program/Uninstall.exe"; do
        osslsigncode verify -in "$signed" >/dev/null 2>&1 ||
            osslsigncode verify -CAfile "$own_roots" -in "$signed" >/dev/null 2>&1 ||
            fail "$signed does not carry a valid signature of $KELVARO_SIGNING_CERTIFICATE"
    done
    rm -f "$own_roots"
fi

# Started as the user starts it: through the shortcut, which gives the working folder.
x86_64-w64-mingw32-gcc -O2 -o "$build/window_tool.exe" "$repo/tools/window_tool.c" -lgdi32
tool() { "${wine_run[@]}" "$build/window_tool.exe" "$@" | tr -d '\r'; }
start_stop=1003 # IDC_MAIN_START_STOP
quit=1013       # IDC_MAIN_QUIT
"${wine_run[@]}" start /unix "$menu_link" || fail "the Start menu shortcut did not start"
# The seeded settings start supervision while the window initialises, after every file is read.
# Only a hang takes two minutes, even on a busy machine.
wait_seconds=120
if ! tool wait Kelvaro "$start_stop" Stop "$wait_seconds"; then
    boxes=$(tool boxes)
    tool post Kelvaro "$quit" || true
    fail "Kelvaro did not come up supervising from the shortcut${boxes:+; it showed: $boxes}"
fi
boxes=$(tool boxes)
tool post Kelvaro "$quit" || fail "Kelvaro's window went away"
[ -z "$boxes" ] || fail "Kelvaro started from the shortcut showed: $boxes"
timeout "$wait_seconds" wineserver -w || fail "Kelvaro did not end at Quit"
# Quit wrote today into the history, after the user's own days.
head -n 2 "$data/timehistory.txt" | cmp -s - "$build/user-history.txt" || fail "the first run lost the user's history"
cp "$data/timehistory.txt" "$build/user-history.txt"

"${wine_run[@]}" "$program/Uninstall.exe" /S || fail "the uninstaller exited with $?"
# The uninstaller runs from a copy of itself so that it can delete the original: wait for it.
wineserver -w

[ ! -e "$program" ] || fail "the uninstaller left $program: $(ls "$program")"
[ ! -e "$menu_link" ] || fail "the uninstaller left the Start menu shortcut"
[ ! -e "$startup_link" ] || fail "the uninstaller left the Startup shortcut"
cmp -s "$data/timehistory.txt" "$build/user-history.txt" || fail "the uninstaller took the user's timehistory.txt"
for file in standard.txt breakideas.txt message.wav break.wav settings.txt activetimelog.txt; do
    [ -f "$data/$file" ] || fail "the uninstaller took the user's $file"
done
if "${wine_run[@]}" reg query "$uninstall_key" >/dev/null 2>&1; then
    fail "the uninstaller left its entry in the list of installed programs"
fi
rm -f "$build/user-history.txt"

# A German user, with break ideas of their own, gets the catalogue in German and keeps their ideas.
clean
mkdir -p "$data"
echo "Meine eigenen Ideen" >"$data/breakideas.txt"
LC_ALL=de_DE.UTF-8 "${wine_run[@]}" "$setup" /S || fail "the installer exited with $? for a German user"
cmp -s "$data/standard.txt" "$repo/src/resources/translations/de/standard.txt" ||
    fail "a German user's standard.txt was not seeded in German"
[ "$(cat "$data/breakideas.txt")" = "Meine eigenen Ideen" ] || fail "the installer replaced a German user's breakideas.txt"
"${wine_run[@]}" "$program/Uninstall.exe" /S || fail "the uninstaller exited with $?"
wineserver -w
echo "installer and uninstaller: OK"
