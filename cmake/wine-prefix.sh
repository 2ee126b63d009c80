#!/bin/bash
# Makes the Wine prefix named by WINEPREFIX ready for Kelvaro's programs, once: a copy of the
# template prefix named by KELVARO_WINE_TEMPLATE when one is named (a second's copy instead of
# a first Wine start of twenty), else a prefix of its own. Sourced by the scripts that run Wine,
# with a display set. A prefix made by another version of this file is made again.

wine_prefix_recipe=$(sha256sum "${BASH_SOURCE[0]}" | cut -d' ' -f1)

wine_prefix_ready() {
  [ "$(cat "$1/kelvaro-ready" 2>/dev/null)" = "$wine_prefix_recipe" ]
}

# Makes the template itself, once for all the sessions that copy it.
prepare_wine_template() {
  local template=${KELVARO_WINE_TEMPLATE:-}
  [ -n "$template" ] || return 0
  mkdir -p "$(dirname "$template")"
  (
    exec 7>"$template.lock"
    flock 7
    export WINEPREFIX=$template
    wine_prefix_ready "$WINEPREFIX" || init_wine_prefix
  )
}

prepare_wine_prefix() {
  wine_prefix_ready "$WINEPREFIX" && return 0
  local template=${KELVARO_WINE_TEMPLATE:-}
  if [ -z "$template" ] || [ "$template" = "$WINEPREFIX" ]; then
    init_wine_prefix
    return 0
  fi
  prepare_wine_template
  rm -rf "$WINEPREFIX"
  mkdir -p "$(dirname "$WINEPREFIX")"
  cp -a "$template" "$WINEPREFIX"
}

init_wine_prefix() {
  # Made by another version of this file: made anew, so that nothing of the old recipe stays.
  if [ -f "$WINEPREFIX/kelvaro-ready" ]; then rm -rf "$WINEPREFIX"; fi
  wineboot --init >/dev/null 2>&1 || true
  # Without a window manager Wine pauses about two seconds whenever it hides a window.
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
  # Chinese and Japanese texts are drawn and measured in the CJK font the test command installs,
  # linked, as Windows links its CJK fonts to Tahoma, to Liberation Sans and its bold: the face Wine
  # gives here for the dialogs' and the popups' fonts alike. Linked to a face Wine lacks, such as
  # Tahoma or Arial, the CJK font would stand in for that face, Latin letters too.
  local face
  for face in 'Liberation Sans' 'Liberation Sans Bold'; do
    wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink' /v "$face" \
      /t REG_MULTI_SZ /d 'wqy-microhei.ttc,WenQuanYi Micro Hei' /f >/dev/null 2>&1
  done
  wineserver -w
  echo "$wine_prefix_recipe" >"$WINEPREFIX/kelvaro-ready"
}
