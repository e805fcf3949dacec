// The source list in a real main window: ticks, total, scrolling, picker.
#include "sources/source_list.h"

#include <gtest/gtest.h>

#include <windows.h>

#include "app/main_window.h"
#include "support/screen_reader.h"
#include "support/window_input.h"

namespace sources {
namespace {

using namespace testing_support;

class WindowWithRowsTest : public ::testing::Test {
 protected:
  WindowWithRowsTest() { ForgetQuit(), main.Create(); }

  // Fills the next rows: row 1 as designed, later rows added below.
  void AddRows(int count, std::uint64_t bytes = 1024) {
    for (int n = 0; n < count; ++n)
      (filled_++ == 0 ? main.rows[1] : main.AddRow(kFolderRow)).size = TenThousandthBytesFromBytes(bytes);
  }

  app::MainWindow main;
  int filled_ = 0;
};

TEST_F(WindowWithRowsTest, TheTotalSumsTheTickedRowsOnlyAndEnablesBackup) {
  for (std::uint64_t bytes : {1536u, 3u << 20, 0u}) AddRows(1, bytes);  // 2 KB, 3 MB, nothing
  EXPECT_FALSE(main.total_label.visible());
  Click(main.rows[3].check_box);
  EXPECT_FALSE(main.backup_button.enabled()) << "an empty row alone backs up nothing";

  Click(main.rows[2].check_box);
  EXPECT_TRUE(main.rows[2].check_box.bold() && !main.rows[1].check_box.bold());
  EXPECT_EQ(main.total_size.text(), L"3 MB");
  EXPECT_TRUE(main.total_label.visible() && main.backup_button.enabled());
  for (int i : {1, 2}) Click(main.rows[i].check_box);
  EXPECT_FALSE(main.rows[2].check_box.bold());
  EXPECT_EQ(main.total_size.text(), L"2 KB");

  // A click ticks a grayed box (a hand-edited setting); it counts from then on.
  main.rows[2].check_box.set_check_state(platform::CheckState::kIndeterminate);
  Click(main.rows[2].check_box);
  EXPECT_EQ(main.rows[2].check_box.check_state(), platform::CheckState::kChecked);
  EXPECT_EQ(main.total_size.text(), L"3 MB");
  for (int i : {1, 2, 3}) Click(main.rows[i].check_box);
  EXPECT_FALSE(main.total_label.visible() || main.backup_button.enabled());
}

// Whether row i's box lies inside the list's viewport (row 1 may stand a pixel above it).
bool InView(app::MainWindow& main, int i) {
  RECT box, view;
  GetWindowRect(main.rows[i].check_box.handle(), &box);
  GetWindowRect(main.rows_viewport.handle(), &view);
  return box.top >= view.top - (i == 1) && box.bottom <= view.bottom;
}

TEST_F(WindowWithRowsTest, NineRowsFitMoreScrollByBarAndWheelFromAnyFocus) {
  AddRows(9);
  main.source_list.FitToRows();
  EXPECT_FALSE(main.rows_scroll_bar.enabled());
  TurnWheel(main.rows[3].check_box, -1);
  EXPECT_EQ(main.rows_panel.top(), 0) << "a list that fits does not move";

  AddRows(3);
  main.source_list.FitToRows();
  ASSERT_TRUE(main.rows_scroll_bar.enabled());
  const platform::CheckBox& last = main.rows[12].check_box;
  EXPECT_GE(main.rows_panel.height(), last.top() + last.height()) << "the last row is not cut off";

  // A notch over a row's box, the list or the bar is one line; the focus stays where it was.
  main.target_box.focus();
  TurnWheel(main.rows[4].check_box, -1);
  EXPECT_EQ(main.rows_scroll_bar.value(), 2);
  for (platform::Control* over : std::initializer_list<platform::Control*>{
           &main.rows[4].size_label, &main.rows_panel, &main.sources_group, &main.rows_scroll_bar})
    TurnWheel(*over, -1);
  EXPECT_EQ(main.rows_scroll_bar.value(), 6);
  TurnWheel(main.rows[4].check_box, 2);
  EXPECT_EQ(main.rows_scroll_bar.value(), 4);
  // A notch that goes to the focused text box, the pointer over the list.
  main.Show();
  main.target_box.focus();
  RECT row;
  GetWindowRect(main.rows[5].check_box.handle(), &row);
  SendMessageW(main.target_box.handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA),
               MAKELPARAM(row.left + 4, row.top + 4));
  EXPECT_EQ(main.rows_scroll_bar.value(), 5);
  TurnWheel(main.rows_panel, -20);
  EXPECT_EQ(main.rows_scroll_bar.value(), main.rows_scroll_bar.max());
  EXPECT_TRUE(InView(main, 12));

  HWND box = main.rows[4].check_box.handle();  // the mouse moves over a row
  SendMessageW(box, WM_SETCURSOR, reinterpret_cast<WPARAM>(box), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
  EXPECT_TRUE(main.target_box.focused()) << "hovering takes no focus away";
}

// The range for any count is a rule tested natively; here the bar takes it.
TEST_F(WindowWithRowsTest, TheRangeEndsAtTheLastRowAndAFocusedRowComesIntoView) {
  AddRows(40);
  main.source_list.FitToRows();
  main.rows_scroll_bar.set_value(main.rows_scroll_bar.max() - 1);
  EXPECT_FALSE(InView(main, 40)) << "the range ends no later than needed";
  main.rows_scroll_bar.set_value(main.rows_scroll_bar.max());
  EXPECT_TRUE(InView(main, 40));
  // Down the rows one by one, as Tab goes, then to either end.
  main.Show();
  main.rows_scroll_bar.set_value(1);
  for (int i : {9, 10, 11, 12, 1, 40}) {
    main.rows[i].check_box.focus();
    EXPECT_TRUE(InView(main, i)) << "row " << i;
  }
}

TEST_F(WindowWithRowsTest, ThePickersChoiceReplacesTheTargetAndCancelKeepsIt) {
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
