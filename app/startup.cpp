// The start-up sequence of the main window, in its fixed order, and the
// main window's menu and mail-client status handlers.
#include "app/startup.h"

#include <cstdint>
#include <optional>

#include "backup/path_parts.h"
#include "environment/mail_client.h"
#include "environment/outlook_version.h"
#include "environment/system_info.h"
#include "platform/controls.h"
#include "platform/files.h"
#include "platform/registry.h"
#include "platform/shell.h"
#include "settings/check_state.h"
#include "settings/ini_file.h"
#include "sources/folder_size.h"
#include "sources/size_text.h"
#include "update/frm_about.h"

namespace app {

std::wstring strLang;

const int SystemFolderIds[8] = {16, 5, 39, 13, 14, 6, 20, 10};

namespace {

// A start-up step that cannot go on; shown as "number - description".
struct StartupError {
  std::int32_t number;
  std::wstring description;
};

const StartupError kVersionWithoutMajor{5, L"Invalid procedure call or argument"};
const StartupError kStoreIdNotHex{13, L"Type mismatch"};

void ShowStartupError(std::int32_t number, const std::wstring& description) {
  platform::CurrentDialogs().MessageBoxOk(std::to_wstring(number) + L" - " + description);
}

}  // namespace

std::wstring LocaleInfo(unsigned lcid, unsigned lctype) {
  return platform::LocaleText(lcid, lctype).value_or(L"");
}

StartupWorld StartupWorld::Real() {
  return {environment::GetSpecialFolder, [] { return settings::LocateIniFile(); },
          platform::CreateMailClient,
          platform::MailClientRunning};
}

void Startup::Form_Initialize() { platform::InitCommonControls(); }

void Startup::Form_Load() {
  bool list_sizing_begun = false;
  try {
    // 1
    main_.Create();
    main_.mnuExit.on_click = [this] { mnuExit_Click(); };
    main_.mnuAbout.on_click = [this] { mnuAbout_Click(); };
    main_.Timer1.on_tick = [this] { Timer1_Timer(); };
    // 2, 3: the user watches the window fill in but cannot act on it yet.
    main_.set_enabled(false);
    main_.Show();
    // 4-6
    strLang = LocaleInfo(0, 3);
    splash_ = std::make_unique<FrmSplash>(main_);
    splash_->ShowSplash(strLang);
    platform::DoEvents();
    // 7
    main_.CanviaIdioma(strLang);
    // 8-11
    main_.IniFile = world_.locate_ini_file();
    const std::wstring target = settings::ReadIni(main_.IniFile, L"main", L"target", L"");
    main_.txtBackupTo.set_text(target);
    // A hand-edited value that is no check state leaves the box unchecked.
    main_.chklog.set_value(
        settings::StoredCheckState(settings::ReadIni(main_.IniFile, L"main", L"log", L"")));
    if (!backup::TrimSpaces(target).empty() && platform::FileExists(target + L"\\backup.log")) {
      main_.strViewLogFolder = target;
      main_.lblViewLog.set_visible(true);
    }
    // 12-14
    platform::DoEvents();
    platform::DoEvents();
    // 15, 16
    main_.lblUser.set_caption(environment::UserNameText());
    main_.lblOS.set_caption(environment::GetOSName());
    // 17
    int i = 1;
    FillFolderRows(i);
    // 18
    if (environment::MailProfilePresent()) {
      try {
        FillMailStoreRows(i);
      } catch (const platform::AutomationError& error) {
        if (!error.cannot_create) throw;
        main_.lblOutlook.set_caption(main_.texts.strNotFound);
      }
    }
    // 19
    list_sizing_begun = true;
    main_.SizeList();
  } catch (const StartupError& error) {
    ShowStartupError(error.number, error.description);
  } catch (const platform::AutomationError& error) {
    ShowStartupError(error.number, error.description);
  }
  // After an error the window still goes to the user with the rows built
  // so far, scrollable, rather than staying locked under the splash.
  if (!list_sizing_begun) main_.SizeList();
  // 20
  if (splash_)
    splash_->ReadyToWork();
  else
    main_.set_enabled(true);
}

void Startup::FillFolderRows(int& i) {
  for (int csidl : SystemFolderIds) {
    const std::wstring path = world_.special_folder(csidl);
    if (path.empty()) continue;  // the next folder takes this row number
    if (i > 1) sources::AddSourceRow(main_.rows, i, sources::kFolderRow, main_.Frame1);
    sources::SourceRow& row = main_.rows[i];
    row.Path = path;
    row.Size = sources::ByteCountFromDouble(sources::FolderSize(path + L"\\"));
    row.Section = L"systemfolders";
    row.Key = std::to_wstring(csidl);
    platform::DoEvents();
    row.lblMidaCarpeta.set_caption(sources::SizeText(row.Size));
    row.chkCarpeta.set_caption(path.substr(path.find_last_of(L'\\') + 1));
    main_.WireRow(i);
    RestoreTick(i);
    ++i;
  }
}

void Startup::FillMailStoreRows(int& i) {
  platform::AutomationObject application = world_.create_mail_client();
  platform::AutomationObject mapi = application.Object(L"GetNamespace", L"MAPI");
  std::optional<std::wstring> name = environment::GetOutlookVersionName(application.Text(L"Version"));
  if (!name) throw kVersionWithoutMajor;
  main_.lblOutlook.set_caption(*name);
  main_.lblOutlookStatusLbl.set_visible(true);
  main_.lblOutlookStatus.set_visible(true);
  main_.Timer1.set_enabled(true);
  Timer1_Timer();

  platform::AutomationObject folders = mapi.Object(L"Folders");
  const std::int32_t count = folders.Number(L"Count");
  for (std::int32_t f = 1; f <= count; ++f) {
    platform::DoEvents();
    // All of the store is read before its row is made, so that a store the
    // mail client cannot describe leaves no half-filled row behind.
    platform::AutomationObject folder = folders.Object(L"Item", f);
    const std::wstring storeId = folder.Text(L"StoreID");
    const std::wstring storeName = folder.Text(L"Name");
    std::optional<std::wstring> path = environment::StorePathFromStoreID(storeId);
    if (!path) throw kStoreIdNotHex;
    FillMailStoreRow(i, storeId, storeName, *path);
    ++i;
  }
  // The collection, the namespace and the application are released here.
}

void Startup::FillMailStoreRow(int i, const std::wstring& storeId, const std::wstring& name,
                               const std::wstring& path) {
  if (i > 1) {
    sources::AddSourceRow(main_.rows, i, sources::kMailStoreRow, main_.Frame1);
  } else {
    // No standard folder gave a row: the store takes the designed row 1.
    main_.rows[1].imgFolder.set_visible(false);
    main_.rows[1].imgEmail.set_visible(true);
  }
  sources::SourceRow& row = main_.rows[i];
  row.Path = path;
  row.Key = storeId;
  row.Section = L"PST";
  row.Size = sources::ByteCountFromBytes(environment::FileSizeOf(path));
  row.lblMidaCarpeta.set_caption(sources::SizeText(row.Size));
  row.chkCarpeta.set_caption(L"Outlook [" + name + L"]");
  main_.WireRow(i);
  RestoreTick(i);
}

// A stored 1 ticks the row (raising its click handling), 2 shows it grayed;
// 0, no number or a number that is no check state leave it unticked.
void Startup::RestoreTick(int i) {
  sources::SourceRow& row = main_.rows[i];
  int state = settings::StoredCheckState(settings::ReadIni(main_.IniFile, row.Section, row.Key, L""));
  if (state == 0) return;
  row.chkCarpeta.set_value(state);
  platform::DoEvents();
}

void Startup::Timer1_Timer() {
  if (world_.mail_client_running()) {
    main_.lblOutlookStatus.set_fore_color(platform::Rgb(192, 0, 0));
    main_.lblOutlookStatus.set_caption(main_.texts.strOutlookOpen);
  } else {
    main_.lblOutlookStatus.set_fore_color(platform::Rgb(0, 128, 0));
    main_.lblOutlookStatus.set_caption(main_.texts.strOutlookClosed);
  }
}

void Startup::mnuExit_Click() { main_.Unload(); }

void Startup::mnuAbout_Click() {
  update::ShowAbout(main_, strLang, main_.texts.strClose, main_.texts.strCancel);
}

}  // namespace app
