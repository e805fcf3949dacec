// The source list in a real main window: ticks, total, scrolling, picker.
#include "sources/source_list.h"

#include <gtest/gtest.h>

#include <windows.h>

#include "app/main_window.h"
#include "support/window_input.h"

namespace sources {
namespace {

using namespace testing_support;

class MainWindowTest : public ::testing::Test {
 protected:
  MainWindowTest() { ForgetQuit(), main.Create(); }

  // Fills the next rows: row 1 as designed, later rows added below.
  void AddRows(int count, std::uint64_t bytes = 1024) {
    for (int n = 0; n < count; ++n) {
      SourceRow& row = filled_++ == 0 ? main.rows[1] : main.AddRow(kFolderRow);
      row.size = TenThousandthBytesFromBytes(bytes);
    }
  }

  app::MainWindow main;
  int filled_ = 0;
};

TEST_F(MainWindowTest, TheTotalSumsTheTickedRowsOnlyAndEnablesBackup) {
  for (std::uint64_t bytes : {1536u, 3u << 20, 0u}) AddRows(1, bytes);  // 2 KB, 3 MB, nothing
  EXPECT_FALSE(main.total_label.visible());
  Click(main.rows[3].check_box);
  EXPECT_FALSE(main.backup_button.enabled()) << "an empty row alone backs up nothing";

  Click(main.rows[2].check_box);
  EXPECT_TRUE(main.rows[2].check_box.bold() && !main.rows[1].check_box.bold());
  EXPECT_EQ(main.total_size.text(), L"3 MB");
  EXPECT_TRUE(main.total_label.visible() && main.backup_button.enabled());
  Click(main.rows[1].check_box);
  Click(main.rows[2].check_box);
  EXPECT_FALSE(main.rows[2].check_box.bold());
  EXPECT_EQ(main.total_size.text(), L"2 KB");

  // A grayed box (a hand-edited setting) is never counted; a click ticks it.
  main.rows[2].check_box.set_check_state(platform::CheckState::kIndeterminate);
  EXPECT_EQ(main.total_size.text(), L"2 KB");
  Click(main.rows[2].check_box);
  EXPECT_EQ(main.rows[2].check_box.check_state(), platform::CheckState::kChecked);
  EXPECT_EQ(main.total_size.text(), L"3 MB");
  for (int i : {1, 2, 3}) Click(main.rows[i].check_box);
  EXPECT_FALSE(main.total_label.visible() || main.backup_button.enabled());
}

TEST_F(MainWindowTest, NineRowsFitTenScrollByBarAndWheel) {
  AddRows(9);
  main.source_list.FitToRows();
  EXPECT_FALSE(main.rows_scroll_bar.enabled());
  TurnWheel(main.rows[3].check_box, -1);
  EXPECT_EQ(main.rows_panel.top(), 0) << "a list that fits does not move";

  AddRows(3);
  main.source_list.FitToRows();
  ASSERT_TRUE(main.rows_scroll_bar.enabled());
  EXPECT_EQ(main.rows_scroll_bar.max(), 12);
  const platform::CheckBox& last = main.rows[12].check_box;
  EXPECT_GE(main.rows_panel.height(), last.top() + last.height()) << "the last row is not cut off";
  main.rows_scroll_bar.set_value(10);
  const int top_at_ten = main.rows_panel.top();
  main.rows_scroll_bar.set_value(1);
  EXPECT_LT(top_at_ten, main.rows_panel.top());

  // The wheel over a row's box, the list or the bar steps one line per notch.
  main.target_box.focus();
  TurnWheel(main.rows[4].check_box, -1);
  EXPECT_EQ(main.rows_scroll_bar.value(), 2);
  for (platform::Control* over : std::initializer_list<platform::Control*>{
           &main.rows[4].size_label, &main.rows_panel, &main.sources_group, &main.rows_scroll_bar})
    TurnWheel(*over, -1);
  EXPECT_EQ(main.rows_scroll_bar.value(), 6);
  TurnWheel(main.rows[4].check_box, 2);
  EXPECT_EQ(main.rows_scroll_bar.value(), 4);
  TurnWheel(main.rows_panel, -20);
  EXPECT_EQ(main.rows_scroll_bar.value(), 12);
  EXPECT_TRUE(main.target_box.focused());

  HWND box = main.rows[4].check_box.handle();  // the mouse moves over a row
  SendMessageW(box, WM_SETCURSOR, reinterpret_cast<WPARAM>(box), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
  EXPECT_TRUE(main.rows_scroll_bar.focused()) << "for a wheel that goes to the focus";
}

TEST_F(MainWindowTest, ThePickersChoiceReplacesTheTargetAndCancelKeepsIt) {
  testing_support::FakeDialogs dialogs;
  main.target_box.set_text(L"D:\\old");
  main.error_label.set_visible(true);
  Click(main.pick_target_button);
  EXPECT_TRUE(main.target_box.text() == L"D:\\old" && !main.error_label.visible());
  dialogs.answer = L"E:\\Backups";
  Click(main.pick_target_button);
  EXPECT_EQ(main.target_box.text(), L"E:\\Backups");
}

}  // namespace
}  // namespace sources
