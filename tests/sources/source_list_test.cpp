// The source list in a real main window: ticking rows and the total, the
// "Backup!" button, scrolling by bar and wheel, and the "..." picker.
#include "sources/source_list.h"

#include "main_window_fixture.h"
#include "platform/shell.h"

namespace sources {
namespace {

using testing_support::Click;
using testing_support::MoveMouseOver;
using testing_support::TurnWheel;

constexpr std::uint64_t kMb = 1024 * 1024;

TEST_F(MainWindowTest, TickingSumsTheTickedRowsAndEnablesBackup) {
  AddRow(1536);
  AddRow(3 * kMb);
  AddRow(0);
  EXPECT_FALSE(main.total_label.visible());
  EXPECT_FALSE(main.backup_button.enabled());
  Click(main.rows[3].check_box);
  EXPECT_FALSE(main.backup_button.enabled()) << "an empty row alone backs up nothing";

  Click(main.rows[2].check_box);
  EXPECT_TRUE(main.rows[2].check_box.bold());
  EXPECT_FALSE(main.rows[1].check_box.bold());
  EXPECT_EQ(main.total_size.caption(), L"3 MB");
  EXPECT_TRUE(main.total_label.visible());
  EXPECT_TRUE(main.backup_button.enabled());
  Click(main.rows[1].check_box);
  Click(main.rows[2].check_box);
  EXPECT_FALSE(main.rows[2].check_box.bold());
  EXPECT_EQ(main.total_size.caption(), L"2 KB");
  Click(main.rows[1].check_box);
  Click(main.rows[3].check_box);
  EXPECT_FALSE(main.total_label.visible());
  EXPECT_FALSE(main.backup_button.enabled());
}

TEST_F(MainWindowTest, AGrayedRowIsNeverCounted) {
  AddRow(2 * kMb);
  AddRow(kMb);
  Click(main.rows[2].check_box);
  main.rows[1].check_box.set_value(2);  // a hand-edited setting
  EXPECT_EQ(main.total_size.caption(), L"1024 KB");
  main.rows[1].check_box.set_value(0);
  EXPECT_EQ(main.total_size.caption(), L"1024 KB");
  main.rows[1].check_box.set_value(2);
  Click(main.rows[1].check_box);  // a click on a grayed box ticks it
  EXPECT_EQ(main.rows[1].check_box.value(), 1);
  EXPECT_EQ(main.total_size.caption(), L"3 MB");
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
  EXPECT_EQ(main.rows_panel.height(), 12 * 375);
  main.rows_scroll_bar.set_value(10);
  EXPECT_EQ(main.rows_panel.top(), -1100);
  main.rows_scroll_bar.set_value(1);
  EXPECT_EQ(main.rows_panel.top(), -20);

  // The wheel over a row's box, the list or the bar, focused or not, steps
  // the bar one line per notch.
  main.target_box.focus();
  TurnWheel(main.rows[4].check_box, -1);
  EXPECT_EQ(main.rows_scroll_bar.value(), 2);
  EXPECT_EQ(main.rows_panel.top(), -140);
  TurnWheel(main.rows[4].size_label, -1);
  TurnWheel(main.rows_panel, -1);
  TurnWheel(main.sources_frame, -1);
  TurnWheel(main.rows_scroll_bar, -1);
  EXPECT_EQ(main.rows_scroll_bar.value(), 6);
  TurnWheel(main.rows[4].check_box, 2);
  EXPECT_EQ(main.rows_scroll_bar.value(), 4);
  TurnWheel(main.rows_panel, -20);
  EXPECT_EQ(main.rows_scroll_bar.value(), 12);
  EXPECT_TRUE(main.target_box.focused());

  MoveMouseOver(main.rows[4].check_box);
  EXPECT_TRUE(main.rows_scroll_bar.focused()) << "for a wheel that goes to the focus";
}

// The folder picker, answering as the user would.
class FakeDialogs : public platform::Dialogs {
 public:
  std::optional<std::wstring> answer;
  std::wstring title;
  std::optional<std::wstring> BrowseForFolder(const platform::Control&,
                                              const std::wstring& picker_title) override {
    title = picker_title;
    return answer;
  }
};

TEST_F(MainWindowTest, ThePickersChoiceReplacesTheTargetAndCancelKeepsIt) {
  FakeDialogs dialogs;
  platform::SetDialogs(&dialogs);
  main.ApplyLanguage(L"ESP");
  main.target_box.set_text(L"D:\\old");
  main.error_label.set_caption(L"Please, enter backup folder");
  main.error_label.set_visible(true);
  Click(main.pick_target_button);
  EXPECT_EQ(dialogs.title, L"Seleccione la carpeta de la copia de seguridad");
  EXPECT_EQ(main.target_box.text(), L"D:\\old");
  EXPECT_FALSE(main.error_label.visible());
  dialogs.answer = L"E:\\Backups";
  Click(main.pick_target_button);
  EXPECT_EQ(main.target_box.text(), L"E:\\Backups");
  platform::SetDialogs(nullptr);
}

}  // namespace
}  // namespace sources
