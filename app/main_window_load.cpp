// The main window's start-up, step by step in its fixed order.
#include <cstdint>
#include <iterator>
#include <optional>
#include <thread>

#include "app/main_window.h"
#include "backup/path_parts.h"
#include "environment/mail_client.h"
#include "environment/outlook_version.h"
#include "environment/system_info.h"
#include "platform/files.h"
#include "platform/program_window.h"
#include "platform/shell.h"
#include "platform/system_facts.h"
#include "settings/stored_values.h"
#include "settings/ini_file.h"
#include "sources/folder_size.h"
#include "sources/size_text.h"

namespace app {
namespace {

// The standard folders that become rows, in row order (CSIDL numbers):
// desktop, documents, pictures, music, videos, favourites, fonts and the
// recycle bin (which has no path, so gives no row).
constexpr int kStandardFolders[] = {16, 5, 39, 13, 14, 6, 20, 10};

// The locale's abbreviated language name.
constexpr std::uint32_t kLanguageNameQuery = 3;

// A start-up step that cannot go on; shown as "number - description", as
// the mail client's own automation errors are.
struct StartupError {
  std::int32_t number;
  std::wstring description;
};

// The numbers of the two faults start-up finds itself. Users and support
// know them from the box's earlier releases, so they stay what they were.
constexpr std::int32_t kVersionWithoutMajor = 5;
constexpr std::int32_t kStoreIdNotHex = 13;

void ShowStartupError(const platform::Form& owner, std::int32_t number,
                      const std::wstring& description) {
  platform::CurrentDialogs().MessageBoxOk(owner, std::to_wstring(number) + L" - " + description);
}

}  // namespace

void MainWindow::OnLoad() {
  ShowGreyedUnderSplash();
  ApplyLanguage(language);
  ReadStoredSettings();
  ShowUserAndSystem();
  next_folder_ = 0;
  MeasureNextFolder();
}

// The mail stores, the list's scroll range, then the window to the user.
// After an error the window still goes to the user with the rows built so
// far, scrollable, rather than staying locked under the splash.
void MainWindow::FinishStartup() {
  try {
    if (environment::MailProfilePresent()) {
      try {
        FillMailStoreRows();
      } catch (const platform::AutomationError& error) {
        if (!error.cannot_create) throw;
        mail_version.set_text(texts.not_found);
      }
    }
  } catch (const StartupError& error) {
    ShowStartupError(*this, error.number, error.description);
  } catch (const platform::AutomationError& error) {
    ShowStartupError(*this, error.number, error.description);
  }
  // A close of the window while the mail client was asked ends start-up.
  if (!loaded()) return;
  source_list.FitToRows();
  HandToUser();
}

// The user watches the window fill in but cannot act on it yet.
void MainWindow::ShowGreyedUnderSplash() {
  Create();
  set_enabled(false);
  language = LanguageOfLocale(platform::LocaleText(0, kLanguageNameQuery).value_or(L""));
  if (unattended) return platform::ShowMinimizedWithoutFocus(*this);
  Show();
  splash_ = std::make_unique<SplashWindow>(*this);
  splash_->ShowSplash(language);
}

void MainWindow::ReadStoredSettings() {
  settings_file = world_.locate_settings_file();
  const std::wstring target = settings::ReadIni(settings_file, L"main", L"target", L"");
  target_box.set_text(target);
  write_log_box.set_check_state(
      settings::StoredCheckState(settings::ReadIni(settings_file, L"main", L"log", L"")));
  SetChangedOnly(settings::StoredSwitch(settings::ReadIni(settings_file, L"main", L"changed", L"")));
  // On unless the settings say "0": files from before the choice keep it on.
  SetKeepVersions(settings::ReadIni(settings_file, L"main", L"versions", L"") != L"0");
  run_lock_.emplace(RunLockName(settings_file));
  backup_run.run_lock = &*run_lock_;
  backup_run.unattended = unattended;
  // Another start of the program finds this window and hands its work here.
  platform::AnswerOtherStarts(*this, RunLockName(settings_file),
                              [this] { return StartBackupForAnotherStart(); });
  ShowLastRun();
  // The target may be on a share that does not answer: looked at aside, the
  // link shows when the answer comes.
  if (!backup::TrimSpaces(target).empty()) {
    const platform::Mailbox mailbox = this->mailbox();
    std::thread([this, mailbox, target] {
      if (!platform::FileExists(target + L"\\backup.log")) return;
      mailbox.Post([this, target] {
        if (backup_run.running() || view_log_link.visible()) return;
        log_folder = target;
        view_log_link.set_visible(true);
      });
    }).detach();
  }
}

void MainWindow::ShowUserAndSystem() {
  user_name.set_text(environment::UserName());
  system_name.set_text(environment::OperatingSystemName());
}

// Each standard folder's size is measured on a thread of its own, one
// folder at a time, while the window keeps answering; its row is made when
// the size comes back, and the next folder is measured then. A folder the
// system has no path for gives no row.
void MainWindow::MeasureNextFolder() {
  while (next_folder_ < std::size(kStandardFolders)) {
    const int csidl = kStandardFolders[next_folder_++];
    const std::wstring path = world_.special_folder(csidl);
    if (path.empty()) continue;
    const platform::Mailbox mailbox = this->mailbox();
    std::thread([this, mailbox, csidl, path] {
      const double size = sources::FolderSize(path + L"\\");
      mailbox.Post([this, csidl, path, size] {
        AddFolderRow(csidl, path, size);
        MeasureNextFolder();
      });
    }).detach();
    return;
  }
  FinishStartup();
}

void MainWindow::AddFolderRow(int csidl, const std::wstring& path, double size) {
  sources::SourceRow& row = next_row_ > 1 ? AddRow(sources::kFolderRow) : rows[1];
  row.path = path;
  row.size = sources::TenThousandthBytesFromDouble(size);
  row.key = std::to_wstring(csidl);
  row.size_label.set_text(sources::SizeText(row.size));
  row.check_box.set_text(path.substr(path.find_last_of(L'\\') + 1));
  RestoreTick(next_row_++);
}

void MainWindow::FillMailStoreRows() {
  platform::AutomationObject application = world_.create_mail_client();
  platform::AutomationObject mapi = application.Object(L"GetNamespace", L"MAPI");
  std::optional<std::wstring> name = environment::OutlookVersionName(application.Text(L"Version"));
  if (!name) throw StartupError{kVersionWithoutMajor, texts.version_without_major};
  mail_version.set_text(*name);
  mail_status_label.set_visible(true);
  mail_status.set_visible(true);
  mail_status_timer.set_enabled(true);
  OnStatusTimer();

  platform::AutomationObject folders = mapi.Object(L"Folders");
  const std::int32_t count = folders.Number(L"Count");
  for (std::int32_t f = 1; f <= count; ++f) {
    // All of the store is read before its row is made, so that a store the
    // mail client cannot describe leaves no half-filled row behind.
    platform::AutomationObject folder = folders.Object(L"Item", f);
    const std::wstring store_id = folder.Text(L"StoreID");
    const std::wstring store_name = folder.Text(L"Name");
    std::optional<std::wstring> path = environment::StorePathFromStoreID(store_id);
    if (!path) throw StartupError{kStoreIdNotHex, texts.store_id_not_hex};
    FillMailStoreRow(store_id, store_name, *path);
  }
  // The collection, the namespace and the application are released here.
}

void MainWindow::FillMailStoreRow(const std::wstring& store_id, const std::wstring& name,
                                  const std::wstring& path) {
  if (next_row_ > 1) {
    AddRow(sources::kMailStoreRow);
  } else {
    // No standard folder gave a row: the store takes the designed row 1.
    rows[1].folder_image.set_visible(false);
    rows[1].mail_image.set_visible(true);
  }
  sources::SourceRow& row = rows[next_row_];
  row.path = path;
  row.key = store_id;
  row.kind = sources::kMailStoreRow;
  row.size = sources::TenThousandthBytesFromBytes(environment::FileSizeOf(path));
  row.size_label.set_text(sources::SizeText(row.size));
  row.check_box.set_text(L"Outlook [" + name + L"]");
  RestoreTick(next_row_++);
}

// A stored 1 ticks the row (raising its click handling), 2 shows it grayed;
// 0, no number or a number that is no check state leave it unticked.
void MainWindow::RestoreTick(int i) {
  sources::SourceRow& row = rows[i];
  const std::wstring stored =
      settings::ReadIni(settings_file, sources::SettingsSection(row.kind), row.key, L"");
  const platform::CheckState state = settings::StoredCheckState(stored);
  if (state == platform::CheckState::kUnchecked) return;
  row.check_box.set_check_state(state);
}

// The splash frees the window when it closes; without one, the window is
// freed here.
void MainWindow::HandToUser() {
  if (splash_ && splash_->loaded())
    splash_->ReadyToWork();
  else
    set_enabled(true);
  if (on_ready) on_ready();
}

}  // namespace app
