#!/usr/bin/env bash
# Runs the Windows-free rules natively under the sanitizers, then builds the
# program and its tests and runs every test under Wine. Arguments go to the
# Wine run's ctest (e.g. -R sources, -j2).
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
# Set before anything starts, so that an interrupted run leaves no Xvfb or
# Wine server behind.
trap 'stop_wine; stop_display' EXIT
ensure_packages
run_native_rules
build_program
ensure_prefix
ensure_display
wine_env
wineserver -p </dev/null >/dev/null 2>&1 || true  # one server for the whole run: each test starts in a fraction of a second
# Start Wine's own services now, detached from ctest's output pipes: a service
# that inherited a test's output would keep ctest waiting for it to close.
wine cmd /c ver </dev/null >/dev/null 2>&1
cd "$BUILD"
ctest --output-on-failure "$@"
