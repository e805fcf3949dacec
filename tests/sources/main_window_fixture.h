// A real main window, made as the program makes it, with source rows filled
// the way start-up fills them.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>

#include "app/main_window.h"
#include "support/window_input.h"

namespace sources {

class MainWindowTest : public ::testing::Test {
 protected:
  MainWindowTest() {
    testing_support::ForgetQuit();
    main.Create();
    main.ApplyLanguage(L"ENU");
  }

  // Fills the next rows: row 1 as designed, later rows added below.
  void AddRows(int count, std::uint64_t bytes = 1024) {
    for (int n = 0; n < count; ++n) {
      SourceRow& row = filled_++ == 0 ? main.rows[1] : main.AddRow(kFolderRow);
      row.size = ByteCountFromBytes(bytes);
      row.check_box.set_caption(L"Folder" + std::to_wstring(filled_));
    }
  }

  app::MainWindow main;

 private:
  int filled_ = 0;
};

}  // namespace sources
