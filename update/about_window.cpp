// The About window: its design and texts, the version check and the
// installer update behind its one button.
#include "update/about_window.h"

#include <cstdint>

#include "platform/file_checks.h"
#include "platform/files.h"
#include "platform/message_loop.h"
#include "platform/program.h"
#include "platform/shell.h"
#include "platform/system_facts.h"
#include "update/version_check.h"
#include "update_key.h"
#include "version.h"

namespace update {

using platform::Font;
using platform::Layout;

namespace {

// Bodies longer than these are refused as they arrive.
constexpr std::int64_t kLongestVersionFile = 4 * 1024;
constexpr std::int64_t kLongestInstaller = 512LL * 1024 * 1024;
constexpr std::int64_t kLongestSignature = 1024;

constexpr int kLocalAppDataFolder = 0x1C;  // CSIDL_LOCAL_APPDATA

std::wstring RunningVersion() {
  return VersionText(TAVRIK_VERSION_MAJOR, TAVRIK_VERSION_MINOR, TAVRIK_VERSION_REVISION);
}

// Whether files can be created in folder: one is made and removed again.
bool CanWriteIn(const std::wstring& folder) {
  const std::wstring probe = folder + L"\\TavrikBackup.upd.part";
  platform::ByteFileWriter file;
  if (!file.Create(probe)) return false;
  file.Close();
  platform::DeleteFileAt(probe);
  return true;
}

}  // namespace

AboutWindow::AboutWindow()
    : update_server(TAVRIK_UPDATE_SERVER),
      home_page(TAVRIK_HOME_PAGE),
      program_folder(platform::ProgramFolder()),
      local_data_folder(platform::SpecialFolderPath(kLocalAppDataFolder)),
      update_public_key(TAVRIK_UPDATE_PUBLIC_KEY_PEM),
      shell_open(platform::ShellOpen),
      end_program([] {
        platform::UnloadAllForms();
        platform::EndProgram();
      }) {
  transfer.set_agent(L"Tavrik Backup/" + RunningVersion());
}

// The button is the first tab stop, so the window opens with the focus on
// it; Enter presses it, Esc closes the window as the close box does, and
// the home-page link is the next tab stop.
void AboutWindow::Create(const platform::Form& owner, int logo_resource) {
  CreateForm({texts.title, 6030, 4500, Border::kFixedSingle, Font{L"Tahoma", 8.25}}, &owner);
  const Font body{L"Tahoma", 9.75};
  const Font bold{L"Tahoma", 9.75, true};
  button.Create(Layout{this, {1320, 3720, 3375, 495}, Font{L"MS Sans Serif", 9.75}}, texts.close);
  set_default_button(button);
  escape_closes = true;
  logo.Create(Layout{this, {480, 480, 1920, 1920}, font()}, logo_resource);
  title.Create(Layout{this, {3000, 480, 2895, 375}, Font{L"Tahoma", 15.75, true}}, L"Tavrik Backup");
  logo.set_accessible_name_from(title);
  current_version_label.Create(Layout{this, {3000, 1080, 1695, 255}, body}, texts.current_version_label);
  current_version.Create(Layout{this, {4920, 1080, 735, 255}, bold}, L"");
  latest_version_label.Create(Layout{this, {3000, 1440, 1695, 255}, body}, texts.latest_version_label);
  latest_version.Create(Layout{this, {4920, 1440, 735, 255}, bold}, L"");
  home_page_link.Create(Layout{this, {3000, 1920, 1935, 375}, Font{L"Tahoma", 12, false, true}},
                        home_page);
  home_page_link.action_name = texts.open_link;
  status.Create(Layout{this, {240, 2760, 4215, 255}, font()}, L"");
  status.set_fore_color(platform::Rgb(192, 0, 0));
  // The check's and the update's news are said as they come.
  status.set_live_region();
  progress_bar.Create(Layout{this, {240, 3120, 5535, 495}, font()});
  progress_bar.set_visible(false);
  CenterOnOwner();

  on_activate = [this] { OnActivate(); };
  // A check or download still running when the window goes ends with it.
  on_unload = [this] { transfer.Cancel(); };
  button.on_click = [this] { OnButtonClick(); };
  home_page_link.on_click = [this] { OnHomePageClick(); };
}

void AboutWindow::ApplyLanguage() {
  set_text(texts.title);
  current_version_label.set_text(texts.current_version_label);
  latest_version_label.set_text(texts.latest_version_label);
  SetRole(ButtonRole::kClose);
}

void AboutWindow::SetRole(ButtonRole role) {
  role_ = role;
  switch (role) {
    case ButtonRole::kClose: return button.set_text(texts.close);
    case ButtonRole::kUpdate: return button.set_text(texts.update);
    case ButtonRole::kCancel: return button.set_text(texts.cancel);
  }
}

void AboutWindow::OnLoad() {
  ApplyLanguage();
  current_version.set_text(RunningVersion());
  latest_version.set_text(texts.searching);
}

void AboutWindow::OnActivate() {
  if (busy_) return;
  const std::wstring latest = FetchLatestVersion();
  if (!loaded()) return;
  const bool offering = role_ == ButtonRole::kUpdate;
  if (latest.empty()) {
    // An offer already made still stands, with the version it offers.
    if (offering) return;
    latest_version.set_text(texts.no_latest_version);
    status.set_text(texts.no_version);
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

std::wstring AboutWindow::FetchLatestVersion() {
  const std::wstring url = update_server + L"/download/TavrikBackup.upd";
  const std::wstring destination = UpdateFolder() + L"\\TavrikBackup.upd";
  std::string line;
  busy_ = true;
  const Download result =
      DownloadFile(url, destination, false, kLongestVersionFile, [&line](const std::wstring& written) {
        const std::optional<std::string> bytes = platform::ReadFileBytes(written);
        line = bytes ? FirstLine(*bytes) : "";
        return IsVersionText(line);
      });
  busy_ = false;
  return result == Download::kComplete ? platform::FromAnsi(line) : L"";
}

std::wstring AboutWindow::UpdateFolder() const {
  if (CanWriteIn(program_folder)) return program_folder;
  const std::wstring folder = local_data_folder + L"\\Tavrik Backup";
  platform::CreateFolder(folder);
  return folder;
}

bool AboutWindow::IsTrustedInstaller(const std::wstring& installer, const std::wstring& signature,
                                     const std::wstring& version) const {
  // The signature first: nothing else of the file is read before it is
  // known to be the vendor's.
  const std::optional<std::string> der = platform::ReadFileBytes(signature);
  const std::optional<std::string> digest = der ? platform::FileSha256(installer) : std::nullopt;
  if (!digest || !platform::VerifyP256Signature(update_public_key, *digest, *der)) return false;
  const auto own = platform::FileProductVersion(installer);
  return own && platform::FromAnsi(InstallerVersionText(*own)) == version &&
         IsGreaterVersion(version, RunningVersion());
}

void AboutWindow::OnHomePageClick() { shell_open(home_page, nullptr, nullptr); }

void AboutWindow::OnButtonClick() {
  switch (role_) {
    case ButtonRole::kClose:
      Unload();
      return;
    case ButtonRole::kCancel:
      update_cancelled_ = true;
      transfer.Cancel();
      status.set_text(texts.update_cancelled);
      SetRole(ButtonRole::kClose);
      return;
    case ButtonRole::kUpdate:
      StartUpdate();
      return;
  }
}

void AboutWindow::StartUpdate() {
  progress_bar.set_visible(true);
  progress_bar.set_value(0);
  SetRole(ButtonRole::kCancel);
  status.set_text(texts.updating);
  update_cancelled_ = false;
  const std::wstring version = offered_version_;
  const std::wstring folder = UpdateFolder();
  // An earlier install.exe stays until a complete download replaces it, so
  // a failed update leaves nothing half-written behind.
  const std::wstring installer = folder + L"\\install.exe";
  const std::wstring signature = installer + L".sig";
  const std::wstring url = update_server + L"/download/TavrikBackup.exe";
  busy_ = true;
  Download result = DownloadFile(url, installer, true, kLongestInstaller);
  const bool downloaded = result == Download::kComplete;
  if (downloaded && !update_cancelled_ && loaded()) {
    result = DownloadFile(url + L".sig", signature, false, kLongestSignature);
  }
  busy_ = false;
  if (update_cancelled_ || !loaded()) result = Download::kCancelled;
  // The shell's open verb gives a number above 32 when it started the file.
  int start = 0;
  if (result == Download::kComplete && IsTrustedInstaller(installer, signature, version) &&
      platform::NormalFileName(installer) == L"install.exe") {
    const std::wstring none;
    if (before_install) before_install();
    start = shell_open(folder + L"/install.exe", &none, &none);
  }
  if (start > 32) {
    end_program();
    return;
  }
  // What this update downloaded is never left to be started by anyone.
  if (downloaded) {
    platform::DeleteFileAt(installer);
    platform::DeleteFileAt(signature);
  }
  // The cancel press has already said so.
  if (result == Download::kCancelled) return;
  status.set_text(texts.error_updating);
  SetRole(ButtonRole::kClose);
}

void AboutWindow::ShowProgress(int percent) { progress_bar.set_value(percent); }

void ShowAbout(platform::Form& owner, const AboutTexts& texts, int logo_resource,
               std::function<void()> before_install) {
  AboutWindow about;
  about.texts = texts;
  about.before_install = std::move(before_install);
  about.Create(owner, logo_resource);
  about.OnLoad();
  about.ShowModal(owner);
}

}  // namespace update
