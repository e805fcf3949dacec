#!/usr/bin/env bash
# The silent installer under Wine: program, shortcut and uninstall entry,
# replaced in place when run again; the uninstaller keeps the settings files.
# Usage: installer_test.sh BUILD_FOLDER INSTALLER
source "$(dirname "$0")/steps.sh"
installer=$2
# No blanks: Wine would quote the argument, and /D= must come unquoted.
folder='C:\TavrikTest\Backup'
unix_folder=$(unix_path "$folder")
shortcut="$drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Tavrik Backup.lnk"
version=$(sed -n 's/^#define TAVRIK_VERSION_TEXT "\(.*\)"$/\1/p' "$build/generated/version.h")

remove_earlier_installation
rm -rf "$drive_c/TavrikTest"

step "silent install into a folder of our choice"
win "$installer" /S "/D=$folder" || fail "the installer failed"
[ -f "$unix_folder/TavrikBackup.exe" ] || fail "no program in $unix_folder"
[ -f "$unix_folder/uninstall.exe" ] || fail "no uninstaller in $unix_folder"
cmp -s "$unix_folder/TavrikBackup.exe" "$build/TavrikBackup.exe" || fail "the installed program is not the one built"
[ -f "$shortcut" ] || fail "no Start-menu shortcut"
[ "$(entry_value DisplayName)" = "Tavrik Backup" ] || fail "no uninstall entry"
[ "$(entry_value DisplayVersion)" = "$version" ] || fail "uninstall entry version is not $version"
[ "$(entry_value InstallLocation)" = "$folder" ] || fail "uninstall entry location is not $folder"
[ "$(win "$driver" version "$folder\\TavrikBackup.exe" | tr -d '\r')" = "$version" ] ||
  fail "the installed program's version is not $version"

step "run again without a folder: the same installation is replaced, its schedule kept"
task="$drive_c/windows/system32/tasks/Tavrik Backup/$(win cmd /c echo %USERNAME% | tr -d '\r')"
printf '<Task xmlns="http://schemas.microsoft.com/windows/2004/02/mit/task"><Actions><Exec><Command>%s</Command></Exec></Actions></Task>' "$folder\TavrikBackup.exe" > "$build/task.xml"
win net start schedule >/dev/null 2>&1 || true
win schtasks /create /tn "\\Tavrik Backup\\${task##*/}" /xml "$(win winepath -w "$build/task.xml" | tr -d '\r')" /f >/dev/null 2>&1 || fail "could not schedule a backup"
echo stale > "$unix_folder/TavrikBackup.exe"
win "$installer" /S || fail "the second install failed"
cmp -s "$unix_folder/TavrikBackup.exe" "$build/TavrikBackup.exe" || fail "the program was not replaced in place"
[ -f "$task" ] || fail "the update deleted the scheduled backup"
[ ! -e "$drive_c/Program Files/Tavrik Backup" ] || fail "a second installation was made under Program Files"

step "a running copy of the program is asked to close"
(cd "$unix_folder" && exec "$here/../../cmake/wine-run.sh" "$folder\\TavrikBackup.exe") >/dev/null 2>&1 &
program_pid=$!
trap 'kill $program_pid 2>/dev/null || true' EXIT
win "$driver" wait "Tavrik Backup" 60 || fail "the installed program did not start"
win "$installer" /S || fail "installing over the running program failed"
win "$driver" gone "Tavrik Backup" 1 || fail "the running program was not closed"
wait $program_pid 2>/dev/null || true
cmp -s "$unix_folder/TavrikBackup.exe" "$build/TavrikBackup.exe" || fail "the program was not replaced"

step "a folder the user's rights cannot change: each says so at once"
skipped=0
if chattr +i "$unix_folder" 2>/dev/null; then
  trap 'chattr -i "$unix_folder" 2>/dev/null || true; kill $program_pid 2>/dev/null || true' EXIT
  # The installer over it names the cause instead of waiting for the program.
  code=0; win "$installer" /S || code=$?
  [ $code = 2 ] || fail "the installer over a folder it cannot change ended with $code, not 2"
  (win "$installer" >/dev/null 2>&1 &)
  win "$driver" seen "Tavrik Backup*" "The files of Tavrik Backup in $folder cannot be changed with your rights: that needs an administrator's permission." 60 ||
    fail "the installer did not name the lack of rights"
  win "$driver" press "Tavrik Backup*" "OK" 10
  # The uninstaller of an installation for all users asks for the rights
  # (starting itself again elevated); even those do not reach here.
  (win "$folder\\uninstall.exe" >/dev/null 2>&1 &)
  win "$driver" seen "Tavrik Backup*" "Tavrik Backup is installed for all users: removing it needs an administrator's permission." 60 ||
    fail "the uninstaller did not ask for the rights it needs"
  win "$driver" press "Tavrik Backup*" "OK" 10
  win "$driver" gone "Tavrik Backup*" 30 || fail "the uninstaller did not end"
  chattr -i "$unix_folder"
  [ -f "$unix_folder/TavrikBackup.exe" ] && [ -n "$(entry_value DisplayName)" ] || fail "something was removed"
else
  echo "skipped: chattr cannot make $unix_folder unchangeable here (needs root on ext2/3/4)"
  skipped=1
fi

step "silent uninstall keeps the settings files and deletes the schedule"
appdata=$(unix_path "$(win cmd /c echo %APPDATA% | tr -d '\r')")
mkdir -p "$appdata"
settings_existed=0; [ -f "$appdata/TAVRIK Backup.ini" ] && settings_existed=1
[ $settings_existed = 1 ] || printf '[Settings]\r\nTarget=C:\\Backup\r\n' > "$appdata/TAVRIK Backup.ini"
printf '[Settings]\r\n' > "$unix_folder/TAVRIK Backup.ini"
update_files=(install.exe install.exe.sig TavrikBackup.upd install.exe.part install.exe.sig.part TavrikBackup.upd.part)
for f in "${update_files[@]}"; do touch "$unix_folder/$f"; done   # left by the program's update, whole or cut off
uninstall_silently "$folder"
for f in TavrikBackup.exe "${update_files[@]}"; do [ ! -e "$unix_folder/$f" ] || fail "$f is still there"; done
[ ! -e "$shortcut" ] || fail "the Start-menu shortcut is still there"
[ -z "$(entry_value DisplayName)" ] || fail "the uninstall entry is still there"
[ ! -e "$task" ] || fail "the scheduled backup is still there"
[ -f "$unix_folder/TAVRIK Backup.ini" ] || fail "the settings file beside the program was deleted"
[ -f "$appdata/TAVRIK Backup.ini" ] || fail "the settings file in AppData was deleted"
[ $settings_existed = 1 ] || rm -f "$appdata/TAVRIK Backup.ini"
rm -rf "$drive_c/TavrikTest"
[ $skipped = 0 ] || { echo "installer: passed, one step skipped"; exit 77; }
echo "installer: all steps passed"
