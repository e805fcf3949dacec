// Real folders, and a real main window with source rows over them.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "app/main_window.h"
#include "backup/copy_engine.h"
#include "platform/program.h"
#include "settings/ini_file.h"
#include "sources/folder_size.h"
#include "support/temp_folder.h"
#include "support/window_input.h"

namespace backup_testing {

using testing_support::ReadFile;
using testing_support::WriteFile;

// The lines of folder's backup.log, back in wide text; each must end in CRLF.
inline std::vector<std::wstring> LogLines(const std::wstring& folder) {
  const std::string bytes = ReadFile(folder + L"\\backup.log");
  std::vector<std::wstring> lines;
  size_t start = 0;
  for (size_t end; (end = bytes.find("\r\n", start)) != std::string::npos; start = end + 2)
    lines.push_back(platform::FromAnsi(bytes.substr(start, end - start)));
  EXPECT_EQ(start, bytes.size()) << "every line ends in CRLF";
  return lines;
}

inline bool Has(const std::vector<std::wstring>& lines, const std::wstring& line) {
  return std::find(lines.begin(), lines.end(), line) != lines.end();
}

inline int CountFound(const std::wstring& pattern) {
  int count = 0;
  platform::FileSearch search(pattern);
  if (search.found()) do ++count; while (search.Next());
  return count;
}

inline bool HasTemporaryFiles(const std::wstring& folder) { return CountFound(folder + L"\\~tavrik*") > 0; }

// Opens path shared with no one, as a mail client or a scanner holds a file.
inline HANDLE Hold(const std::wstring& path) {
  return CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
}

// A file's last-write time, in 100-nanosecond steps.
inline std::uint64_t WriteTime(const std::wstring& path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  EXPECT_TRUE(GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data));
  return (std::uint64_t{data.ftLastWriteTime.dwHighDateTime} << 32) | data.ftLastWriteTime.dwLowDateTime;
}

inline void SetWriteTime(const std::wstring& path, std::uint64_t time) {
  HANDLE file = CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING,
                            FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  const FILETIME written{static_cast<DWORD>(time), static_cast<DWORD>(time >> 32)};
  EXPECT_TRUE(SetFileTime(file, nullptr, nullptr, &written));
  CloseHandle(file);
}

inline bool WaitFor(const std::function<bool()>& condition) { return testing_support::PumpUntil(condition, 60000); }

class FilesTest : public ::testing::Test {
 protected:
  ~FilesTest() override {
    if (!mounted_.empty()) testing_support::RunInLinuxShell(temp.path(), "umount " + mounted_);
  }
  // Mounts on temp\folder what mount_command (run in temp) makes, until the test ends.
  bool Mount(const std::string& folder, const std::string& mount_command) {
    if (!testing_support::RunInLinuxShell(temp.path(), "mkdir " + folder + " && " + mount_command + " " + folder))
      return false;
    mounted_ = folder;
    return true;
  }

  const app::MainTexts texts = app::TextsOf(app::Language::kEnglish).main;
  testing_support::TempFolder temp;
  testing_support::FakeDialogs dialogs;
  const std::wstring src = temp / L"Docs", target = temp / L"Copias", dst = target + L"\\Docs";

 private:
  std::string mounted_;
};

// The copy engine on its own: Copy copies a source as one row does, with its log in target.
class CopyEngineTest : public FilesTest {
 protected:
  void Copy(const std::wstring& source, bool is_file = false) {
    testing_support::MakeFolders(target);
    ASSERT_TRUE(log.Open(target + L"\\"));
    engine.SetRow([this](double bytes) { progress.push_back(bytes), on_progress(); }, &log);
    EXPECT_TRUE(engine.CopySource(source, dst, is_file));
    log.Close();
  }

  backup::RunFlags flags;
  backup::BackupLog log;
  backup::CopySeams seams;
  backup::CopyEngine engine{flags, texts.run.copy, seams};
  std::vector<double> progress;
  std::function<void()> on_progress = [] {};
};

class BackupTest : public FilesTest {
 protected:
  BackupTest() {
    testing_support::ForgetQuit();
    main.Create();
    main.ApplyLanguage(app::Language::kEnglish);
    main.settings_file = settings_file;
    // The double-click rule reads this clock; PressLater moves it on.
    seams.clock = [this] { return clock_; };
  }

  // The next source row over path: row 1 is the window's own.
  sources::SourceRow& AddRow(const std::wstring& path, const std::wstring& caption,
                             bool ticked = true, sources::RowKind kind = sources::kFolderRow) {
    const bool store = kind == sources::kMailStoreRow;
    sources::SourceRow& row = ++used_rows_ == 1 ? main.rows[1] : main.AddRow(kind);
    row.path = path;
    row.kind = kind;
    row.key = (store ? L"STORE" : L"") + std::to_wstring(used_rows_);
    row.size = store ? sources::TenThousandthBytesFromBytes(ReadFile(path).size())
                     : sources::TenThousandthBytesFromDouble(sources::FolderSize(path + L"\\"));
    row.check_box.set_text(caption);
    row.check_box.set_check_state(ticked ? platform::CheckState::kChecked : platform::CheckState::kUnchecked);
    return row;
  }

  void Press(const std::wstring& typed, bool log = true) {
    main.target_box.set_text(typed);
    main.write_log_box.set_check_state(log ? platform::CheckState::kChecked : platform::CheckState::kUnchecked);
    PressLater();
    WaitForRun();
  }

  // A press of the button once the double-click time has passed.
  void PressLater() {
    clock_ += platform::DoubleClickTime() + std::chrono::milliseconds(1);
    main.backup_button.on_click();
  }

  // Lets the window run until the run has ended, as the message loop would.
  void WaitForRun() {
    ASSERT_TRUE(testing_support::PumpUntil([&] {
      if (walk_paused_ && !walk_resumed_) {
        if (pause_step_) pause_step_();
        walk_resumed_ = true;
      }
      return !(main.loaded() && main.backup_run.running());
    }, 60000)) << "the run did not end";
  }

  // Holds the run at hook's n-th call until step has run on the window's thread
  // (or a cancel came), as a press or a close made meanwhile would.
  void PauseAt(std::function<void(const backup::RunFlags&)>& hook, int n, std::function<void()> step) {
    seams.engine.after_entry = seams.after_row = seams.before_last_message = nullptr;
    walk_paused_ = walk_resumed_ = false;
    pause_step_ = std::move(step);
    calls_ = 0;
    hook = [this, n](const backup::RunFlags& flags) {
      if (++calls_ != n) return;
      walk_paused_ = true;
      WaitFor([&] { return walk_resumed_ || flags.cancel_requested; });
    };
  }

  std::wstring Ini(const std::wstring& section, const std::wstring& key) {
    return settings::ReadIni(settings_file, section, key, L"<none>");
  }

  std::wstring settings_file = temp / L"TAVRIK Backup.ini";
  backup::RunSeams seams;
  app::MainWindow main{app::StartupWorld::Real(), seams};

 private:
  int used_rows_ = 0;
  std::atomic<int> calls_{0};
  std::atomic<bool> walk_paused_{false}, walk_resumed_{false};
  std::function<void()> pause_step_;
  std::chrono::steady_clock::time_point clock_ = std::chrono::steady_clock::now();
};

}  // namespace backup_testing
