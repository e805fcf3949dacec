// A real main window, made as the program makes it, with source rows filled
// the way start-up fills them.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "app/main_window.h"
#include "sources/source_row.h"
#include "support/window_input.h"

namespace sources {

class MainWindowTest : public ::testing::Test {
 protected:
  MainWindowTest() {
    testing_support::ForgetQuit();
    main.Create();
    main.ApplyLanguage(L"ENU");
  }

  // Fills the next row: row 1 as designed, later rows added below.
  void AddRow(std::uint64_t bytes, RowKind kind = kFolderRow) {
    SourceRow& row = filled_ == 0 ? main.rows[1] : main.AddRow(kind);
    ++filled_;
    row.path = L"C:\\users\\me\\Folder" + std::to_wstring(filled_);
    row.size = ByteCountFromBytes(bytes);
    row.size_label.set_caption(SizeText(row.size));
    row.check_box.set_caption(L"Folder" + std::to_wstring(filled_));
  }

  void AddRows(int count, std::uint64_t bytes = 1024) {
    for (int n = 0; n < count; ++n) AddRow(bytes);
  }

  app::MainWindow main;

 private:
  int filled_ = 0;
};

}  // namespace sources
