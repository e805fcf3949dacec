// The main window as a keyboard user, a screen reader and a high-contrast
// or high-DPI screen meet it, in-process: names and roles read back through
// AccessibleObjectFromWindow, the live message line, the tab order, the
// colours the window hands its controls.
#include <gtest/gtest.h>

#include <windows.h>
#include <oleacc.h>

#include <memory>

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
    main.view_log_link.set_visible(true);  // as after a run with its log
    main.Show();
  }
  void Press(UINT message, WPARAM key) {
    PostMessageW(GetFocus(), message, key, message == WM_SYSCHAR ? 1 << 29 : 0);
    testing_support::RunPendingMessages();
  }
  MainWindow main;
};

TEST_F(AccessibilityTest, EveryControlIsNamedByWhatItShowsOrDoesInTheUsersLanguage) {
  EXPECT_EQ(Hear(main.target_box.handle()).name, L"Backup to:");
  EXPECT_EQ(Hear(main.pick_target_button.handle()).name, L"Choose folder");
  const testing_support::Heard box = Hear(main.rows[2].check_box.handle());
  EXPECT_TRUE(box.name == L"Pictures" && box.role == ROLE_SYSTEM_CHECKBUTTON);
  EXPECT_EQ(box.description, L"3 KB") << "the row's size";
  EXPECT_EQ(Hear(main.rows[2].progress_bar.handle()).name, L"Pictures") << "named after its row";
  EXPECT_EQ(Hear(main.rows[2].folder_image.handle()).name, L"Folder");
  EXPECT_EQ(Hear(main.rows[3].mail_image.handle()).name, L"Mail store");
  const testing_support::Heard copied = Hear(main.rows[1].ok_image.handle());
  EXPECT_TRUE(copied.name == L"Copied" && copied.role == ROLE_SYSTEM_GRAPHIC);
  EXPECT_TRUE(copied.has(STATE_SYSTEM_INVISIBLE)) << "a picture not shown is not read";
  EXPECT_EQ(Hear(main.rows[1].busy_image.handle()).name, L"Copying");
  EXPECT_EQ(Hear(main.total_error_image.handle()).name, L"Some files were not copied");
  const testing_support::Heard link = Hear(main.view_log_link.handle());
  EXPECT_TRUE(link.role == ROLE_SYSTEM_LINK && link.name == L"View log" && link.default_action == L"Open");
  EXPECT_TRUE(link.has(STATE_SYSTEM_FOCUSABLE) && link.has(STATE_SYSTEM_LINKED));
  const testing_support::HandedColors colors = testing_support::ColorsHandedTo(main.view_log_link.handle());
  EXPECT_GE(platform::ContrastRatio(colors.text, colors.back), 4.5) << "a link one can read";

  main.ApplyLanguage(Language::kSpanish);
  EXPECT_EQ(Hear(main.target_box.handle()).name, L"Copiar a:");
  EXPECT_EQ(Hear(main.rows[1].busy_image.handle()).name, L"Copiando");
  EXPECT_EQ(Hear(main.pick_target_button.handle()).name, L"Elegir carpeta");
}

TEST_F(AccessibilityTest, TabReachesEveryControlEnterPressesBackupAndARefusalIsSpokenEachTime) {
  main.rows[1].check_box.set_check_state(platform::CheckState::kChecked);
  main.target_box.focus();
  std::vector<HWND> walk = {GetFocus()};
  for (int step = 0; step < 12 && (walk.size() == 1 || walk.back() != walk.front()); ++step) {
    Press(WM_KEYDOWN, VK_TAB);
    walk.push_back(GetFocus());
  }
  const std::vector<HWND> expected = {
      main.target_box.handle(),        main.pick_target_button.handle(), main.write_log_box.handle(),
      main.rows[1].check_box.handle(), main.rows[2].check_box.handle(),  main.rows[3].check_box.handle(),
      main.view_log_link.handle(),     main.backup_button.handle(),      main.target_box.handle()};
  EXPECT_EQ(walk, expected);
  Press(WM_SYSCHAR, 'b');
  EXPECT_TRUE(main.target_box.focused()) << "Alt+B, the access key of \"Backup to:\"";

  testing_support::EventRecorder spoken(testing_support::kLiveRegionChanged);
  Press(WM_KEYDOWN, VK_RETURN);
  EXPECT_EQ(main.error_label.text(), main.texts.run.enter_target) << "Enter pressed Backup!";
  Press(WM_KEYDOWN, VK_RETURN);
  EXPECT_EQ(spoken.windows, std::vector<HWND>(2, main.error_label.handle()));
  Press(WM_KEYDOWN, VK_ESCAPE);
  EXPECT_TRUE(main.loaded()) << "Esc does not close the main window";
}

// No text on its own background: under a dark high-contrast scheme every
// control is handed the scheme's pairs, a refused target the highlight's.
// Then, in the usual colours, the window at twice the scale.
TEST_F(AccessibilityTest, UnderHighContrastEveryTextStandsOnTheSchemesBackgroundAndAtTwiceTheScale) {
  auto scheme = std::make_unique<testing_support::HighContrastScheme>();
  main.target_box.set_text(L"Backups");
  main.backup_button.set_enabled(true);
  main.backup_button.on_click();  // refused: no absolute path
  main.mail_status.set_fore_color(platform::Rgb(0, 128, 0));
  EnumChildWindows(main.handle(), [](HWND child, LPARAM) {
    const testing_support::HandedColors handed = testing_support::ColorsHandedTo(child);
    EXPECT_NE(handed.text, handed.back) << platform::Control::FromHandle(child)->text();
    return TRUE;
  }, 0);
  auto in = [](const platform::Control& control, int text, int back) {
    const testing_support::HandedColors handed = testing_support::ColorsHandedTo(control.handle());
    return handed.text == GetSysColor(text) && handed.back == GetSysColor(back);
  };
  EXPECT_TRUE(in(main.target_box, COLOR_HIGHLIGHTTEXT, COLOR_HIGHLIGHT));
  EXPECT_TRUE(in(main.error_label, COLOR_WINDOWTEXT, COLOR_WINDOW));
  EXPECT_TRUE(in(main.mail_status, COLOR_WINDOWTEXT, COLOR_WINDOW));
  EXPECT_TRUE(in(main.view_log_link, COLOR_HOTLIGHT, COLOR_WINDOW));
  // A picture lets the scheme's background through.
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP bitmap = CreateBitmap(16, 16, 1, 32, nullptr);
  SelectObject(dc, bitmap);
  SendMessageW(main.rows[1].folder_image.handle(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
  EXPECT_EQ(GetPixel(dc, 0, 15), GetSysColor(COLOR_WINDOW));
  DeleteDC(dc);
  DeleteObject(bitmap);
  scheme.reset();

  RECT suggested = {0, 0, 2000, 2000};  // at twice the scale (the platform's test sizes the window)
  SendMessageW(main.handle(), WM_DPICHANGED, MAKEWPARAM(192, 192), reinterpret_cast<LPARAM>(&suggested));
  RECT icon;
  GetClientRect(main.rows[1].folder_image.handle(), &icon);
  EXPECT_EQ(icon.right, 32) << "the row pictures are drawn at 32 pixels";
}

}  // namespace
}  // namespace app
