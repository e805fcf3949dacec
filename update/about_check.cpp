// The About window's version check: started on each activation, it
// fetches the version file in the background and, when it ends, shows the
// latest version and offers the update when that is greater.
#include "update/about_window.h"

#include "platform/files.h"
#include "update/version_check.h"

namespace update {
namespace {

// A version file longer than this is refused as it arrives.
constexpr std::int64_t kLongestVersionFile = 4 * 1024;

// Whether files can be created in folder: one is made and removed again,
// under a name no download uses.
bool CanWriteIn(const std::wstring& folder) {
  const std::wstring probe = folder + L"\\~tavrik-write-test.tmp";
  platform::ByteFileWriter file;
  if (!file.Create(probe)) return false;
  file.Close();
  platform::DeleteFileAt(probe);
  return true;
}

}  // namespace

std::wstring AboutWindow::UpdateFolder() const {
  // The folder of an installation for all users is the administrators':
  // the elevated update makes its own copy there.
  if (!all_users_install && CanWriteIn(program_folder)) return program_folder;
  const std::wstring folder = local_data_folder + L"\\Tavrik Backup";
  platform::CreateFolder(folder);
  return folder;
}

void AboutWindow::OnActivate() {
  if (updating_ || checking()) return;
  // The accepted file's version, for the end of the check.
  auto latest = std::make_shared<std::wstring>();
  DownloadJob job;
  job.url = update_server + L"/download/TavrikBackup.upd";
  job.destination = UpdateFolder() + L"\\TavrikBackup.upd";
  job.size_limit = kLongestVersionFile;
  job.time_limit = check_time_limit;
  job.accept = [latest](const std::wstring& written) {
    const std::optional<std::string> bytes = platform::ReadFileBytes(written);
    const std::optional<std::wstring> version = bytes ? VersionOfFile(*bytes) : std::nullopt;
    *latest = version.value_or(L"");
    return version.has_value();
  };
  version_download.on_done = [this, latest](Download result) { OnCheckDone(result, *latest); };
  version_download.Start(*this, std::move(job));
}

void AboutWindow::OnCheckDone(Download result, const std::wstring& latest) {
  const bool offering = role_ == ButtonRole::kUpdate;
  if (result != Download::kComplete) {
    // An offer already made still stands, with the version it offers.
    if (offering) return;
    latest_version.set_text(texts.no_latest_version);
    status.set_text(result == Download::kProxyPassword ? texts.proxy_password : texts.no_version);
    showing_no_version_ = true;
    return;
  }
  latest_version.set_text(latest);
  if (showing_no_version_) status.set_text(L"");
  showing_no_version_ = false;
  if (IsGreaterVersion(latest, RunningVersion())) {
    offered_version_ = latest;
    SetRole(ButtonRole::kUpdate);
  } else if (offering) {
    // The server no longer publishes what was offered.
    SetRole(ButtonRole::kClose);
  }
}

}  // namespace update
