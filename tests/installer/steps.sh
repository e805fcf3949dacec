# Shared steps of the installer tests, sourced with the build folder as $1.
set -euo pipefail
build=$(cd "$1" && pwd)
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
export TAVRIK_BUILD_DIR=$build TAVRIK_LANG=C.UTF-8
drive_c=$build/wine/drive_c
driver=$build/tests/window_driver.exe
uninst_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\TavrikBackup'

win() { "$here/../../cmake/wine-run.sh" "$@"; }
# Says why and ends; where screenshots are kept ($shots), with the screen as it was.
fail() { [ -z "${shots:-}" ] || screenshot failed; echo "FAIL: $*" >&2; exit 1; }
step() { echo "--- $*"; }

unix_path() { local p=${1#[Cc]:\\}; echo "$drive_c/${p//\\//}"; }

# A value of the uninstall entry; empty when there is none.
entry_value() {
  { win reg query "$uninst_key" /v "$1" 2>/dev/null || true; } | tr -d '\r' |
    awk -v name="$1" '$1 == name { sub(/^[ \t]*[^ \t]+[ \t]+[^ \t]+[ \t]+/, ""); print }'
}

# Runs its arguments until they succeed, for at most $1 seconds.
wait_until() {
  local seconds=$1; shift
  for ((i = 0; i < seconds * 4; i++)); do
    "$@" && return 0
    sleep 0.25
  done
  return 1
}
missing() { [ ! -e "$1" ]; }

# The uninstaller returns at once; it is done when its own file is gone.
uninstall_silently() {
  local folder; folder=$(unix_path "$1")
  win "$1\\uninstall.exe" /S
  wait_until 60 missing "$folder/uninstall.exe" || fail "the uninstaller left $folder/uninstall.exe"
}

# Removes an installation an earlier, interrupted run may have left.
remove_earlier_installation() {
  local location; location=$(entry_value InstallLocation)
  [ -n "$location" ] || return 0
  if [ -f "$(unix_path "$location")/uninstall.exe" ]; then
    uninstall_silently "$location"
  fi
  win reg delete "$uninst_key" /f >/dev/null 2>&1 || true
}

shot_number=0
screenshot() {
  shot_number=$((shot_number + 1))
  mkdir -p "$shots"
  import -display "$DISPLAY" -window root "$shots/$(printf %02d $shot_number)-$1.png" 2>/dev/null || true
}
