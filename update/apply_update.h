// The installer's checks, and the update of an installation for all users:
// the installed program, started with an administrator's rights and
// kApplyUpdateSwitch, copies the downloaded installer into a folder of its
// own that only administrators can change, verifies that copy, and only
// then starts it. The file in the user's folder, which any of the user's
// programs could swap, is never started with those rights. Also the
// clean-up of the installer files an update leaves behind.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace update {

// The argument, followed by the downloaded installer's path, that makes
// the program apply an update instead of opening its window.
constexpr wchar_t kApplyUpdateSwitch[] = L"/apply-update";
// The folder under the installation where the verified copy is started
// from, and what that copy is started with.
constexpr wchar_t kAppliedUpdateFolder[] = L"Update";
constexpr wchar_t kAllUsersInstallerOptions[] = L"/S /ALLUSERS /START";

// Whether installer may be started as an update: its signature (the file
// signature) verifies under public_key (PEM), and its own version is
// greater than running_version and, when offered_version is given, that
// one.
bool IsTrustedInstaller(const std::wstring& installer, const std::wstring& signature,
                        const std::string& public_key, const std::wstring& running_version,
                        const std::wstring& offered_version = L"");

// Whether a folder's rights let only the administrators and the system
// change it (platform/folder_rights.h), read from the folder.
bool OnlyAdministratorsCanChangeFolder(const std::wstring& folder);

struct ApplySetup {
  std::wstring program_folder;
  std::string public_key;
  std::wstring running_version;
  // Starts a file with parameters; true when it started.
  std::function<bool(const std::wstring& file, const std::wstring& parameters)> start;
  // Whether a folder may hold what is started with an administrator's rights.
  std::function<bool(const std::wstring& folder)> trusted_folder = OnlyAdministratorsCanChangeFolder;
};

// Copies downloaded and its ".sig" into program_folder\Update, verifies the
// copies there and starts the installer copy with kAllUsersInstallerOptions,
// holding it open against changes from before its check until it started.
// Nothing is copied or started when the program's folder or its Update
// folder could be changed by anyone but the administrators and the system.
// True when it started; otherwise the copies are removed.
bool ApplyDownloadedUpdate(const std::wstring& downloaded, const ApplySetup& setup);

// The program run with kApplyUpdateSwitch: its exit code (0 when the
// installer started). arguments are the program's, after its name.
int ApplyUpdateFromArguments(const std::vector<std::wstring>& arguments);

// Removes install.exe, install.exe.sig and their ".part" files from the
// program's folder, from its Update folder where the rights allow, and from
// the user's update folder (local_update_folder, which goes too when it is
// left empty).
void RemoveInstallerLeftovers(const std::wstring& program_folder, const std::wstring& local_update_folder);

}  // namespace update
