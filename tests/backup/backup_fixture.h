// A real main window with real source rows over real folders, for the tests
// of the backup run, the copy engine and the log.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "backup/path_parts.h"
#include "platform/files.h"
#include "platform/shell.h"
#include "settings/ini_file.h"
#include "sources/folder_size.h"
#include "sources/source_row.h"
#include "support/temp_folder.h"

namespace backup_testing {

using testing_support::ReadFile;
using testing_support::TempFolder;
using testing_support::WriteFile;

// Keeps the boxes a run would show instead of showing them.
class FakeDialogs : public platform::Dialogs {
 public:
  void MessageBoxOk(const std::wstring& text) override { boxes.push_back(text); }
  std::optional<std::wstring> BrowseForFolder(const platform::Control&,
                                              const std::wstring&) override {
    return std::nullopt;
  }
  std::vector<std::wstring> boxes;
};

class BackupTest : public ::testing::Test {
 protected:
  BackupTest() {
    platform::SetDialogs(&dialogs);
    main.Create();
    main.ApplyLanguage(L"ENU");
    main.settings_file = temp / L"TAVRIK Backup.ini";
  }
  ~BackupTest() override {
    platform::SetDialogs(nullptr);
    main.Unload();
  }

  // The next source row: row 1 is the window's own, later ones are added.
  sources::SourceRow& AddRow(const std::wstring& path, const std::wstring& caption,
                             bool ticked = true, const std::wstring& section = L"systemfolders",
                             sources::RowKind kind = sources::kFolderRow) {
    const int i = used_rows_ + 1;
    if (i > 1) main.AddRow(kind);
    ++used_rows_;
    sources::SourceRow& row = main.rows[i];
    row.Path = path;
    row.Section = section;
    row.Key = section == L"PST" ? L"STORE" + std::to_wstring(i) : std::to_wstring(i);
    row.Size = section == L"PST"
                   ? sources::ByteCountFromBytes(ReadFile(path).size())
                   : sources::ByteCountFromDouble(sources::FolderSize(backup::AddBackslash(path)));
    row.chkCarpeta.set_caption(caption);
    row.chkCarpeta.set_value(ticked ? 1 : 0);
    return row;
  }

  void Press(const std::wstring& target, bool log = true) {
    main.target_box.set_text(target);
    main.write_log_box.set_value(log ? 1 : 0);
    main.backup_button.set_enabled(true);  // as ticking a row of some size does
    main.backup_button.on_click();
  }

  // A press that arrives through the message loop, as a user's click does.
  void PostPress() {
    PostMessageW(main.handle(), WM_COMMAND, MAKEWPARAM(0, BN_CLICKED),
                 reinterpret_cast<LPARAM>(main.backup_button.handle()));
  }

  std::wstring Ini(const std::wstring& section, const std::wstring& key) {
    return settings::ReadIni(main.settings_file, section, key, L"<none>");
  }

  // The log's lines as the run wrote them, back in wide text.
  std::vector<std::wstring> LogLines(const std::wstring& folder) {
    std::string bytes = ReadFile(backup::AddBackslash(folder) + L"backup.log");
    std::vector<std::wstring> lines;
    size_t start = 0;
    for (size_t end; (end = bytes.find("\r\n", start)) != std::string::npos; start = end + 2)
      lines.push_back(platform::FromAnsi(bytes.substr(start, end - start)));
    EXPECT_EQ(start, bytes.size()) << "every line ends in CRLF";
    return lines;
  }

  bool Shown(const platform::Control& control) { return control.visible(); }

  TempFolder temp;
  FakeDialogs dialogs;
  app::MainWindow main;

 private:
  int used_rows_ = 0;
};

// Every file of a tree, system files left out, with its path below root.
inline void ListTree(const std::wstring& root, const std::wstring& below,
                     std::vector<std::wstring>& files, std::vector<std::wstring>& folders) {
  platform::FileSearch search(root + below + L"*.*");
  if (!search.found()) return;
  do {
    const platform::FoundEntry& entry = search.entry();
    if (entry.name == L"." || entry.name == L".." || entry.is_system()) continue;
    if (entry.is_directory()) {
      folders.push_back(below + entry.name);
      ListTree(root, below + entry.name + L"\\", files, folders);
    } else {
      files.push_back(below + entry.name);
    }
  } while (search.Next());
}

}  // namespace backup_testing
