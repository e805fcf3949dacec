#!/usr/bin/env bash
# The program's update end to end under Wine and Xvfb: this version's release
# is installed, a local server publishes a greater one (both signed with a
# throwaway key made here) over HTTPS, its certificate from the tests' own CA,
# trusted in the build's Wine prefix while the test runs; Help > About
# refuses a tampered installer, then applies the real one. Under Wine the
# installation is for all users (Wine's user is an administrator), so the
# update goes the elevated way, which refuses the installation's folder
# (Wine shows it as the user's own); the installer is then started as the
# elevated program would start it, silently, and replaces the installation
# and starts the new version. Screenshots of
# each step are kept in BUILD/update-path/shots.
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
server=https://localhost:$port
certs=$build/tests/certs
step "releases $old and $new that look for updates on $server"
# A test never installs packages: release.sh only checks them here.
export TAVRIK_RELEASE_BUILD=$work/build TAVRIK_NO_INSTALL=1
release() { "$here/../../scripts/release.sh" "$@" >>"$work/release.log" 2>&1 || { tail -30 "$work/release.log"; fail "release $*"; }; }
mkdir -p "$work"; : >"$work/release.log"
key=$work/signing-key.pem  # made once per build folder
[ -f "$key" ] || openssl ecparam -name prime256v1 -genkey -noout -out "$key"
openssl pkey -in "$key" -pubout -out "$work/signing-key.pub.pem"
signed=(--signing-key "$key" -DTAVRIK_UPDATE_PUBLIC_KEY="$work/signing-key.pub.pem" -DTAVRIK_UPDATE_SERVER=$server)
if "$here/../../scripts/release.sh" "$work/unsigned" -DTAVRIK_UPDATE_SERVER=$server >/dev/null 2>&1; then
  fail "a release without a signing key was made"
fi
release "$work/old" "${signed[@]}"
release "$work/new" "${signed[@]}" -DTAVRIK_VERSION_OVERRIDE=$new

# What the server publishes: first the new release with one byte of its
# installer changed.
rm -rf "$work/served"
cp -r "$work/new" "$work/served"
published=$work/served/download/TavrikBackup.exe
python3 -c 'import sys; d = bytearray(open(sys.argv[1], "rb").read()); d[len(d) // 2] ^= 0xFF; open(sys.argv[1], "wb").write(d)' "$published"

python3 "$here/../support/web_fronts.py" files "$port" "$work/served" "$certs/localhost.pem" "$certs/localhost-key.pem" \
  >"$work/server.log" 2>&1 &
server_pid=$!
ca="Z:${certs//\//\\}\\ca.pem"
win "$driver" trust "$ca" || fail "the test CA could not be trusted"
program_pid=""
# Whatever the outcome, no window of the program or the installer stays open.
clean_up() {
  for title in "About" "Tavrik Backup" "Tavrik Backup $new Setup*"; do
    win "$driver" close "$title" 2>/dev/null || true
  done
  [ -z "$program_pid" ] || kill "$program_pid" 2>/dev/null || true
  kill "$server_pid" 2>/dev/null || true
  win "$driver" distrust "$ca" 2>/dev/null || true
}
trap clean_up EXIT
server_up() { python3 -c "import ssl, urllib.request; urllib.request.urlopen('$server/download/TavrikBackup.upd', context=ssl.create_default_context(cafile='$certs/ca.pem'))" 2>/dev/null; }
wait_until 20 server_up || fail "the local web server did not start"

# Help > About from the keyboard: Help is the second menu, About its first entry.
open_about() { win "$driver" keys "Tavrik Backup" F10 Right Down Return || fail "could not reach Help > About"; }

step "install $old"
remove_earlier_installation
win "$work/old/download/TavrikBackup.exe" /S || fail "installing $old failed"
[ "$(entry_value DisplayVersion)" = "$old" ] || fail "$old is not installed"
location=$(entry_value InstallLocation)
folder=$(unix_path "$location")
# The machine's uninstall entry names it: an installation for all users,
# whose update goes through the user's own folder.
user_folder="$(unix_path "$(win cmd /c echo %LOCALAPPDATA% | tr -d '\r')")/Tavrik Backup"

step "start it and open Help > About"
(cd "$folder" && exec "$here/../../cmake/wine-run.sh" "$location\\TavrikBackup.exe") >/dev/null 2>&1 &
program_pid=$!
win "$driver" wait "Tavrik Backup" 90 || fail "the main window did not come"
screenshot main-window
open_about
win "$driver" seen "About" "$new" 60 || fail "the About window does not show $new"
win "$driver" seen "About" "Update Software" 10 || fail "no update offered"
screenshot about-offers-update

step "press Update Software on a tampered installer: refused and removed, the program goes on"
win "$driver" press "About" "Update Software" 10 || fail "could not press Update Software"
win "$driver" seen "About" "Error updating..." 60 || fail "the tampered installer was not refused"
win "$driver" seen "About" "CLOSE" 10 || fail "the button does not read CLOSE after the refusal"
screenshot tampered-refused
for f in "$folder/install.exe" "$user_folder/install.exe" "$user_folder/install.exe.sig" "$folder/Update/install.exe"; do
  [ ! -e "$f" ] || fail "the tampered installer left $f"
done
kill -0 "$program_pid" 2>/dev/null || fail "the program did not go on"
win "$driver" press "About" "CLOSE" 10
win "$driver" gone "About" 10 || fail "the About window did not close"

# Wine shows every folder as its user's own (whatever the installer asked
# for): refused as on Windows a folder others can change is.
step "the real installer: downloaded and verified, then refused by the elevated program: Wine shows the folder as the user's"
cp "$work/new/download/TavrikBackup.exe" "$published"
open_about
win "$driver" seen "About" "Update Software" 60 || fail "no update offered again"
win "$driver" press "About" "Update Software" 10 || fail "could not press Update Software"
win "$driver" seen "About" "Error updating..." 120 || fail "the elevated program did not refuse the folder"
[ ! -e "$folder/Update/install.exe" ] && [ ! -e "$user_folder/install.exe" ] || fail "the refused update left a copy"
kill -0 "$program_pid" 2>/dev/null || fail "the program did not go on"
win "$driver" press "About" "CLOSE" 10
win "$driver" close "Tavrik Backup"
win "$driver" gone "Tavrik Backup" 30 || fail "the program did not close"

step "the verified installer, started as the elevated program starts it"
win "$work/new/download/TavrikBackup.exe" /S /ALLUSERS /START || fail "the silent installer failed"

step "the silent installer replaces the installation and starts the new version"
has_new() { [ "$(entry_value DisplayVersion)" = "$new" ]; }
wait_until 120 has_new || fail "the uninstall entry does not say $new"
[ "$(entry_value InstallLocation)" = "$location" ] || fail "the installation moved"
[ "$(win "$driver" version "$location\\TavrikBackup.exe" | tr -d '\r')" = "$new" ] ||
  fail "the installed program is not $new"

win "$driver" wait "Tavrik Backup" 90 || fail "the new version did not start"
screenshot new-version-started
win "$driver" close "Tavrik Backup"
win "$driver" gone "Tavrik Backup" 30 || fail "the new version did not close"

step "uninstall"
uninstall_silently "$location"
echo "update path: all steps passed; screenshots in $shots"
