#!/usr/bin/env bash
# Makes a release: builds the program (Release) and its installer and writes
# them laid out as the vendor's web server publishes them:
#   OUTDIR/download/TavrikBackup.exe   the installer
#   OUTDIR/download/TavrikBackup.upd   first line: the version of that build
# Usage: scripts/release.sh [OUTDIR] [-DNAME=VALUE ...]
# OUTDIR is build/release by default; the -D values go to CMake, e.g.
# -DTAVRIK_VERSION_OVERRIDE=0.2.0 -DTAVRIK_UPDATE_SERVER=http://127.0.0.1:8080
# The build folder is build/release-build, or TAVRIK_RELEASE_BUILD.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
out=$ROOT/build/release
if [ $# -gt 0 ] && [[ $1 != -* ]]; then out=$1; shift; fi
BUILD=${TAVRIK_RELEASE_BUILD:-$ROOT/build/release-build}

ensure_packages
# Configured afresh each time, so that no cache value of an earlier release
# (another version, a test's server) slips into this one; the compiled
# objects stay and only what changed is built again.
rm -f "$BUILD/CMakeCache.txt"
TAVRIK_BUILD_TYPE=Release build_program -DTAVRIK_BUILD_TESTS=OFF "$@"

version=$(sed -n 's/^#define TAVRIK_VERSION_TEXT "\(.*\)"$/\1/p' "$BUILD/generated/version.h")
[ -n "$version" ] || { echo "No version text in $BUILD/generated/version.h" >&2; exit 1; }
installer=$BUILD/installer/TavrikBackup.exe
[ -f "$installer" ] || { echo "No installer was made (is makensis installed?)" >&2; exit 1; }

rm -rf "$out/download"
mkdir -p "$out/download"
cp "$installer" "$out/download/TavrikBackup.exe"
# The program reads the first line up to CR: ANSI text, CR LF.
printf '%s\r\n' "$version" > "$out/download/TavrikBackup.upd"
echo "Release $version written to $out/download"
