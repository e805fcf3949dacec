// The start-up, in-process: real folders and settings file, the prefix's registry and the
// stand-in mail client through COM; the splash closes at the later of its minimum time and readiness.
#include "app/main_window.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <map>
#include <memory>

#include "environment/mail_client.h"
#include "environment/system_info.h"
#include "mailserver/fake_mail_client.h"
#include "platform/files.h"
#include "settings/ini_file.h"
#include "support/temp_folder.h"
#include "support/window_input.h"

namespace app {
namespace {

using testing_support::WriteFile;

class StartupTest : public testing::Test {
 protected:
  void SetUp() override {
    testing_support::ForgetQuit();
    TearDown();
    world_.special_folder = [this](int csidl) { return folders_[csidl]; };
    world_.locate_settings_file = [this] { return settings_; };
  }
  void TearDown() override {
    main_.reset();
    for (const wchar_t* key : environment::kProfileKeys)
      RegDeleteTreeW(HKEY_CURRENT_USER, key), RegDeleteKeyW(HKEY_CURRENT_USER, key);
    fake_mail_client::Unregister(), fake_mail_client::RemoveConfiguration();
  }

  // A standard folder with one file of the given size.
  void AddFolder(int csidl, const std::wstring& name, size_t bytes = 2048) {
    folders_[csidl] = folder_ / name;
    WriteFile(folder_ / (name + L"\\file.bin"), std::string(bytes, 'x'));
  }
  void CreateProfileKey(const wchar_t* key) { RegSetKeyValueW(HKEY_CURRENT_USER, key, nullptr, REG_SZ, L"", 2); }
  // A store whose file holds bytes bytes, served by the stand-in.
  fake_mail_client::Store Store(const std::wstring& name, size_t bytes, bool sixteen_bit = false) {
    std::wstring path = folder_ / (name + L".pst");
    WriteFile(path, std::string(bytes, 'm'));
    return {name, fake_mail_client::StoreIdForPath(platform::ToAnsi(path), sixteen_bit)};
  }
  void ServeStores(const std::wstring& version, const std::vector<fake_mail_client::Store>& stores,
                   const wchar_t* profile_key = environment::kProfileKeys[2]) {
    CreateProfileKey(profile_key);
    ASSERT_TRUE(fake_mail_client::Register());
    fake_mail_client::Configure(version, stores);
  }

  // The start-up, then the splash window's minimum time running out.
  void Start(size_t boxes = 0) {
    main_ = std::make_unique<MainWindow>(world_);
    dialogs_.boxes.clear();
    dialogs_.owners.clear();
    main_->OnLoad();
    ASSERT_TRUE(main_->splash());
    ASSERT_TRUE(testing_support::PumpUntil([&] { return main_->splash()->ready; }));
    if (main_->splash()->loaded()) {
      EXPECT_FALSE(main_->enabled()) << "locked until the splash's minimum time is up";
      main_->splash()->OnMinimumTimeUp();
    }
    EXPECT_FALSE(main_->splash()->loaded());
    EXPECT_TRUE(main_->enabled()) << "the window comes free, error or not";
    EXPECT_EQ(dialogs_.boxes.size(), boxes);
  }
  MainWindow& main() { return *main_; }
  sources::SourceRow& row(int i) { return main_->rows[i]; }

  testing_support::TempFolder folder_;
  std::wstring settings_ = folder_ / L"TAVRIK Backup.ini";
  std::map<int, std::wstring> folders_;
  StartupWorld world_ = StartupWorld::Real();
  testing_support::FakeDialogs dialogs_;
  std::unique_ptr<MainWindow> main_;
};

TEST_F(StartupTest, FoldersBecomeRowsWithStoredTicksAndTheWindowIsFreedLast) {
  AddFolder(5, L"Documents", 1536);  // no desktop: documents take row 1
  AddFolder(39, L"Pictures", 3 * 1024 * 1024);
  AddFolder(13, L"Music");
  settings::WriteIni(settings_, L"systemfolders", L"39", L"1");
  settings::WriteIni(settings_, L"systemfolders", L"13", L"2");
  settings::WriteIni(settings_, L"systemfolders", L"1", L"1");  // a row number, not a key
  std::wstring target = folder_ / L"backups";
  WriteFile(target + L"\\backup.log", "log");
  settings::WriteIni(settings_, L"main", L"target", target);
  settings::WriteIni(settings_, L"main", L"log", L"7");  // no check state: unchecked
  settings::WriteIni(settings_, L"main", L"changed", L"1");
  settings::WriteIni(settings_, L"main", L"versions", L"0");
  Start();
  ASSERT_EQ(main().rows.count(), 3);
  EXPECT_EQ(row(1).check_box.text(), L"Documents");
  EXPECT_EQ(row(1).path, folder_ / L"Documents");
  EXPECT_EQ(row(1).size_label.text(), L"2 KB");
  for (int i : {1, 2, 3})
    EXPECT_EQ(row(i).check_box.check_state(), static_cast<platform::CheckState>(i - 1));
  EXPECT_EQ(main().total_size.text(), L"3 MB") << "a grayed row is not counted";
  EXPECT_EQ(main().target_box.text(), target);
  EXPECT_EQ(main().write_log_box.check_state(), platform::CheckState::kUnchecked);
  EXPECT_TRUE(testing_support::PumpUntil([&] { return main().view_log_link.visible(); }))
      << "the target's log is looked for aside";
  EXPECT_EQ(main().log_folder, target);
  EXPECT_FALSE(main().mail_status_timer.enabled()) << "no mail profile";
  EXPECT_EQ(main().last_run_label.text(), L"Last backup: never");
  EXPECT_TRUE(main().changed_only_item.checked() && !main().keep_versions_item.checked());
  main().ApplyLanguage(Language::kSpanish);  // the note follows the ticks, in the language in force
  EXPECT_EQ(main().overwrite_note.text(), TextsOf(Language::kSpanish).control_texts.kept_note);
  main().keep_versions_item.on_click();
  EXPECT_EQ(main().overwrite_note.text(), TextsOf(Language::kSpanish).control_texts.changed_versions_note);
}

// Without folders a store takes row 1; ten rows need the scroll bar.
TEST_F(StartupTest, MailStoresBecomeRowsAndTheStatusFollowsTheRunningInstance) {
  std::vector<fake_mail_client::Store> stores{Store(L"Personal Folders", 1536), Store(L"Archive", 5000, true)};
  for (int n = 3; n <= 10; ++n) stores.push_back(Store(std::to_wstring(n), 10));
  // A PC with only a current mail client (2016 and later) has only this key.
  ServeStores(L"14.0.0.6112", stores, L"Software\\Microsoft\\Office\\16.0\\Outlook\\Profiles");
  settings::WriteIni(settings_, L"PST", stores[0].store_id, L"1");
  Start();
  EXPECT_EQ(main().mail_version.text(), L"Outlook 2010 SP2");
  EXPECT_TRUE(main().mail_status_timer.enabled());
  ASSERT_EQ(main().rows.count(), 10);
  EXPECT_TRUE(main().rows_scroll_bar.enabled());
  EXPECT_EQ(row(1).check_box.text(), L"Outlook [Personal Folders]");
  EXPECT_EQ(row(1).check_box.check_state(), platform::CheckState::kChecked);
  EXPECT_TRUE(row(1).mail_image.visible() && !row(1).folder_image.visible());
  EXPECT_EQ(row(2).path, folder_ / L"Archive.pst");
  EXPECT_EQ(row(2).size, sources::TenThousandthBytesFromBytes(5000));

  EXPECT_EQ(main().mail_status.text(), L"Closed (OK)");
  {
    fake_mail_client::RunningInstance running;
    ASSERT_TRUE(running.started());
    SendMessageW(main().handle(), WM_TIMER, 1, 0);  // the status timer's tick
    EXPECT_EQ(main().mail_status.text(), L"OPEN (close-it)");
    running.Stop();
  }
  SendMessageW(main().handle(), WM_TIMER, 1, 0);
  EXPECT_EQ(main().mail_status.text(), L"Closed (OK)");
}

TEST_F(StartupTest, MissingClientAndStartUpErrors) {
  AddFolder(16, L"Desktop");
  CreateProfileKey(environment::kProfileKeys[2]);
  Start();
  EXPECT_EQ(main().mail_version.text(), L"Not found");
  EXPECT_FALSE(main().mail_status.visible() || main().view_log_link.visible());
  EXPECT_FALSE(platform::FileExists(settings_)) << "start-up only reads";
  EXPECT_TRUE(!main().changed_only_item.checked() && main().keep_versions_item.checked()) << "no settings";
  main().keep_versions_item.on_click();
  EXPECT_EQ(main().overwrite_note.text(), TextsOf(main().language).control_texts.overwrite_note);

  main_.reset();
  ServeStores(L"16", {Store(L"Never", 10)});
  Start(1);
  EXPECT_EQ(dialogs_.boxes, std::vector<std::wstring>{L"5 - Invalid procedure call or argument"});
  EXPECT_EQ(dialogs_.owners, std::vector<HWND>{main().handle()}) << "the box holds the main window";
  EXPECT_EQ(main().rows.count(), 1);

  main_.reset();
  ServeStores(L"14.0.0.6112", {Store(L"Good", 10), {L"Bad", L"00XY"}});
  Start(1);
  EXPECT_EQ(dialogs_.boxes, std::vector<std::wstring>{L"13 - Type mismatch"});
  ASSERT_EQ(main().rows.count(), 2) << "the bad store leaves no row";
  EXPECT_EQ(row(2).check_box.text(), L"Outlook [Good]") << "stores after the folders";
}

// At each step of the start-up (under the splash, a folder measured, ready,
// handed over) the splash ignores a close; one of the main window ends all.
TEST_F(StartupTest, SplashIgnoresACloseMainWindowCloseEndsAnyStep) {
  AddFolder(16, L"Desktop");
  AddFolder(5, L"Documents");
  const std::vector<std::function<bool()>> steps = {
      [] { return true; }, [&] { return row(1).check_box.text() == L"Desktop"; },
      [&] { return main().splash()->ready; }, [&] { return main().enabled(); }};
  for (std::size_t step = 0; step < steps.size(); ++step) {
    main_ = std::make_unique<MainWindow>(world_);
    main_->OnLoad();
    EXPECT_TRUE(GetWindowLongW(main().splash()->handle(), GWL_EXSTYLE) & WS_EX_TOPMOST);
    // Its time up before start-up is done, the splash waits for it.
    if (step == 3) main_->splash()->OnMinimumTimeUp();
    EXPECT_FALSE(main().enabled());
    ASSERT_TRUE(testing_support::PumpUntil(steps[step])) << step;
    SendMessageW(main().splash()->handle(), WM_CLOSE, 0, 0);
    EXPECT_EQ(main().splash()->loaded(), step < 3) << step;
    EXPECT_EQ(main().enabled(), step == 3) << step;
    SendMessageW(main().handle(), WM_CLOSE, 0, 0);
    EXPECT_EQ(platform::LoadedForms(), 0) << step;
  }
}

}  // namespace
}  // namespace app
