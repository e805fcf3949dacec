// The main window's start-up, in-process: real folders, a real settings
// file, the real registry of the build's prefix and the stand-in mail client
// reached through COM.
#include "app/main_window.h"

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
#include "support/window_input.h"

namespace app {
namespace {

using testing_support::TempFolder;
using testing_support::WriteFile;

class RecordingDialogs : public platform::Dialogs {
 public:
  void MessageBoxOk(const std::wstring& text) override { messages.push_back(text); }
  std::vector<std::wstring> messages;
};

void CreateProfileKey() {
  HKEY key = nullptr;
  RegCreateKeyExW(HKEY_CURRENT_USER, environment::kProfileKeys[2], 0, nullptr, 0, KEY_ALL_ACCESS,
                  nullptr, &key, nullptr);
  RegCloseKey(key);
}

class MainWindowTest : public testing::Test {
 protected:
  void SetUp() override {
    testing_support::ForgetQuit();
    CleanUp();
    platform::SetDialogs(&dialogs_);
    world_.special_folder = [this](int csidl) {
      auto found = folders_.find(csidl);
      return found == folders_.end() ? std::wstring() : found->second;
    };
    world_.locate_settings_file = [this] { return settings_; };
  }
  void TearDown() override {
    main_.reset();
    platform::SetDialogs(nullptr);
    CleanUp();
  }
  static void CleanUp() {
    for (const wchar_t* key : environment::kProfileKeys) {
      RegDeleteTreeW(HKEY_CURRENT_USER, key);
      RegDeleteKeyW(HKEY_CURRENT_USER, key);
    }
    fake_mail_client::Unregister();
    fake_mail_client::RemoveConfiguration();
  }

  // A standard folder with one file of the given size.
  void AddFolder(int csidl, const std::wstring& name, size_t bytes = 2048) {
    folders_[csidl] = folder_ / name;
    WriteFile(folder_ / (name + L"\\file.bin"), std::string(bytes, 'x'));
  }
  void Ini(const std::wstring& section, const std::wstring& key, const std::wstring& value) {
    settings::WriteIni(settings_, section, key, value);
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

  // The start-up, then the splash window's minimum time running out.
  void Start() {
    main_ = std::make_unique<MainWindow>(world_);
    main_->OnLoad();
    ASSERT_TRUE(main_->splash());
    ready_before_tick_ = main_->splash()->ready;
    locked_before_tick_ = !main_->enabled();
    if (main_->splash()->loaded()) main_->splash()->OnMinimumTimeUp();
  }
  MainWindow& main() { return *main_; }
  sources::SourceRow& row(int i) { return main_->rows[i]; }

  TempFolder folder_;
  std::wstring settings_ = folder_ / L"TAVRIK Backup.ini";
  std::map<int, std::wstring> folders_;
  StartupWorld world_ = StartupWorld::Real();
  RecordingDialogs dialogs_;
  std::unique_ptr<MainWindow> main_;
  bool ready_before_tick_ = false;
  bool locked_before_tick_ = false;
};

TEST_F(MainWindowTest, FoldersBecomeRowsWithStoredTicksAndTheWindowIsFreedLast) {
  AddFolder(5, L"Documents", 1536);  // no desktop: documents take row 1
  AddFolder(39, L"Pictures", 3 * 1024 * 1024);
  AddFolder(13, L"Music");
  Ini(L"systemfolders", L"39", L"1");
  Ini(L"systemfolders", L"13", L"2");
  Ini(L"systemfolders", L"1", L"1");  // a row number, not a key
  std::wstring target = folder_ / L"backups";
  WriteFile(target + L"\\backup.log", "log");
  Ini(L"main", L"target", target);
  Ini(L"main", L"log", L"7");  // no check state: unchecked, no error
  Start();

  EXPECT_TRUE(ready_before_tick_);
  EXPECT_TRUE(locked_before_tick_);
  EXPECT_FALSE(main().splash()->loaded());
  EXPECT_TRUE(main().enabled());
  EXPECT_TRUE(dialogs_.messages.empty());
  EXPECT_EQ(main().user_name.caption(), environment::UserName());
  EXPECT_FALSE(main().system_name.caption().empty());

  ASSERT_EQ(main().rows.count(), 3);
  EXPECT_EQ(row(1).check_box.caption(), L"Documents");
  EXPECT_EQ(row(1).key, L"5");
  EXPECT_EQ(row(1).path, folder_ / L"Documents");
  EXPECT_EQ(row(1).size_label.caption(), L"2 KB");
  EXPECT_EQ(row(2).section, L"systemfolders");
  EXPECT_EQ(row(2).size_label.caption(), L"3 MB");
  EXPECT_EQ(row(1).check_box.value(), 0);
  EXPECT_EQ(row(2).check_box.value(), 1);
  EXPECT_EQ(row(3).check_box.value(), 2);
  EXPECT_EQ(main().total_size.caption(), L"3 MB") << "a grayed row is not counted";
  EXPECT_TRUE(main().backup_button.enabled());

  EXPECT_EQ(main().target_box.text(), target);
  EXPECT_EQ(main().write_log_box.value(), 0);
  EXPECT_TRUE(main().view_log_link.visible());
  EXPECT_EQ(main().log_folder, target);
  EXPECT_EQ(main().mail_version.caption(), L"") << "no mail profile";
  EXPECT_FALSE(main().mail_status_timer.enabled());
}

TEST_F(MainWindowTest, NothingStoredLeavesDefaultsAndWritesNothing) {
  AddFolder(16, L"Desktop");
  Start();
  EXPECT_EQ(main().target_box.text(), L"");
  EXPECT_FALSE(main().view_log_link.visible());
  EXPECT_FALSE(main().backup_button.enabled());
  EXPECT_FALSE(platform::FileExists(settings_)) << "start-up only reads";
}

TEST_F(MainWindowTest, ProfileKeyWithoutMailClientSaysNotFound) {
  AddFolder(16, L"Desktop");
  CreateProfileKey();
  Start();
  EXPECT_EQ(main().mail_version.caption(), L"Not found");
  EXPECT_FALSE(main().mail_status.visible());
  EXPECT_TRUE(dialogs_.messages.empty());
  EXPECT_TRUE(main().enabled());
}

TEST_F(MainWindowTest, MailStoresBecomeRowsAndTheStatusFollowsTheRunningInstance) {
  AddFolder(16, L"Desktop");
  fake_mail_client::Store personal = Store(L"Personal Folders", 1536);
  fake_mail_client::Store archive = Store(L"Archive", 5000, true);
  ServeStores(L"14.0.0.6112", {personal, archive});
  Ini(L"PST", personal.store_id, L"1");
  Start();
  EXPECT_TRUE(dialogs_.messages.empty());
  EXPECT_EQ(main().mail_version.caption(), L"Outlook 2010 SP2");
  EXPECT_TRUE(main().mail_status_label.visible());
  EXPECT_TRUE(main().mail_status_timer.enabled());
  ASSERT_EQ(main().rows.count(), 3);
  EXPECT_EQ(row(2).check_box.caption(), L"Outlook [Personal Folders]");
  EXPECT_EQ(row(2).section, L"PST");
  EXPECT_EQ(row(2).key, personal.store_id);
  EXPECT_EQ(row(2).check_box.value(), 1);
  EXPECT_TRUE(row(2).mail_image.exists());
  EXPECT_FALSE(row(2).folder_image.exists());
  EXPECT_EQ(row(3).path, folder_ / L"Archive.pst");
  EXPECT_EQ(row(3).size, sources::ByteCountFromBytes(5000));

  EXPECT_EQ(main().mail_status.caption(), L"Closed (OK)");
  EXPECT_EQ(main().mail_status.fore_color(), platform::Rgb(0, 128, 0));
  {
    fake_mail_client::RunningInstance running;
    ASSERT_TRUE(running.started());
    SendMessageW(main().handle(), WM_TIMER, 1, 0);  // the status timer's tick
    EXPECT_EQ(main().mail_status.caption(), L"OPEN (close-it)");
    EXPECT_EQ(main().mail_status.fore_color(), platform::Rgb(192, 0, 0));
    running.Stop();
  }
  SendMessageW(main().handle(), WM_TIMER, 1, 0);
  EXPECT_EQ(main().mail_status.caption(), L"Closed (OK)");
}

TEST_F(MainWindowTest, TenRowsNeedTheScrollBarAndAStoreAloneTakesRowOne) {
  const wchar_t* names[] = {L"Desktop", L"Documents", L"Pictures", L"Music",
                            L"Videos",  L"Favorites", L"Fonts",    L"Recycled"};
  const int ids[] = {16, 5, 39, 13, 14, 6, 20, 10};
  for (int p = 0; p < 8; ++p) AddFolder(ids[p], names[p]);
  ServeStores(L"11.8206.8202", {Store(L"One", 10), Store(L"Two", 10)});
  Start();
  ASSERT_EQ(main().rows.count(), 10);
  EXPECT_EQ(row(10).check_box.caption(), L"Outlook [Two]");
  EXPECT_TRUE(main().rows_scroll_bar.enabled());
  EXPECT_EQ(main().rows_scroll_bar.max(), 10);

  main_.reset();
  folders_.clear();
  ServeStores(L"15.0.4420.1017", {Store(L"Only", 100)});
  Start();
  ASSERT_EQ(main().rows.count(), 1);
  EXPECT_EQ(row(1).check_box.caption(), L"Outlook [Only]");
  EXPECT_TRUE(row(1).mail_image.visible());
  EXPECT_FALSE(row(1).folder_image.visible());
  EXPECT_FALSE(main().rows_scroll_bar.enabled());
}

TEST_F(MainWindowTest, AStartUpErrorIsShownAndTheWindowStillComesFree) {
  AddFolder(16, L"Desktop");
  ServeStores(L"16", {Store(L"Never", 10)});
  Start();
  ASSERT_EQ(dialogs_.messages.size(), 1u);
  EXPECT_EQ(dialogs_.messages[0], L"5 - Invalid procedure call or argument");
  EXPECT_FALSE(main().splash()->loaded());
  EXPECT_TRUE(main().enabled());
  EXPECT_EQ(main().rows.count(), 1) << "the rows built before the error stay";

  main_.reset();
  dialogs_.messages.clear();
  ServeStores(L"14.0.0.6112", {Store(L"Good", 10), {L"Bad", L"00XY"}});
  Start();
  ASSERT_EQ(dialogs_.messages.size(), 1u);
  EXPECT_EQ(dialogs_.messages[0], L"13 - Type mismatch");
  EXPECT_EQ(main().rows.count(), 2) << "the bad store leaves no row";
  EXPECT_TRUE(main().enabled());
}

TEST_F(MainWindowTest, SpanishCaptionsAndMenusAndExit) {
  MainWindow window(world_);
  window.Create();
  window.ApplyLanguage(L"ESN");
  EXPECT_EQ(window.sources_frame.caption(), L"Seleccione carpetas");
  EXPECT_EQ(window.write_log_box.caption(), L"Crear archivo de log");
  EXPECT_EQ(window.about_item.caption(), L"Acerca de");
  EXPECT_EQ(window.texts.run.cancel, L"CANCELAR");
  window.ApplyLanguage(L"es");  // only "ES", letter case counting, is Spanish
  EXPECT_EQ(window.sources_frame.caption(), L"Select folders");
  EXPECT_EQ(window.exit_item.caption(), L"Exit");
  window.exit_item.on_click();
  EXPECT_FALSE(window.loaded());
}

}  // namespace
}  // namespace app
