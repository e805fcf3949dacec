// The About window for the keyboard and a screen reader: it opens on its
// button, the home-page link is the next stop and a link, Enter and Esc
// work, the focus goes back where it was, the status line is spoken.
#include <gtest/gtest.h>

#include <windows.h>
#include <oleacc.h>

#include "app/res/resource.h"
#include "app/texts.h"
#include "platform/timer.h"
#include "support/http_server.h"
#include "support/screen_reader.h"
#include "support/window_input.h"
#include "update/about_window.h"

namespace update {
namespace {

struct AboutKeyboardTest : testing::Test {
  AboutKeyboardTest() {
    testing_support::ForgetQuit();
    owner.CreateForm({L"Owner", 9000, 7000});
    owner_box.Create({&owner, {240, 240, 3000, 375}, {}}, L"");
    owner.Show();
    owner_box.focus();
  }
  void Prepare(AboutWindow& about) {
    about.texts = app::TextsOf(app::Language::kEnglish).about;
    about.update_server = testing_support::RefusingUrl();
    about.home_page = L"http://home.example/";
    about.shell_open = [this](const std::wstring& file, const std::wstring*, const std::wstring*) {
      opened.push_back(file);
      return 42;
    };
    about.Create(owner, IDR_LOGO);
    about.OnLoad();
  }
  // Shows about modally while a user presses keys: each tick of a timer
  // runs the next step, the last of which should close the window.
  void UseModally(AboutWindow& about, std::vector<std::function<void()>> steps) {
    platform::Timer user;
    user.Create(about, 20, true);
    size_t next = 0;
    user.on_tick = [&] {
      if (next < steps.size()) steps[next++]();
    };
    about.ShowModal(owner);
  }
  static void Key(WPARAM key) { PostMessageW(GetFocus(), WM_KEYDOWN, key, 0); }

  platform::Form owner;
  platform::TextBox owner_box;
  std::vector<std::wstring> opened;
};

TEST_F(AboutKeyboardTest, OpensOnItsButtonTheLinkComesNextEscClosesAndTheFocusGoesBack) {
  AboutWindow about;
  Prepare(about);
  std::vector<HWND> focus;
  testing_support::Heard link;
  UseModally(about, {[&] {
                       focus.push_back(GetFocus());
                       testing_support::SaveScreenshot(about.handle(), L"about-focused");
                       Key(VK_TAB);
                     },
                     [&] {
                       focus.push_back(GetFocus());
                       link = testing_support::Hear(about.home_page_link.handle());
                       Key(VK_RETURN);
                       Key(VK_SPACE);
                     },
                     [&] { Key(VK_ESCAPE); }});
  EXPECT_EQ(focus, (std::vector<HWND>{about.button.handle(), about.home_page_link.handle()}));
  EXPECT_EQ(link.role, ROLE_SYSTEM_LINK);
  EXPECT_EQ(link.default_action, L"Open");
  EXPECT_EQ(opened, std::vector<std::wstring>(2, L"http://home.example/")) << "Enter and Space";
  EXPECT_FALSE(about.loaded());
  EXPECT_TRUE(owner_box.focused()) << "back where it was before About";
}

TEST_F(AboutKeyboardTest, EnterPressesTheButtonTheStatusIsSpokenAndNoTextHidesInHighContrast) {
  AboutWindow about;
  Prepare(about);
  EXPECT_EQ(testing_support::Hear(about.logo.handle()).name, L"Tavrik Backup");
  {
    testing_support::HighContrastScheme scheme;
    about.status.set_text(about.texts.error_updating);
    EnumChildWindows(about.handle(), [](HWND child, LPARAM) {
      const testing_support::HandedColors handed = testing_support::ColorsHandedTo(child);
      EXPECT_NE(handed.text, handed.back) << platform::Control::FromHandle(child)->text();
      return TRUE;
    }, 0);
  }
  testing_support::EventRecorder spoken(testing_support::kLiveRegionChanged);
  about.status.set_text(about.texts.updating);
  platform::DoEvents();
  EXPECT_EQ(spoken.windows, std::vector<HWND>{about.status.handle()});
  UseModally(about, {[] { Key(VK_RETURN); }});
  EXPECT_FALSE(about.loaded()) << "the button, in its close role, closed the window";
}

}  // namespace
}  // namespace update
