#!/usr/bin/env bash
# The program's update end to end, as a user sees it, under Wine and Xvfb.
# The release of this version is installed; a local web server publishes a
# release of a greater version, both made by scripts/release.sh. The
# installed program's Help > About offers the update; its press downloads
# the installer, starts it and ends the program; the installer, run with no
# parameters as the program runs it, replaces the installation in its folder
# with one press of "Finish", and the greater version is what is installed
# and runs. Screenshots of each step are kept in BUILD/update-path/shots.
# Usage: update_path_test.sh BUILD_FOLDER
source "$(dirname "$0")/steps.sh"
[ -n "${DISPLAY:-}" ] || fail "needs a display (scripts/test.sh starts Xvfb)"
export LC_ALL=C
work=$build/update-path
shots=$work/shots
old=$(sed -n 's/^#define TAVRIK_VERSION_TEXT "\(.*\)"$/\1/p' "$build/generated/version.h")
new=${TAVRIK_TEST_NEW_VERSION:-0.2.0}
# The program compares version texts as strings.
[[ $new > $old ]] || fail "set TAVRIK_TEST_NEW_VERSION to a version greater than $old"
# The local server is reached directly, never through a proxy.
unset http_proxy HTTP_PROXY https_proxy HTTPS_PROXY all_proxy ALL_PROXY
rm -rf "$shots" "$work/old" "$work/new"

port=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
server=http://127.0.0.1:$port
step "releases $old and $new that look for updates on $server"
export TAVRIK_RELEASE_BUILD=$work/build
release() { "$here/../../scripts/release.sh" "$@" >>"$work/release.log" 2>&1 || { tail -30 "$work/release.log"; fail "release $*"; }; }
mkdir -p "$work"; : >"$work/release.log"
release "$work/old" -DTAVRIK_UPDATE_SERVER=$server
release "$work/new" -DTAVRIK_UPDATE_SERVER=$server -DTAVRIK_VERSION_OVERRIDE=$new
[ "$(cat "$work/new/download/TavrikBackup.upd")" = "$new"$'\r' ] || fail "the version file does not read $new"

python3 -m http.server "$port" --bind 127.0.0.1 --directory "$work/new" >"$work/server.log" 2>&1 &
server_pid=$!
program_pid=""
# Whatever the outcome, no window of the program or the installer stays open.
clean_up() {
  for title in "About" "Tavrik Backup" "Tavrik Backup $new Setup*"; do
    win "$driver" close "$title" 2>/dev/null || true
  done
  [ -z "$program_pid" ] || kill "$program_pid" 2>/dev/null || true
  kill "$server_pid" 2>/dev/null || true
}
trap clean_up EXIT
server_up() { python3 -c "import urllib.request; urllib.request.urlopen('$server/download/TavrikBackup.upd')" 2>/dev/null; }
wait_until 20 server_up || fail "the local web server did not start"

# Help > About from the keyboard: Help is the second menu, About its first entry.
open_about() { win "$driver" keys "Tavrik Backup" F10 Right Down Return || fail "could not reach Help > About"; }

step "install $old"
remove_earlier_installation
win "$work/old/download/TavrikBackup.exe" /S || fail "installing $old failed"
[ "$(entry_value DisplayVersion)" = "$old" ] || fail "$old is not installed"
location=$(entry_value InstallLocation)
folder=$(unix_path "$location")

step "start it and open Help > About"
(cd "$folder" && exec "$here/../../cmake/wine-run.sh" "$location\\TavrikBackup.exe") >/dev/null 2>&1 &
program_pid=$!
win "$driver" wait "Tavrik Backup" 90 || { screenshot no-main-window; fail "the main window did not come"; }
screenshot main-window
open_about
win "$driver" seen "About" "$new" 60 || { screenshot no-latest-version; fail "the About window does not show $new"; }
win "$driver" seen "About" "Update Software" 10 || { screenshot no-update-offered; fail "no update offered"; }
screenshot about-offers-update

step "press Update Software: the installer downloads and starts, the program ends"
win "$driver" press "About" "Update Software" 10 || fail "could not press Update Software"
win "$driver" gone "Tavrik Backup" 120 || { screenshot program-still-running; fail "the program did not end"; }
win "$driver" wait "Tavrik Backup $new Setup*" 60 || { screenshot no-installer; fail "the installer did not start"; }
screenshot installer-started
cmp -s "$folder/install.exe" "$work/new/download/TavrikBackup.exe" ||
  fail "install.exe is not the published installer"

step "the installer replaces the installation; Finish starts the new version"
win "$driver" seen "Tavrik Backup $new Setup*" "Finish" 120 || { screenshot installer-stuck; fail "the installer did not finish"; }
screenshot installer-finished
win "$driver" press "Tavrik Backup $new Setup*" "Finish" 10 || fail "could not press Finish"
win "$driver" gone "Tavrik Backup $new Setup*" 30 || fail "the installer did not close"
[ "$(entry_value DisplayVersion)" = "$new" ] || fail "the uninstall entry does not say $new"
[ "$(entry_value InstallLocation)" = "$location" ] || fail "the installation moved"
[ "$(win "$driver" version "$location\\TavrikBackup.exe" | tr -d '\r')" = "$new" ] ||
  fail "the installed program is not $new"

win "$driver" wait "Tavrik Backup" 90 || { screenshot no-new-program; fail "the new version did not start"; }
open_about
win "$driver" seen "About" "CLOSE" 60 || fail "the About window of $new did not come"
win "$driver" seen "About" "$new" 10 || fail "the About window does not show $new"
screenshot new-version-about
win "$driver" press "About" "CLOSE" 10
win "$driver" gone "About" 10 || fail "the About window did not close"
win "$driver" close "Tavrik Backup"
win "$driver" gone "Tavrik Backup" 30 || fail "the new version did not close"

step "uninstall"
uninstall_silently "$location"
echo "update path: all steps passed; screenshots in $shots"
