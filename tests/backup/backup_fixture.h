// Real folders for the tests of the copy engine and the backup run, and the
// run's controls on a bare window with source rows over those folders.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/res/resource.h"
#include "app/texts.h"
#include "backup/backup_run.h"
#include "platform/form.h"
#include "platform/panel.h"
#include "platform/shell.h"
#include "settings/ini_file.h"
#include "sources/folder_size.h"
#include "support/temp_folder.h"

namespace backup_testing {

using testing_support::ReadFile;
using testing_support::TempFolder;
using testing_support::WriteFile;

// Keeps the boxes a copy would show instead of showing them.
class FakeDialogs : public platform::Dialogs {
 public:
  void MessageBoxOk(const std::wstring& text) override { boxes.push_back(text); }
  std::vector<std::wstring> boxes;
};

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

class FilesTest : public ::testing::Test {
 protected:
  FilesTest() { platform::SetDialogs(&dialogs); }
  ~FilesTest() override { platform::SetDialogs(nullptr); }

  const app::MainTexts texts = app::MainTextsFor(L"ENU");
  TempFolder temp;
  FakeDialogs dialogs;
  const std::wstring src = temp / L"Docs", target = temp / L"Copias", dst = target + L"\\Docs";
};

class BackupTest : public FilesTest {
 protected:
  BackupTest() {
    form.CreateForm({L"", 9000, 8000});
    const platform::Layout at{&form, {0, 0, 2000, 300}, {}};
    for (platform::Label* label : {&error_label, &view_log_link}) label->Create(at, L"");
    for (platform::Image* image : {&total_ok_image, &total_error_image}) image->Create(at, IDR_OK);
    for (platform::Button* button : {&pick_target_button, &backup_button}) button->Create(at, L"");
    target_box.Create(at, L"");
    write_log_box.Create(at, L"");
    rows_panel.Create({&form, {0, 600, 9000, 6000}, {}});
    sources::CreateFirstRow(rows, rows_panel, kPictures);
    backup_button.on_click = [this] { run.OnBackupPress(); };
  }
  ~BackupTest() override { form.Unload(); }

  // The next source row over path: row 1 is the window's own.
  sources::SourceRow& AddRow(const std::wstring& path, const std::wstring& caption,
                             bool ticked = true, const std::wstring& section = L"systemfolders") {
    const bool store = section == L"PST";
    sources::SourceRow& row =
        ++used_rows_ == 1 ? rows[1]
                          : sources::AddSourceRow(rows, store ? sources::kMailStoreRow
                                                              : sources::kFolderRow,
                                                  rows_panel, kPictures);
    row.path = path;
    row.section = section;
    row.key = (store ? L"STORE" : L"") + std::to_wstring(used_rows_);
    row.size = store ? sources::ByteCountFromBytes(ReadFile(path).size())
                     : sources::ByteCountFromDouble(sources::FolderSize(path + L"\\"));
    row.check_box.set_caption(caption);
    row.check_box.set_value(ticked ? 1 : 0);
    return row;
  }

  void Press(const std::wstring& typed, bool log = true) {
    target_box.set_text(typed);
    write_log_box.set_value(log ? 1 : 0);
    backup_button.on_click();
  }

  std::wstring Ini(const std::wstring& section, const std::wstring& key) {
    return settings::ReadIni(settings_file, section, key, L"<none>");
  }

  static constexpr sources::RowPictures kPictures{IDR_FOLDER, IDR_EMAIL, IDR_WAIT, IDR_OK,
                                                  IDR_ERROR};
  platform::Form form;
  platform::TextBox target_box;
  platform::Label error_label, view_log_link;
  platform::CheckBox write_log_box;
  platform::Image total_ok_image, total_error_image;
  platform::PictureBox rows_panel;
  platform::Button pick_target_button, backup_button;
  sources::Rows rows;
  std::wstring settings_file = temp / L"TAVRIK Backup.ini", log_folder;
  backup::BackupRun run{{target_box, error_label, write_log_box, view_log_link, total_ok_image,
                         total_error_image, rows_panel, pick_target_button, backup_button, rows},
                        texts.run, settings_file, log_folder};

 private:
  int used_rows_ = 0;
};

}  // namespace backup_testing
