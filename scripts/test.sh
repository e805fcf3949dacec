#!/usr/bin/env bash
# Builds the program and its tests and runs every test under Wine.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
ensure_packages
build_program
ensure_prefix
ensure_display
wine_env
wineserver -p </dev/null >/dev/null 2>&1 || true  # one server for the whole run: each test starts in a fraction of a second
# Start Wine's own services now, detached from ctest's output pipes: a service
# that inherited a test's output would keep ctest waiting for it to close.
wine cmd /c ver </dev/null >/dev/null 2>&1
trap 'wineserver -k 2>/dev/null || true; stop_display' EXIT
cd "$BUILD"
ctest --output-on-failure "$@"
