// The About window's update, step by step, each step started by the end of
// the one before: the installer's download, its signature's, their checks,
// and the installer's start (through the shell for an installation of the
// user's own, through the installed program with an administrator's rights
// for all users). Nothing it downloaded is left to be started by anyone
// when it does not start.
#include "update/about_window.h"

#include "platform/files.h"
#include "update/apply_update.h"

namespace update {
namespace {

// Bodies longer than these are refused as they arrive.
constexpr std::int64_t kLongestInstaller = 512LL * 1024 * 1024;
constexpr std::int64_t kLongestSignature = 1024;

}  // namespace

DownloadJob AboutWindow::UpdateJob(const std::wstring& url, const std::wstring& destination,
                                   std::int64_t limit) const {
  DownloadJob job;
  job.url = url;
  job.destination = destination;
  job.size_limit = limit;
  job.pace_bytes = slowest_download_bytes;
  job.pace_window = slowest_download_window;
  return job;
}

void AboutWindow::StartUpdate() {
  // A re-check still running gives way: its end would mix with the update's.
  version_download.Cancel();
  updating_ = true;
  installer_downloaded_ = false;
  progress_bar.set_visible(true);
  progress_bar.set_value(0);
  SetRole(ButtonRole::kCancel);
  status.set_text(texts.updating);
  // An earlier install.exe stays until a complete download replaces it, so
  // a failed update leaves nothing half-written behind.
  update_folder_ = UpdateFolder();
  DownloadJob job = UpdateJob(update_server + L"/download/TavrikBackup.exe",
                              update_folder_ + L"\\install.exe", kLongestInstaller);
  job.show_progress = true;
  installer_download.on_progress = [this](int percent) { ShowDownloadPercent(percent); };
  installer_download.on_done = [this](Download result) { OnInstallerDownloaded(result); };
  installer_download.Start(*this, std::move(job));
}

void AboutWindow::OnInstallerDownloaded(Download result) {
  if (result != Download::kComplete)
    return EndUpdate(result == Download::kProxyPassword ? texts.proxy_password : texts.error_updating);
  installer_downloaded_ = true;
  const std::wstring installer = update_folder_ + L"\\install.exe";
  installer_download.on_done = [this](Download result) { OnSignatureDownloaded(result); };
  installer_download.Start(*this, UpdateJob(update_server + L"/download/TavrikBackup.exe.sig",
                                            installer + L".sig", kLongestSignature));
}

void AboutWindow::OnSignatureDownloaded(Download result) {
  const std::wstring installer = update_folder_ + L"\\install.exe";
  if (result != Download::kComplete)
    return EndUpdate(result == Download::kProxyPassword ? texts.proxy_password : texts.error_updating);
  if (!IsTrustedInstaller(installer, installer + L".sig", update_public_key, RunningVersion(),
                          offered_version_) ||
      platform::NormalFileName(installer) != L"install.exe") {
    return EndUpdate(texts.error_updating);
  }
  StartInstaller();
}

void AboutWindow::StartInstaller() {
  const std::wstring installer = update_folder_ + L"\\install.exe";
  if (all_users_install) {
    // The installed program, which only administrators can change, applies
    // it; the wait for it cannot be cancelled, nor the window closed.
    button.set_enabled(false);
    elevating_ = true;
    const std::wstring parameters = std::wstring(kApplyUpdateSwitch) + L" \"" + installer + L"\"";
    if (!start_elevated(program_folder + L"\\TavrikBackup.exe", parameters,
                        [this](bool started) { OnElevatedApplyEnded(started); })) {
      elevating_ = false;
      button.set_enabled(true);
      EndUpdate(texts.error_updating);
    }
    return;
  }
  if (before_install) before_install();
  // The shell's open verb gives a number above 32 when it started the file.
  const std::wstring none;
  if (shell_open(update_folder_ + L"/install.exe", &none, &none) > 32) {
    // The installer is running: its file stays until the next start.
    installer_downloaded_ = false;
    updating_ = false;
    return end_program();
  }
  EndUpdate(texts.error_updating);
}

void AboutWindow::OnElevatedApplyEnded(bool installer_started) {
  elevating_ = false;
  if (!loaded()) return;
  button.set_enabled(true);
  if (!installer_started) return EndUpdate(texts.error_updating);
  // The elevated program started its own copy: the user's goes now.
  EndUpdate(L"");
  // The installer waits for the program to end before it replaces it.
  if (before_install) before_install();
  end_program();
}

void AboutWindow::EndUpdate(const std::wstring& status_text) {
  updating_ = false;
  if (installer_downloaded_) {
    platform::DeleteFileAt(update_folder_ + L"\\install.exe");
    platform::DeleteFileAt(update_folder_ + L"\\install.exe.sig");
    installer_downloaded_ = false;
  }
  status.set_text(status_text);
  SetRole(ButtonRole::kClose);
}

void AboutWindow::CancelUpdate() {
  installer_download.Cancel();
  EndUpdate(texts.update_cancelled);
}

void AboutWindow::OnUnloadDuringWork() {
  version_download.Cancel();
  if (!updating_) return;
  installer_download.Cancel();
  EndUpdate(L"");
}

}  // namespace update
