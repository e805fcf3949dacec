// The whole start-up of the main window, in-process: real folders, a real
// settings file, the real registry of the build's prefix and the stand-in
// mail client reached through COM.
#include "app/startup.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <map>
#include <memory>
#include <vector>

#include "environment/mail_client.h"
#include "environment/system_info.h"
#include "mailserver/fake_mail_client.h"
#include "platform/files.h"
#include "platform/shell.h"
#include "settings/ini_file.h"
#include "support/temp_folder.h"

namespace app {
namespace {

using testing_support::TempFolder;
using testing_support::WriteFile;

class RecordingDialogs : public platform::Dialogs {
 public:
  void MessageBoxOk(const std::wstring& text) override { messages.push_back(text); }
  std::vector<std::wstring> messages;
};

void ForgetEarlierQuit() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
  }
}

void DeleteKey(const wchar_t* path) {
  RegDeleteTreeW(HKEY_CURRENT_USER, path);
  RegDeleteKeyW(HKEY_CURRENT_USER, path);
}

void CreateProfileKey() {
  HKEY key = nullptr;
  RegCreateKeyExW(HKEY_CURRENT_USER, environment::kProfileKeys[2], 0, nullptr, 0, KEY_ALL_ACCESS,
                  nullptr, &key, nullptr);
  RegCloseKey(key);
}

class StartupTest : public testing::Test {
 protected:
  void SetUp() override {
    ForgetEarlierQuit();
    CleanUp();
    platform::SetDialogs(&dialogs_);
    ini_ = folder_ / L"TAVRIK Backup.ini";
    world_.special_folder = [this](int csidl) {
      auto found = folders_.find(csidl);
      return found == folders_.end() ? std::wstring() : found->second;
    };
    world_.locate_ini_file = [this] { return ini_; };
  }
  void TearDown() override {
    startup_.reset();
    main_.reset();
    platform::SetDialogs(nullptr);
    CleanUp();
  }
  static void CleanUp() {
    for (const wchar_t* key : environment::kProfileKeys) DeleteKey(key);
    fake_mail_client::Unregister();
    fake_mail_client::RemoveConfiguration();
  }

  // A standard folder with one file of the given size.
  void AddFolder(int csidl, const std::wstring& name, size_t bytes = 2048) {
    folders_[csidl] = folder_ / name;
    WriteFile(folder_ / (name + L"\\file.bin"), std::string(bytes, 'x'));
  }
  void AddAllEightFolders() {
    const wchar_t* names[] = {L"Desktop", L"Documents", L"Pictures", L"Music",
                              L"Videos",  L"Favorites", L"Fonts",    L"Recycled"};
    for (int p = 0; p < 8; ++p) AddFolder(SystemFolderIds[p], names[p]);
  }
  void Ini(const std::wstring& section, const std::wstring& key, const std::wstring& value) {
    settings::WriteIni(ini_, section, key, value);
  }
  // A store whose file holds bytes bytes, served by the stand-in.
  fake_mail_client::Store Store(const std::wstring& name, size_t bytes, bool sixteen_bit = false) {
    std::wstring path = folder_ / (name + L".pst");
    WriteFile(path, std::string(bytes, 'm'));
    return {name, fake_mail_client::StoreIdForPath(platform::ToAnsi(path), sixteen_bit)};
  }
  void ServeStores(const std::wstring& version, const std::vector<fake_mail_client::Store>& stores) {
    CreateProfileKey();
    ASSERT_TRUE(fake_mail_client::Register());
    fake_mail_client::Configure(version, stores);
  }

  // Form_Load, then the splash window's minimum time running out.
  void Start() {
    main_ = std::make_unique<FrmMain>();
    startup_ = std::make_unique<Startup>(*main_, world_);
    startup_->Form_Load();
    ASSERT_TRUE(startup_->splash());
    ready_before_tick_ = startup_->splash()->bReady;
    locked_before_tick_ = !main_->enabled();
    if (startup_->splash()->loaded()) startup_->splash()->SplashTimer_Timer();
  }
  FrmMain& main() { return *main_; }
  sources::SourceRow& row(int i) { return main_->rows[i]; }

  TempFolder folder_;
  std::wstring ini_;
  std::map<int, std::wstring> folders_;
  StartupWorld world_ = StartupWorld::Real();
  RecordingDialogs dialogs_;
  std::unique_ptr<FrmMain> main_;
  std::unique_ptr<Startup> startup_;
  bool ready_before_tick_ = false;
  bool locked_before_tick_ = false;
};

TEST_F(StartupTest, MainWindowIsLockedUntilTheSplashCloses) {
  AddFolder(16, L"Desktop");
  Start();
  EXPECT_TRUE(ready_before_tick_);
  EXPECT_TRUE(locked_before_tick_);
  EXPECT_FALSE(startup_->splash()->loaded());
  EXPECT_TRUE(main().enabled());
  EXPECT_TRUE(main().visible());
  EXPECT_TRUE(dialogs_.messages.empty());
}

TEST_F(StartupTest, HeaderShowsUserAndSystem) {
  Start();
  EXPECT_EQ(main().lblUser.caption(), environment::UserNameText());
  EXPECT_EQ(main().lblOS.caption(), environment::GetOSName());
  EXPECT_FALSE(main().lblOS.caption().empty());
}

TEST_F(StartupTest, FolderRowsInTableOrderWithSizesAndKeys) {
  AddFolder(5, L"Documents", 1536);
  AddFolder(16, L"Desktop", 3 * 1024 * 1024);
  Start();
  ASSERT_EQ(main().rows.count(), 2);
  EXPECT_EQ(row(1).chkCarpeta.caption(), L"Desktop");
  EXPECT_EQ(row(1).Key, L"16");
  EXPECT_EQ(row(1).Section, L"systemfolders");
  EXPECT_EQ(row(1).Path, folder_ / L"Desktop");
  EXPECT_EQ(row(1).lblMidaCarpeta.caption(), L"3 MB");
  EXPECT_EQ(row(2).chkCarpeta.caption(), L"Documents");
  EXPECT_EQ(row(2).Key, L"5");
  EXPECT_EQ(row(2).lblMidaCarpeta.caption(), L"2 KB");
  EXPECT_EQ(row(2).chkCarpeta.top(), 300);
  EXPECT_EQ(row(2).Size, sources::ByteCountFromBytes(1536));
}

TEST_F(StartupTest, MissingFirstFolderMakesTheSecondRowOneWithKey5) {
  AddFolder(5, L"Documents");
  AddFolder(39, L"Pictures");
  Start();
  ASSERT_EQ(main().rows.count(), 2);
  EXPECT_EQ(row(1).Key, L"5");
  EXPECT_EQ(row(1).chkCarpeta.caption(), L"Documents");
  EXPECT_EQ(row(1).chkCarpeta.top(), 0);
  EXPECT_TRUE(row(1).imgFolder.visible());
  EXPECT_EQ(row(2).Key, L"39");
}

TEST_F(StartupTest, StoredTicksAreRestoredByKeyNotRowNumber) {
  AddFolder(16, L"Desktop");
  AddFolder(5, L"Documents");
  AddFolder(39, L"Pictures");
  Ini(L"systemfolders", L"5", L"1");
  Ini(L"systemfolders", L"39", L"2");
  Ini(L"systemfolders", L"1", L"1");  // a row number, not a key
  Start();
  EXPECT_EQ(row(1).chkCarpeta.value(), 0);
  EXPECT_EQ(row(2).chkCarpeta.value(), 1);
  EXPECT_EQ(row(3).chkCarpeta.value(), 2);
}

TEST_F(StartupTest, ValuesThatAreNoCheckStateLeaveBoxesUncheckedWithoutError) {
  AddFolder(16, L"Desktop");
  AddFolder(5, L"Documents");
  AddFolder(39, L"Pictures");
  Ini(L"systemfolders", L"16", L"3");
  Ini(L"systemfolders", L"5", L"-1");
  Ini(L"systemfolders", L"39", L"1.5");
  Ini(L"main", L"log", L"7");
  Start();
  EXPECT_EQ(row(1).chkCarpeta.value(), 0);
  EXPECT_EQ(row(2).chkCarpeta.value(), 0);
  EXPECT_EQ(row(3).chkCarpeta.value(), 2);
  EXPECT_EQ(main().chklog.value(), 0);
  EXPECT_TRUE(dialogs_.messages.empty());
  EXPECT_TRUE(main().enabled());
}

TEST_F(StartupTest, TargetLogOptionAndViewLogLinkFromSettings) {
  std::wstring target = folder_ / L"backups";
  WriteFile(target + L"\\backup.log", "log");
  Ini(L"main", L"target", target);
  Ini(L"main", L"log", L"1");
  Start();
  EXPECT_EQ(main().IniFile, ini_);
  EXPECT_EQ(main().txtBackupTo.text(), target);
  EXPECT_EQ(main().chklog.value(), 1);
  EXPECT_TRUE(main().lblViewLog.visible());
  EXPECT_EQ(main().strViewLogFolder, target);
}

TEST_F(StartupTest, NoSettingsFileLeavesEverythingAtItsDefault) {
  AddFolder(16, L"Desktop");
  Start();
  EXPECT_EQ(main().txtBackupTo.text(), L"");
  EXPECT_EQ(main().chklog.value(), 0);
  EXPECT_FALSE(main().lblViewLog.visible());
  EXPECT_EQ(row(1).chkCarpeta.value(), 0);
  EXPECT_FALSE(platform::FileExists(ini_)) << "start-up only reads";
}

TEST_F(StartupTest, TargetWithoutLogKeepsTheLinkHidden) {
  Ini(L"main", L"target", folder_.path());
  Start();
  EXPECT_FALSE(main().lblViewLog.visible());
}

TEST_F(StartupTest, SettingsFileBesideTheProgramWins) {
  world_.locate_ini_file = StartupWorld::Real().locate_ini_file;
  const std::wstring beside = platform::ProgramFolder() + L"\\TAVRIK Backup.ini";
  const std::wstring in_app_data = platform::EnvironmentValue(L"AppData") + L"\\TAVRIK Backup.ini";
  const std::string app_data_before = testing_support::ReadFile(in_app_data);
  const bool app_data_existed = platform::FileExists(in_app_data);
  settings::WriteIni(beside, L"main", L"target", L"D:\\beside");
  settings::WriteIni(in_app_data, L"main", L"target", L"D:\\appdata");
  Start();
  EXPECT_EQ(main().IniFile, beside);
  EXPECT_EQ(main().txtBackupTo.text(), L"D:\\beside");
  platform::DeleteFileAt(beside);
  if (app_data_existed)
    WriteFile(in_app_data, app_data_before);
  else
    platform::DeleteFileAt(in_app_data);
}

TEST_F(StartupTest, NoProfileKeyLeavesTheMailLabelEmpty) {
  AddFolder(16, L"Desktop");
  ASSERT_TRUE(fake_mail_client::Register());  // installed, but never set up
  fake_mail_client::Configure(L"14.0.0.6112", {});
  Start();
  EXPECT_EQ(main().lblOutlook.caption(), L"");
  EXPECT_FALSE(main().lblOutlookStatus.visible());
  EXPECT_FALSE(main().lblOutlookStatusLbl.visible());
  EXPECT_FALSE(main().Timer1.enabled());
  EXPECT_EQ(main().rows.count(), 1);
}

TEST_F(StartupTest, ProfileKeyWithoutMailClientSaysNotFound) {
  AddFolder(16, L"Desktop");
  CreateProfileKey();
  Start();
  EXPECT_EQ(main().lblOutlook.caption(), L"Not found");
  EXPECT_FALSE(main().lblOutlookStatus.visible());
  EXPECT_FALSE(main().Timer1.enabled());
  EXPECT_EQ(main().rows.count(), 1);
  EXPECT_TRUE(dialogs_.messages.empty());
  EXPECT_TRUE(main().enabled());
}

TEST_F(StartupTest, MailStoresBecomeRowsAfterTheFolders) {
  AddFolder(16, L"Desktop");
  AddFolder(5, L"Documents");
  fake_mail_client::Store personal = Store(L"Personal Folders", 1536);
  fake_mail_client::Store archive = Store(L"Archive", 5000, true);
  ServeStores(L"14.0.0.6112", {personal, archive});
  Ini(L"PST", personal.store_id, L"1");
  Start();
  EXPECT_TRUE(dialogs_.messages.empty());
  EXPECT_EQ(main().lblOutlook.caption(), L"Outlook 2010 SP2");
  EXPECT_TRUE(main().lblOutlookStatusLbl.visible());
  EXPECT_TRUE(main().lblOutlookStatus.visible());
  EXPECT_TRUE(main().Timer1.enabled());
  EXPECT_EQ(main().lblOutlookStatus.caption(), L"Closed (OK)");
  EXPECT_EQ(main().lblOutlookStatus.fore_color(), platform::Rgb(0, 128, 0));

  ASSERT_EQ(main().rows.count(), 4);
  EXPECT_EQ(row(3).chkCarpeta.caption(), L"Outlook [Personal Folders]");
  EXPECT_EQ(row(3).Section, L"PST");
  EXPECT_EQ(row(3).Key, personal.store_id);
  EXPECT_EQ(row(3).Path, folder_ / L"Personal Folders.pst");
  EXPECT_EQ(row(3).lblMidaCarpeta.caption(), L"2 KB");
  EXPECT_EQ(row(3).chkCarpeta.value(), 1);
  EXPECT_TRUE(row(3).imgEmail.exists());
  EXPECT_FALSE(row(3).imgFolder.exists());
  EXPECT_EQ(row(3).imgEmail.top(), row(3).chkCarpeta.top() + 20);
  EXPECT_EQ(row(4).chkCarpeta.caption(), L"Outlook [Archive]");
  EXPECT_EQ(row(4).Path, folder_ / L"Archive.pst");
  EXPECT_EQ(row(4).Size, sources::ByteCountFromBytes(5000));
  EXPECT_EQ(row(4).chkCarpeta.value(), 0);
}

TEST_F(StartupTest, StatusFollowsTheRunningInstance) {
  AddFolder(16, L"Desktop");
  ServeStores(L"12.0.0.6300", {});
  Start();
  EXPECT_EQ(main().lblOutlookStatus.caption(), L"Closed (OK)");
  {
    fake_mail_client::RunningInstance running;
    ASSERT_TRUE(running.started());
    startup_->Timer1_Timer();
    EXPECT_EQ(main().lblOutlookStatus.caption(), L"OPEN (close-it)");
    EXPECT_EQ(main().lblOutlookStatus.fore_color(), platform::Rgb(192, 0, 0));
    running.Stop();
  }
  startup_->Timer1_Timer();
  EXPECT_EQ(main().lblOutlookStatus.caption(), L"Closed (OK)");
  EXPECT_EQ(main().lblOutlookStatus.fore_color(), platform::Rgb(0, 128, 0));
}

TEST_F(StartupTest, NineRowsFitTenNeedTheScrollBar) {
  AddAllEightFolders();
  ServeStores(L"11.8206.8202", {Store(L"One", 10)});
  Start();
  ASSERT_EQ(main().rows.count(), 9);
  EXPECT_EQ(row(9).chkCarpeta.top(), 2400);
  EXPECT_EQ(row(9).imgEmail.top(), 2420);
  EXPECT_EQ(row(8).Key, L"10");
  EXPECT_EQ(main().lblOutlook.caption(), L"Outlook 2003 SP3");
  EXPECT_FALSE(main().VScroll1.enabled());
  EXPECT_EQ(main().Frame1.height(), 9 * 375);

  startup_.reset();
  main_.reset();
  ServeStores(L"11.8206.8202", {Store(L"One", 10), Store(L"Two", 10)});
  Start();
  ASSERT_EQ(main().rows.count(), 10);
  EXPECT_EQ(row(10).chkCarpeta.top(), 2700);
  EXPECT_EQ(row(10).imgEmail.top(), 2720);
  EXPECT_EQ(row(10).chkCarpeta.caption(), L"Outlook [Two]");
  EXPECT_TRUE(main().VScroll1.enabled());
  EXPECT_EQ(main().VScroll1.max(), 10);
  EXPECT_EQ(main().Frame1.height(), 3750);
}

TEST_F(StartupTest, StoreWithoutFolderRowsTakesRowOne) {
  ServeStores(L"15.0.4420.1017", {Store(L"Only", 100)});
  Start();
  EXPECT_TRUE(dialogs_.messages.empty());
  ASSERT_EQ(main().rows.count(), 1);
  EXPECT_EQ(row(1).chkCarpeta.caption(), L"Outlook [Only]");
  EXPECT_EQ(row(1).Section, L"PST");
  EXPECT_TRUE(row(1).imgEmail.visible());
  EXPECT_FALSE(row(1).imgFolder.visible());
  EXPECT_EQ(main().lblOutlook.caption(), L"Outlook 2013");
}

TEST_F(StartupTest, OtherErrorIsShownAndTheWindowStillComesFree) {
  AddFolder(16, L"Desktop");
  ServeStores(L"16", {Store(L"Never", 10)});
  Start();
  ASSERT_EQ(dialogs_.messages.size(), 1u);
  EXPECT_EQ(dialogs_.messages[0], L"5 - Invalid procedure call or argument");
  EXPECT_TRUE(ready_before_tick_);
  EXPECT_FALSE(startup_->splash()->loaded());
  EXPECT_TRUE(main().enabled());
  EXPECT_EQ(main().rows.count(), 1) << "the rows built before the error stay";
}

TEST_F(StartupTest, StoreIdThatIsNotHexStopsBeforeItsRow) {
  AddFolder(16, L"Desktop");
  ServeStores(L"14.0.0.6112", {Store(L"Good", 10), {L"Bad", L"00XY"}});
  Start();
  ASSERT_EQ(dialogs_.messages.size(), 1u);
  EXPECT_EQ(dialogs_.messages[0], L"13 - Type mismatch");
  EXPECT_EQ(main().rows.count(), 2);
  EXPECT_EQ(row(2).chkCarpeta.caption(), L"Outlook [Good]");
  EXPECT_TRUE(main().enabled());
}

TEST_F(StartupTest, ExitUnloadsTheMainWindow) {
  Start();
  startup_->mnuExit_Click();
  EXPECT_FALSE(main().loaded());
}

}  // namespace
}  // namespace app
