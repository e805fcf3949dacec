// The main window as a keyboard user, a screen reader and a high-contrast
// or high-DPI screen meet it, in-process: names and roles read back through
// AccessibleObjectFromWindow, the live message line, the tab order, the
// colours the window hands its controls, and the layout at twice the scale.
#include <gtest/gtest.h>

#include <windows.h>
#include <oleacc.h>

#include <set>

#include "app/main_window.h"
#include "support/screen_reader.h"
#include "support/window_input.h"

namespace app {
namespace {

using testing_support::Hear;

class AccessibilityTest : public testing::Test {
 protected:
  AccessibilityTest() {
    testing_support::ForgetQuit();
    main.Create();
    main.ApplyLanguage(Language::kEnglish);
    const wchar_t* names[] = {L"Documents", L"Pictures", L"Outlook [Archive]"};
    for (int i = 1; i <= 3; ++i) {
      sources::SourceRow& row = i == 1 ? main.rows[1] : main.AddRow(i == 3 ? sources::kMailStoreRow
                                                                             : sources::kFolderRow);
      row.size = sources::TenThousandthBytesFromBytes(1536 * i);
      row.size_label.set_text(sources::SizeText(row.size));
      row.check_box.set_text(names[i - 1]);
    }
    main.source_list.FitToRows();
    main.Show();
  }
  void Press(UINT message, WPARAM key) {
    PostMessageW(GetFocus(), message, key, message == WM_SYSCHAR ? 1 << 29 : 0);
    platform::DoEvents();
  }
  MainWindow main;
};

TEST_F(AccessibilityTest, EveryControlIsNamedByWhatItShowsOrDoesInTheUsersLanguage) {
  EXPECT_EQ(Hear(main.target_box.handle()).name, L"Backup to:");
  EXPECT_EQ(Hear(main.pick_target_button.handle()).name, L"Choose folder");
  const testing_support::Heard box = Hear(main.rows[2].check_box.handle());
  EXPECT_EQ(box.name, L"Pictures");
  EXPECT_EQ(box.description, L"3 KB") << "the row's size";
  EXPECT_EQ(box.role, ROLE_SYSTEM_CHECKBUTTON);
  EXPECT_EQ(Hear(main.rows[2].progress_bar.handle()).name, L"Pictures") << "named after its row";
  EXPECT_EQ(Hear(main.rows[2].folder_image.handle()).name, L"Folder");
  EXPECT_EQ(Hear(main.rows[3].mail_image.handle()).name, L"Mail store");
  const testing_support::Heard copied = Hear(main.rows[1].ok_image.handle());
  EXPECT_EQ(copied.role, ROLE_SYSTEM_GRAPHIC);
  EXPECT_EQ(copied.name, L"Copied");
  EXPECT_TRUE(copied.has(STATE_SYSTEM_INVISIBLE)) << "a picture not shown is not read";
  EXPECT_EQ(Hear(main.rows[1].busy_image.handle()).name, L"Copying");
  EXPECT_EQ(Hear(main.total_error_image.handle()).name, L"Some files were not copied");

  main.view_log_link.set_visible(true);
  const testing_support::HandedColors link_colors = testing_support::ColorsHandedTo(main.view_log_link.handle());
  EXPECT_GE(platform::ContrastRatio(link_colors.text, link_colors.back), 4.5) << "a link one can read";
  const testing_support::Heard link = Hear(main.view_log_link.handle());
  EXPECT_EQ(link.role, ROLE_SYSTEM_LINK);
  EXPECT_EQ(link.name, L"View log");
  EXPECT_EQ(link.default_action, L"Open");
  EXPECT_TRUE(link.has(STATE_SYSTEM_FOCUSABLE) && link.has(STATE_SYSTEM_LINKED));
  int opened = 0;
  main.view_log_link.on_click = [&] { ++opened; };
  EXPECT_TRUE(testing_support::DoDefaultAction(main.view_log_link.handle()));
  EXPECT_EQ(opened, 1);

  main.ApplyLanguage(Language::kSpanish);
  EXPECT_EQ(Hear(main.target_box.handle()).name, L"Copiar a:");
  EXPECT_EQ(Hear(main.rows[1].busy_image.handle()).name, L"Copiando");
  EXPECT_EQ(Hear(main.pick_target_button.handle()).name, L"Elegir carpeta");
}

TEST_F(AccessibilityTest, EnterInTheTargetBoxPressesBackupAndARefusalIsSpokenEachTime) {
  testing_support::EventRecorder spoken(testing_support::kLiveRegionChanged);
  main.rows[1].check_box.set_check_state(platform::CheckState::kChecked);
  main.target_box.focus();
  Press(WM_KEYDOWN, VK_RETURN);
  EXPECT_EQ(main.error_label.text(), main.texts.run.enter_target);
  Press(WM_KEYDOWN, VK_RETURN);
  EXPECT_EQ(spoken.windows, std::vector<HWND>(2, main.error_label.handle()));
}

TEST_F(AccessibilityTest, TabReachesEveryActionableControlInOrderAndAltBTheTarget) {
  main.rows[1].check_box.set_check_state(platform::CheckState::kChecked);
  main.view_log_link.set_visible(true);  // as after a run with its log
  main.target_box.focus();
  Press(WM_SYSCHAR, 'x');  // no control's key: the focus stays
  std::vector<HWND> walk = {GetFocus()};
  for (int step = 0; step < 12 && (walk.size() == 1 || walk.back() != walk.front()); ++step) {
    Press(WM_KEYDOWN, VK_TAB);
    walk.push_back(GetFocus());
  }
  const std::vector<HWND> expected = {
      main.target_box.handle(),         main.pick_target_button.handle(),
      main.write_log_box.handle(),      main.rows[1].check_box.handle(),
      main.rows[2].check_box.handle(),  main.rows[3].check_box.handle(),
      main.view_log_link.handle(),      main.backup_button.handle(),
      main.target_box.handle()};
  EXPECT_EQ(walk, expected);
  Press(WM_SYSCHAR, 'b');
  EXPECT_TRUE(main.target_box.focused()) << "Alt+B, the access key of \"Backup to:\"";
}

// No text on its own background: under a dark high-contrast scheme every
// control is handed the scheme's pairs, a refused target the highlight's.
TEST_F(AccessibilityTest, UnderHighContrastEveryTextStandsOnTheSchemesBackground) {
  testing_support::HighContrastScheme scheme;
  main.view_log_link.set_visible(true);
  main.target_box.set_text(L"");
  main.backup_button.set_enabled(true);
  main.backup_button.on_click();  // refused: no target
  main.mail_status.set_fore_color(platform::Rgb(0, 128, 0));
  std::set<HWND> children;
  EnumChildWindows(main.handle(), [](HWND child, LPARAM all) {
    reinterpret_cast<std::set<HWND>*>(all)->insert(child);
    return TRUE;
  }, reinterpret_cast<LPARAM>(&children));
  for (HWND child : children) {
    const testing_support::HandedColors handed = testing_support::ColorsHandedTo(child);
    EXPECT_NE(handed.text, handed.back) << platform::Control::FromHandle(child)->text();
  }
  auto is = [](HWND control, int text, int back) {
    const testing_support::HandedColors handed = testing_support::ColorsHandedTo(control);
    return handed.text == GetSysColor(text) && handed.back == GetSysColor(back);
  };
  EXPECT_TRUE(is(main.target_box.handle(), COLOR_HIGHLIGHTTEXT, COLOR_HIGHLIGHT));
  EXPECT_TRUE(is(main.error_label.handle(), COLOR_WINDOWTEXT, COLOR_WINDOW));
  EXPECT_TRUE(is(main.mail_status.handle(), COLOR_WINDOWTEXT, COLOR_WINDOW));
  EXPECT_TRUE(is(main.view_log_link.handle(), COLOR_HOTLIGHT, COLOR_WINDOW));
  // A picture lets the scheme's background through.
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP bitmap = CreateBitmap(16, 16, 1, 32, nullptr);
  SelectObject(dc, bitmap);
  SendMessageW(main.rows[1].folder_image.handle(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
  EXPECT_EQ(GetPixel(dc, 0, 15), GetSysColor(COLOR_WINDOW));
  DeleteDC(dc);
  DeleteObject(bitmap);
  testing_support::SaveScreenshot(main.handle(), L"high-contrast-refused-target");
}

// (The window's own size at a new scale is the platform's; a screen smaller
// than the window at 192 DPI would hold it back here.)
TEST_F(AccessibilityTest, AtTwiceTheScaleTheWindowIsLaidOutAgainAtTwiceItsSize) {
  RECT frame, button;
  GetWindowRect(main.handle(), &frame);
  RECT suggested = {0, 0, 2 * (frame.right - frame.left), 2 * (frame.bottom - frame.top)};
  SendMessageW(main.handle(), WM_DPICHANGED, MAKEWPARAM(192, 192), reinterpret_cast<LPARAM>(&suggested));
  GetClientRect(main.backup_button.handle(), &button);
  EXPECT_EQ(button.right, platform::TwipsToPixels(1935, 192));
  RECT icon;
  GetClientRect(main.rows[1].folder_image.handle(), &icon);
  EXPECT_EQ(icon.right, 32) << "the row pictures are drawn at 32 pixels";
  testing_support::SaveScreenshot(main.handle(), L"main-192-dpi");
}

}  // namespace
}  // namespace app
