// The installer's checks, the elevated apply-update step and the clean-up
// of what updates leave behind.
#include "update/apply_update.h"

#include "platform/elevation.h"
#include "platform/file_checks.h"
#include "platform/files.h"
#include "platform/shell.h"
#include "update/version_check.h"
#include "update_key.h"
#include "version.h"

namespace update {

bool IsTrustedInstaller(const std::wstring& installer, const std::wstring& signature,
                        const std::string& public_key, const std::wstring& running_version,
                        const std::wstring& offered_version) {
  // The signature first: nothing else of the file is read before it is
  // known to be the vendor's.
  const std::optional<std::string> der = platform::ReadFileBytes(signature);
  const std::optional<std::string> digest = der ? platform::FileSha256(installer) : std::nullopt;
  if (!digest || !platform::VerifyP256Signature(public_key, *digest, *der)) return false;
  const auto own = platform::FileProductVersion(installer);
  if (!own) return false;
  const std::wstring version = platform::FromAnsi(InstallerVersionText(*own));
  return (offered_version.empty() || version == offered_version) &&
         IsGreaterVersion(version, running_version);
}

bool OnlyAdministratorsCanChangeFolder(const std::wstring& folder) {
  const std::optional<platform::FolderRights> rights = platform::ReadFolderRights(folder);
  return rights && platform::OnlyAdministratorsCanChange(*rights);
}

bool ApplyDownloadedUpdate(const std::wstring& downloaded, const ApplySetup& setup) {
  const std::wstring folder = setup.program_folder + L"\\" + kAppliedUpdateFolder;
  const std::wstring installer = folder + L"\\install.exe";
  const std::wstring signature = installer + L".sig";
  // A folder that others can change (an installation for all users put
  // outside Program Files, with the rights of its parent) could have its
  // files swapped under the administrator's start.
  if (!setup.trusted_folder(setup.program_folder) || !platform::MakeAdministratorsFolder(folder) ||
      !setup.trusted_folder(folder)) {
    return false;
  }
  platform::DeleteFileAt(installer);
  platform::DeleteFileAt(signature);
  // What is checked and started is the copy, which the user's programs
  // cannot change, never the file they could swap; and it stays as checked
  // until its process has started.
  if (platform::CopyFileOver(downloaded, installer) &&
      platform::CopyFileOver(downloaded + L".sig", signature)) {
    const platform::ReadOnlyHold hold(installer);
    if (hold.held() && IsTrustedInstaller(installer, signature, setup.public_key, setup.running_version) &&
        setup.start(installer, kAllUsersInstallerOptions)) {
      return true;
    }
  }
  platform::DeleteFileAt(installer);
  platform::DeleteFileAt(signature);
  return false;
}

int ApplyUpdateFromArguments(const std::vector<std::wstring>& arguments) {
  if (arguments.size() != 2 || arguments[0] != kApplyUpdateSwitch) return 2;
  ApplySetup setup;
  setup.program_folder = platform::ProgramFolder();
  setup.public_key = TAVRIK_UPDATE_PUBLIC_KEY_PEM;
  setup.running_version = VersionText(TAVRIK_VERSION_MAJOR, TAVRIK_VERSION_MINOR, TAVRIK_VERSION_REVISION);
  setup.start = [](const std::wstring& file, const std::wstring& parameters) {
    // The shell's open verb gives a number above 32 when it started the file.
    return platform::ShellOpen(file, &parameters, nullptr) > 32;
  };
  return ApplyDownloadedUpdate(arguments[1], setup) ? 0 : 1;
}

void RemoveInstallerLeftovers(const std::wstring& program_folder, const std::wstring& local_update_folder) {
  for (const std::wstring& folder :
       {program_folder, program_folder + L"\\" + kAppliedUpdateFolder, local_update_folder}) {
    for (const wchar_t* name : {L"install.exe", L"install.exe.sig", L"install.exe.part", L"install.exe.sig.part"})
      platform::DeleteFileAt(folder + L"\\" + name);
  }
  platform::RemoveEmptyFolder(program_folder + L"\\" + kAppliedUpdateFolder);
  platform::RemoveEmptyFolder(local_update_folder);
}

}  // namespace update
