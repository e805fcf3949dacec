// The real TavrikBackup.exe /backup with its own settings (%AppData%): exit
// codes, no splash, minimized, one run at a time, [lastrun] read back.
#include "app/unattended_run.h"

#include <gtest/gtest.h>
#include <windows.h>

#include "app/command_line.h"
#include "app/main_window.h"
#include "platform/files.h"
#include "platform/run_lock.h"
#include "platform/system_facts.h"
#include "settings/ini_file.h"
#include "support/build_path.h"
#include "support/screen_reader.h"
#include "support/temp_folder.h"
#include "support/window_input.h"

namespace app {
namespace {

constexpr int kFavorites = 6;  // a standard folder the prefix keeps empty

class UnattendedRunTest : public testing::Test {
 protected:
  void SetUp() override {
    testing_support::ForgetQuit();
    GetEnvironmentVariableW(L"APPDATA", app_data_, MAX_PATH);
    testing_support::MakeFolders(folder_ / L"AppData");
    SetEnvironmentVariableW(L"APPDATA", (folder_ / L"AppData").c_str());
    testing_support::WriteFile(source_, "kept");
  }
  void TearDown() override {
    SetEnvironmentVariableW(L"APPDATA", app_data_);
    DeleteFileW(source_.c_str());
  }
  void Settings(const std::wstring& target, bool ticked) {
    settings::WriteIni(settings_, L"main", L"target", target);
    settings::WriteIni(settings_, L"main", L"log", L"1");
    if (ticked) settings::WriteIni(settings_, L"systemfolders", std::to_wstring(kFavorites), L"1");
  }
  // The real program, started; one that hangs fails the test instead of blocking it.
  struct Started : PROCESS_INFORMATION {
    explicit Started(const std::wstring& arguments) : PROCESS_INFORMATION{} {
      std::wstring command = L"\"" + testing_support::BuildPath(TAVRIK_EXE_PATH) + L"\" " + arguments;
      STARTUPINFOW startup{sizeof(startup)};
      EXPECT_TRUE(CreateProcessW(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, this));
    }
    DWORD ExitCode() {
      DWORD code = STILL_ACTIVE;
      testing_support::PumpUntil([&] { return WaitForSingleObject(hProcess, 0) == WAIT_OBJECT_0; }, 90000);
      if (GetExitCodeProcess(hProcess, &code) && code == STILL_ACTIVE) TerminateProcess(hProcess, 99);
      CloseHandle(hProcess), CloseHandle(hThread);
      return code;
    }
  };
  std::wstring LastRun(const wchar_t* key) const { return settings::ReadIni(settings_, L"lastrun", key, L""); }

  testing_support::TempFolder folder_;
  std::wstring settings_ = folder_ / L"AppData\\TAVRIK Backup.ini";
  std::wstring target_ = folder_ / L"target";
  std::wstring source_ = platform::SpecialFolderPath(kFavorites) + L"\\tavrik-test.txt";
  wchar_t app_data_[MAX_PATH] = {};
};

// A complete run, then one with a locked file; the window reads the lines back.
TEST_F(UnattendedRunTest, CompleteThenLockedFile) {
  Settings(target_, true);
  Started run(L"/backup");
  EXPECT_TRUE(testing_support::PumpUntil([&] { return IsIconic(FindWindowW(L"TavrikForm", kProgramTitle)); }, 60000))
      << "minimized";
  EXPECT_EQ(FindWindowW(L"TavrikForm", L""), nullptr) << "no splash";
  EXPECT_EQ(run.ExitCode(), 0u);
  EXPECT_EQ(testing_support::ReadFile(target_ + L"\\Favorites\\tavrik-test.txt"), "kept");
  EXPECT_EQ(LastRun(L"result"), L"0");
  EXPECT_TRUE(!LastRun(L"time").empty() && LastRun(L"complete") == LastRun(L"time"));

  MainWindow main;
  main.Create();
  main.settings_file = settings_;
  main.ApplyLanguage(Language::kSpanish);
  const std::wstring line = testing_support::Hear(main.last_run_label.handle()).name;
  EXPECT_TRUE(line.rfind(L"Última copia: ", 0) == 0 && line.find(L", completa") == line.size() - 10) << line;
  EXPECT_EQ(main.last_run_label.fore_color(), CLR_INVALID) << "complete and recent: not red";

  const std::wstring complete = LastRun(L"complete");
  HANDLE locked = CreateFileW(source_.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  EXPECT_EQ(Started(L"/backup").ExitCode(), 1u) << "a locked file";
  CloseHandle(locked);
  EXPECT_TRUE(LastRun(L"result") == L"1" && LastRun(L"notcopied") == L"1");
  EXPECT_EQ(LastRun(L"complete"), complete) << "the last complete run's";
}

// A run holding the lock, or the window open and idle (a /backup hands its
// run to it, a plain start shows it): every other start ends with 4.
TEST_F(UnattendedRunTest, AnotherRunOrTheOpenWindowEndsOtherStartsWithFour) {
  Settings(target_, true);
  {
    platform::RunLock run(RunLockName(settings_));
    ASSERT_TRUE(run.TryHold());
    EXPECT_EQ(Started(L"/backup").ExitCode(), 4u);
  }
  EXPECT_FALSE(platform::FolderExists(target_)) << "nothing touched";
  StartupWorld world = StartupWorld::Real();
  world.locate_settings_file = [this] { return settings_; };
  MainWindow main(world);
  main.OnLoad();
  testing_support::PumpUntil([&] { return main.splash()->ready; });
  if (main.splash()->loaded()) main.splash()->OnMinimumTimeUp();
  EXPECT_EQ(Started(L"").ExitCode(), 4u);
  EXPECT_EQ(Started(L"/backup").ExitCode(), 4u);
  EXPECT_TRUE(testing_support::PumpUntil([&] { return !main.backup_run.running(); }));
  EXPECT_EQ(testing_support::ReadFile(target_ + L"\\Favorites\\tavrik-test.txt"), "kept")
      << "the window ran the backup";
}

TEST_F(UnattendedRunTest, NothingToBackUpEndsWithTwo) {
  EXPECT_EQ(Started(L"/backup").ExitCode(), 2u) << "no settings file";
  EXPECT_FALSE(platform::FileExists(settings_)) << "none made either";
  Settings(L"Q:\\Backups", true);
  EXPECT_EQ(Started(L"/backup").ExitCode(), 2u) << "an unmapped drive letter";
  EXPECT_EQ(LastRun(L"result"), L"2");
  settings::WriteIni(settings_, L"systemfolders", std::to_wstring(kFavorites), L"0");
  Settings(target_, false);
  EXPECT_EQ(Started(L"/backup").ExitCode(), 2u) << "no ticked row";
  EXPECT_FALSE(platform::FolderExists(target_)) << "nothing created";
}

}  // namespace
}  // namespace app
