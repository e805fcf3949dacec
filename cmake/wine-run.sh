#!/usr/bin/env bash
# Runs a Windows program under Wine in the build's own prefix and home folder.
# TAVRIK_BUILD_DIR names the build folder; by default the one holding the program.
set -e
build=${TAVRIK_BUILD_DIR:-}
if [ -z "$build" ]; then
  dir=$(cd "$(dirname "$1")" && pwd)
  while [ "$dir" != / ] && [ ! -f "$dir/CMakeCache.txt" ]; do dir=$(dirname "$dir"); done
  build=$dir
fi
export WINEPREFIX="$build/wine"
export HOME="$build/home"
export XDG_CONFIG_HOME="$HOME/.config"
export WINEARCH=win64
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
export LANG=${TAVRIK_LANG:-${LANG:-C.UTF-8}}
exec wine "$@"
