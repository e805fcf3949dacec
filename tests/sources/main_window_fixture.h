// A real main window, made as the program makes it, with source rows filled
// the way start-up fills them.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "app/frm_main.h"
#include "sources/source_row.h"
#include "support/window_input.h"

namespace sources {

class MainWindowTest : public ::testing::Test {
 protected:
  MainWindowTest() {
    testing_support::ForgetQuit();
    main.Create();
    main.CanviaIdioma(L"ENU");
    main.WireRow(1);
  }

  // Fills the next row: row 1 as designed, later rows made by AddSourceRow.
  int AddRow(std::uint64_t bytes, int kind = kFolderRow, const std::wstring& caption = L"Folder") {
    int i = filled_ + 1;
    if (i > 1) {
      AddSourceRow(main.rows, i, kind, main.Frame1);
      main.WireRow(i);
    }
    SourceRow& row = main.rows[i];
    row.Path = L"C:\\users\\me\\" + caption;
    row.Section = kind == kMailStoreRow ? L"PST" : L"systemfolders";
    row.Key = std::to_wstring(i);
    row.Size = ByteCountFromBytes(bytes);
    row.lblMidaCarpeta.set_caption(SizeText(row.Size));
    row.chkCarpeta.set_caption(caption);
    filled_ = i;
    return i;
  }

  void AddRows(int count, std::uint64_t bytes = 1024) {
    for (int n = 0; n < count; ++n) AddRow(bytes);
  }

  app::FrmMain main;

 private:
  int filled_ = 0;
};

}  // namespace sources
