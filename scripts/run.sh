#!/usr/bin/env bash
# Builds the program and starts it under Wine. With no display it runs under
# Xvfb, saves a picture of the main window and says where. The language
# follows LANG (LANG=es_ES.UTF-8 gives the Spanish texts).
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
ensure_packages
TAVRIK_TARGET=TavrikBackup build_program
ensure_prefix
ensure_locale
had_display=${DISPLAY:-}
if [ -n "$had_display" ]; then
  wine_env
  exec wine "$BUILD/TavrikBackup.exe"
fi
trap 'stop_wine; stop_display' EXIT
ensure_display
wine_env
wine "$BUILD/TavrikBackup.exe" &
pid=$!
# The main window, once the splash window (the program's window without a
# name) has gone from over it.
windows() { xwininfo -root -tree 2>/dev/null | grep '"tavrikbackup.exe"' || true; }
window=""
for second in $(seq "${TAVRIK_SHOT_WAIT:-90}"); do
  sleep 1
  window=$(windows | awk '/"Tavrik Backup": \(/ {print $1; exit}')
  [ -n "$window" ] && [ "$second" -ge 5 ] && ! windows | grep -q '(has no name)' && break
done
sleep 1
shot="$BUILD/screenshot-main.png"
if [ -n "$window" ]; then
  import -window "$window" "$shot"
  echo "No display: the program ran under Xvfb; picture of the main window saved to $shot"
else
  echo "No display: the main window did not appear within the wait" >&2
fi
kill "$pid" 2>/dev/null || true
wait "$pid" 2>/dev/null || true
