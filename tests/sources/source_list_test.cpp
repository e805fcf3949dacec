// The source list in a real main window: ticking rows and the total, the
// "Backup!" button, scrolling by bar and wheel, and the "..." picker.
#include "sources/source_list.h"

#include <chrono>
#include <thread>

#include "main_window_fixture.h"
#include "platform/files.h"
#include "platform/shell.h"

namespace sources {
namespace {

using testing_support::Click;
using testing_support::MoveMouseOver;
using testing_support::TurnWheel;

constexpr std::uint64_t kMb = 1024 * 1024;

class SelectionTest : public MainWindowTest {
 protected:
  bool TotalShown() { return main.lblTotalText.visible() && main.lblTotal.visible(); }
  ByteCount Total() { return main.sourceList.curTotal(); }
};

TEST_F(SelectionTest, NothingTickedShowsNoTotalAndNoBackup) {
  AddRows(3);
  EXPECT_EQ(Total(), 0);
  EXPECT_FALSE(main.lblTotalText.visible());
  EXPECT_FALSE(main.btnBackup.enabled());
}

TEST_F(SelectionTest, TickingARowAddsItsSizeShowsItAndEnablesBackup) {
  AddRow(1536);
  AddRow(3 * kMb);
  Click(main.rows[2].chkCarpeta);
  EXPECT_EQ(main.rows[2].chkCarpeta.value(), 1);
  EXPECT_TRUE(main.rows[2].chkCarpeta.bold());
  EXPECT_FALSE(main.rows[1].chkCarpeta.bold());
  EXPECT_EQ(Total(), ByteCountFromBytes(3 * kMb));
  EXPECT_EQ(main.lblTotal.caption(), L"3 MB");
  EXPECT_TRUE(TotalShown());
  EXPECT_TRUE(main.btnBackup.enabled());

  Click(main.rows[1].chkCarpeta);
  EXPECT_EQ(Total(), ByteCountFromBytes(3 * kMb + 1536));
  EXPECT_EQ(main.lblTotal.caption(), L"3 MB");
}

TEST_F(SelectionTest, UntickingLeavesTheOtherRowsTotalThenHidesIt) {
  AddRow(1536);
  AddRow(3 * kMb);
  Click(main.rows[1].chkCarpeta);
  Click(main.rows[2].chkCarpeta);
  Click(main.rows[2].chkCarpeta);
  EXPECT_EQ(main.rows[2].chkCarpeta.value(), 0);
  EXPECT_FALSE(main.rows[2].chkCarpeta.bold());
  EXPECT_EQ(main.lblTotal.caption(), L"2 KB");
  EXPECT_TRUE(TotalShown());

  Click(main.rows[1].chkCarpeta);
  EXPECT_EQ(Total(), 0);
  EXPECT_EQ(main.lblTotal.caption(), L"0 KB");
  EXPECT_FALSE(main.lblTotalText.visible());
  EXPECT_FALSE(main.lblTotal.visible());
  EXPECT_FALSE(main.btnBackup.enabled());
}

TEST_F(SelectionTest, AnEmptyRowAloneLeavesBackupDisabled) {
  AddRow(0);
  AddRow(500);
  Click(main.rows[1].chkCarpeta);
  EXPECT_TRUE(main.rows[1].chkCarpeta.bold());
  EXPECT_EQ(Total(), 0);
  EXPECT_FALSE(TotalShown());
  EXPECT_FALSE(main.btnBackup.enabled());
}

TEST_F(SelectionTest, RestoredValuesCountLikeClicks) {
  AddRow(2 * kMb);
  AddRow(kMb);
  main.rows[2].chkCarpeta.set_value(1);  // as start-up restores a saved row
  EXPECT_TRUE(main.rows[2].chkCarpeta.bold());
  EXPECT_EQ(Total(), ByteCountFromBytes(kMb));
  EXPECT_EQ(main.lblTotal.caption(), L"1024 KB");
  EXPECT_TRUE(main.btnBackup.enabled());
}

TEST_F(SelectionTest, AGrayedRowIsNeverCounted) {
  AddRow(2 * kMb);
  AddRow(kMb);
  main.rows[1].chkCarpeta.set_value(2);  // a hand-edited "2" in the settings
  EXPECT_EQ(Total(), 0);
  EXPECT_FALSE(main.rows[1].chkCarpeta.bold());
  EXPECT_FALSE(main.btnBackup.enabled());

  Click(main.rows[2].chkCarpeta);
  EXPECT_EQ(Total(), ByteCountFromBytes(kMb));
  // Leaving the grayed state for unticked takes nothing away.
  main.rows[1].chkCarpeta.set_value(0);
  EXPECT_EQ(Total(), ByteCountFromBytes(kMb));
  // A click on a grayed box ticks it, and only then does it count.
  main.rows[1].chkCarpeta.set_value(2);
  Click(main.rows[1].chkCarpeta);
  EXPECT_EQ(main.rows[1].chkCarpeta.value(), 1);
  EXPECT_EQ(Total(), ByteCountFromBytes(3 * kMb));
  // Going from ticked to grayed takes the row out of the total.
  main.rows[1].chkCarpeta.set_value(2);
  EXPECT_EQ(Total(), ByteCountFromBytes(kMb));
  EXPECT_EQ(main.lblTotal.caption(), L"1024 KB");
}

class ScrollingTest : public MainWindowTest {
 protected:
  int Top() { return main.Frame1.top(); }
};

TEST_F(ScrollingTest, NineRowsFitAndLeaveTheBarDisabled) {
  AddRows(9);
  main.SizeList();
  EXPECT_FALSE(main.VScroll1.enabled());
  EXPECT_EQ(main.VScroll1.max(), 9);
  EXPECT_EQ(main.Frame1.height(), 9 * 375);
  main.txtBackupTo.focus();
  MoveMouseOver(main.rows[3].chkCarpeta);
  MoveMouseOver(main.Frame1);
  MoveMouseOver(main.FrameBack);
  EXPECT_TRUE(main.txtBackupTo.focused());
  TurnWheel(main.VScroll1, -1);
  EXPECT_EQ(main.VScroll1.value(), 1);
  EXPECT_EQ(Top(), 0);
}

TEST_F(ScrollingTest, TenRowsEnableTheBar) {
  AddRows(10);
  main.SizeList();
  EXPECT_TRUE(main.VScroll1.enabled());
  EXPECT_EQ(main.VScroll1.max(), 10);
  EXPECT_EQ(main.VScroll1.min(), 1);
  EXPECT_EQ(main.Frame1.height(), 3750);
  EXPECT_EQ(Top(), 0) << "the list stays put until the first scroll";
}

TEST_F(ScrollingTest, TheBarsValuePlacesTheList) {
  AddRows(10);
  main.SizeList();
  main.VScroll1.set_value(10);
  EXPECT_EQ(Top(), -1100);
  main.VScroll1.set_value(1);
  EXPECT_EQ(Top(), -20);
  main.VScroll1.set_value(4);
  EXPECT_EQ(Top(), -380);
  // The rows move with the panel; their own places do not change.
  EXPECT_EQ(main.rows[10].chkCarpeta.top(), 2700);
}

TEST_F(ScrollingTest, ALineStepOfTheBarMovesTheListOneStep) {
  AddRows(12);
  main.SizeList();
  main.VScroll1.Scroll(1);  // the arrow at the bottom, as the bar reports it
  EXPECT_EQ(main.VScroll1.value(), 2);
  EXPECT_EQ(Top(), -140);
}

TEST_F(ScrollingTest, MouseMovesOverTheListFocusTheEnabledBar) {
  AddRows(10);
  main.SizeList();
  const platform::Control* overs[] = {&main.rows[4].chkCarpeta, &main.Frame1, &main.FrameBack};
  for (const platform::Control* over : overs) {
    main.txtBackupTo.focus();
    ASSERT_FALSE(main.VScroll1.focused());
    MoveMouseOver(*over);
    EXPECT_TRUE(main.VScroll1.focused());
  }
}

TEST_F(ScrollingTest, OneWheelNotchIsOneLineStep) {
  AddRows(12);
  main.SizeList();
  MoveMouseOver(main.Frame1);
  main.VScroll1.set_value(3);
  ASSERT_EQ(Top(), -260);

  TurnWheel(main.VScroll1, -1);  // towards the user
  EXPECT_EQ(main.VScroll1.value(), 4);
  EXPECT_EQ(Top(), -380);
  TurnWheel(main.VScroll1, 1);
  EXPECT_EQ(main.VScroll1.value(), 3);
  EXPECT_EQ(Top(), -260);
  TurnWheel(main.VScroll1, -20);
  EXPECT_EQ(main.VScroll1.value(), 12);
}

TEST_F(ScrollingTest, TheWheelMovesNothingWhileTheBarHasNoFocus) {
  AddRows(12);
  main.SizeList();
  main.txtBackupTo.focus();
  TurnWheel(main.VScroll1, -1);
  EXPECT_EQ(main.VScroll1.value(), 1);
  EXPECT_EQ(Top(), 0);
}

// The folder picker, answering as the user would.
class FakeDialogs : public platform::Dialogs {
 public:
  std::optional<std::wstring> answer;
  std::wstring title;
  const platform::Control* owner = nullptr;
  int shown = 0;
  std::optional<std::wstring> BrowseForFolder(const platform::Control& owner_window,
                                              const std::wstring& picker_title) override {
    ++shown;
    owner = &owner_window;
    title = picker_title;
    return answer;
  }
};

class TargetChoiceTest : public MainWindowTest {
 protected:
  TargetChoiceTest() { platform::SetDialogs(&dialogs); }
  ~TargetChoiceTest() override { platform::SetDialogs(nullptr); }
  FakeDialogs dialogs;
};

TEST_F(TargetChoiceTest, AChosenFolderReplacesTheWholeTarget) {
  main.txtBackupTo.set_text(L"D:\\old target  ");
  main.lblError.set_caption(L"Error writing to D:\\old target");
  main.lblError.set_visible(true);
  dialogs.answer = L"E:\\Copias";
  Click(main.btnBackupTo);
  EXPECT_EQ(dialogs.shown, 1);
  EXPECT_EQ(dialogs.owner, &main);
  EXPECT_EQ(dialogs.title, L"Select backup folder");
  EXPECT_EQ(main.txtBackupTo.text(), L"E:\\Copias");
  EXPECT_FALSE(main.lblError.visible());
  EXPECT_EQ(main.lblError.caption(), L"");
}

TEST_F(TargetChoiceTest, CancellingKeepsTheTargetButClearsTheError) {
  main.txtBackupTo.set_text(L"D:\\kept");
  main.lblError.set_caption(L"Invalid folder");
  main.lblError.set_visible(true);
  Click(main.btnBackupTo);
  EXPECT_EQ(dialogs.shown, 1);
  EXPECT_EQ(main.txtBackupTo.text(), L"D:\\kept");
  EXPECT_FALSE(main.lblError.visible());
  EXPECT_EQ(main.lblError.caption(), L"");
}

TEST_F(TargetChoiceTest, ThePickersTitleFollowsTheLanguage) {
  main.CanviaIdioma(L"ESP");
  Click(main.btnBackupTo);
  EXPECT_EQ(dialogs.title, L"Seleccione la carpeta de la copia de seguridad");
}

// Not a check: with TAVRIK_LIST_SCREENSHOT_SECONDS set, shows a full list,
// ticked and scrolled, for that long, so that a screenshot can be taken.
TEST_F(MainWindowTest, ShowsAScrolledListForAScreenshot) {
  std::wstring seconds = platform::EnvironmentValue(L"TAVRIK_LIST_SCREENSHOT_SECONDS");
  if (seconds.empty()) GTEST_SKIP() << "set TAVRIK_LIST_SCREENSHOT_SECONDS to look at the list";
  const wchar_t* names[] = {L"Desktop", L"Documents", L"Pictures", L"Music", L"Videos",
                            L"Favorites", L"Fonts"};
  const std::uint64_t sizes[] = {5 * kMb, 734 * kMb, 3 * 1024 * kMb, 12 * 1024 * kMb,
                                 0, 96 * 1024, 41 * kMb};
  for (int n = 0; n < 7; ++n) AddRow(sizes[n], kFolderRow, names[n]);
  const wchar_t* stores[] = {L"Personal Folders", L"Archive 2008", L"Archive 2009",
                             L"Archive 2010", L"Projects"};
  for (int n = 0; n < 5; ++n)
    AddRow((n + 1) * 300 * kMb, kMailStoreRow, std::wstring(L"Outlook [") + stores[n] + L"]");
  main.lblUser.set_caption(L"maria");
  main.lblOS.set_caption(L"Windows 7");
  main.SizeList();
  for (int i : {2, 3, 9, 11}) Click(main.rows[i].chkCarpeta);
  main.VScroll1.set_value(4);
  main.txtBackupTo.set_text(L"E:\\Copias");
  main.Show();
  auto until = std::chrono::steady_clock::now() + std::chrono::seconds(std::stoi(seconds));
  while (std::chrono::steady_clock::now() < until) {
    platform::DoEvents();
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
}

}  // namespace
}  // namespace sources
