#!/usr/bin/env bash
# Builds the program and starts it under Wine. With no display it runs under
# Xvfb, saves a screenshot of the main window and says where. The language
# follows LANG (LANG=es_ES.UTF-8 gives the Spanish texts).
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
ensure_packages
build_program
ensure_prefix
ensure_locale
had_display=${DISPLAY:-}
ensure_display
wine_env
if [ -n "$had_display" ]; then
  exec wine "$BUILD/TavrikBackup.exe"
fi
wine "$BUILD/TavrikBackup.exe" &
pid=$!
sleep "${TAVRIK_SHOT_DELAY:-15}"  # Wine starts its services first
shot="$BUILD/screenshot-main.png"
import -window root "$shot"
echo "No display: the program ran under Xvfb; screenshot saved to $shot"
wineserver -k 2>/dev/null || true
wait $pid 2>/dev/null || true
stop_display
