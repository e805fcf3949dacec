// The About window for the keyboard and a screen reader: it opens on its
// button, the home-page link is the next stop and a link, Enter and Esc
// work, the focus goes back where it was, the status line is spoken. (The
// colours under high contrast are every form's: tests/app.)
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

using testing_support::Hear;

// Shows about modally over owner while a user presses keys: each tick of a
// timer runs the next step; the last should close the window.
void UseModally(AboutWindow& about, platform::Form& owner, std::vector<std::function<void()>> steps) {
  platform::Timer user;
  user.Create(about, 20, true);
  size_t next = 0;
  user.on_tick = [&] {
    if (next < steps.size()) steps[next++]();
  };
  about.ShowModal(owner);
}

void Key(WPARAM key) { PostMessageW(GetFocus(), WM_KEYDOWN, key, 0); }

TEST(AboutKeyboardTest, ButtonFirstLinkNextEnterEscFocusBackStatusSpoken) {
  testing_support::ForgetQuit();
  platform::Form owner;
  owner.CreateForm({L"Owner", 9000, 7000});
  platform::TextBox owner_box;
  owner_box.Create({&owner, {240, 240, 3000, 375}, {}}, L"");
  owner.Show();
  owner_box.focus();
  std::vector<std::wstring> opened;
  AboutWindow about;
  about.texts = app::TextsOf(app::Language::kEnglish).about;
  about.update_server = testing_support::RefusingUrl();
  about.home_page = L"http://home.example/";
  about.shell_open = [&](const std::wstring& file, const std::wstring*, const std::wstring*) {
    return opened.push_back(file), 42;
  };
  about.Create(owner, IDR_LOGO);
  about.OnLoad();
  EXPECT_EQ(Hear(about.logo.handle()).name, L"Tavrik Backup");
  {
    testing_support::EventRecorder spoken(testing_support::kLiveRegionChanged);
    about.status.set_text(about.texts.error_updating);
    testing_support::RunPendingMessages();
    EXPECT_EQ(spoken.windows, std::vector<HWND>{about.status.handle()});
  }
  std::vector<HWND> focus;
  testing_support::Heard link;
  UseModally(about, owner, {[&] {
    focus.push_back(GetFocus());
    Key(VK_TAB);
  }, [&] {
    focus.push_back(GetFocus());
    link = Hear(about.home_page_link.handle());
    Key(VK_RETURN);
  }, [] { Key(VK_ESCAPE); }});
  EXPECT_EQ(focus, (std::vector<HWND>{about.button.handle(), about.home_page_link.handle()}));
  EXPECT_TRUE(link.role == ROLE_SYSTEM_LINK && link.default_action == L"Open");
  EXPECT_EQ(opened, std::vector<std::wstring>{L"http://home.example/"});
  EXPECT_FALSE(about.loaded());
  EXPECT_TRUE(owner_box.focused()) << "back where it was before About";
}

}  // namespace
}  // namespace update
