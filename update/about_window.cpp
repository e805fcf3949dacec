// The About window: its design and texts, its button's roles and its
// link. The version check is in about_check.cpp, the update in
// about_update.cpp.
#include "update/about_window.h"

#include "platform/elevation.h"
#include "platform/files.h"
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

constexpr int kLocalAppDataFolder = 0x1C;  // CSIDL_LOCAL_APPDATA
// The installer's uninstall entry, which names the folder of an
// installation for all users.
constexpr wchar_t kUninstallKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\TavrikBackup";

bool IsMachineInstallation(const std::wstring& program_folder) {
  const std::wstring machine = platform::MachineRegistryText(kUninstallKey, L"InstallLocation");
  return !machine.empty() && platform::SameTextIgnoringCase(platform::CanonicalPath(machine),
                                                            platform::CanonicalPath(program_folder));
}

}  // namespace

std::wstring RunningVersion() {
  return VersionText(TAVRIK_VERSION_MAJOR, TAVRIK_VERSION_MINOR, TAVRIK_VERSION_REVISION);
}

AboutWindow::AboutWindow()
    : update_server(TAVRIK_UPDATE_SERVER),
      home_page(TAVRIK_HOME_PAGE),
      program_folder(platform::ProgramFolder()),
      local_data_folder(platform::SpecialFolderPath(kLocalAppDataFolder)),
      update_public_key(TAVRIK_UPDATE_PUBLIC_KEY_PEM),
      all_users_install(IsMachineInstallation(program_folder)),
      shell_open(platform::ShellOpen),
      start_elevated([this](const std::wstring& program, const std::wstring& parameters,
                            std::function<void(bool)> ended) {
        // A refused prompt comes back as an end without an exit code.
        platform::StartElevated(program, parameters, *this, [ended](std::optional<unsigned long> exit_code) {
          ended(exit_code && *exit_code == 0);
        });
        return true;
      }),
      end_program([] {
        platform::UnloadAllForms();
        platform::EndProgram();
      }) {
  for (FileDownload* download : {&version_download, &installer_download})
    download->transfer.set_agent(L"Tavrik Backup/" + RunningVersion());
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
  // The elevated step ends by itself; the window waits for it, since its
  // end removes the user's copies from under it.
  on_close = [this] {
    if (!elevating_) Unload();
  };
  // A check or update still running when the window goes ends with it.
  on_unload = [this] { OnUnloadDuringWork(); };
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

void AboutWindow::OnHomePageClick() { shell_open(home_page, nullptr, nullptr); }

void AboutWindow::OnButtonClick() {
  switch (role_) {
    case ButtonRole::kClose:
      Unload();
      return;
    case ButtonRole::kCancel:
      CancelUpdate();
      return;
    case ButtonRole::kUpdate:
      StartUpdate();
      return;
  }
}

void AboutWindow::ShowDownloadPercent(int percent) { progress_bar.set_value(percent); }

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
