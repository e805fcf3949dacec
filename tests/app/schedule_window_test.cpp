// File > "Schedule backups...": the user's task registered, looked up and
// deleted through the test prefix's own Task Scheduler; the stored choice
// shown, "Off" once the task was deleted by hand; a refusal said and
// nothing changed; the keyboard and a screen reader in both languages.
#include <gtest/gtest.h>

#include <windows.h>
#include <oleacc.h>

#include <cstdlib>

#include "app/schedule_window.h"
#include "app/texts.h"
#include "platform/scheduled_task.h"
#include "platform/system_facts.h"
#include "platform/timer.h"
#include "settings/ini_file.h"
#include "support/screen_reader.h"
#include "support/temp_folder.h"
#include "support/window_input.h"

namespace app {
namespace {

using settings::ScheduleKind;
using testing_support::Hear;

class ScheduleWindowTest : public testing::Test {
 protected:
  // Wine keeps the scheduler's service stopped until asked.
  static void SetUpTestSuite() { _wsystem(L"net start schedule >nul 2>&1"); }
  void SetUp() override {
    testing_support::ForgetQuit();
    owner.CreateForm({L"Owner", 9000, 7000});
  }
  std::wstring Stored(const wchar_t* key) { return settings::ReadIni(settings_file, L"schedule", key, L"-"); }
  const ScheduleTexts& english = TextsOf(Language::kEnglish).schedule;
  testing_support::TempFolder folder;
  const std::wstring settings_file = folder / L"TAVRIK Backup.ini";
  platform::Form owner;
};

TEST_F(ScheduleWindowTest, RegistersShowsLooksUpAndDeletesTheUsersTask) {
  const std::wstring user = platform::UserNameWithin(257);
  {
    ScheduleWindow window(english, settings_file);
    window.Create(owner);
    EXPECT_TRUE(window.off_button.checked() && window.on_battery_box.check_state() == platform::CheckState::kChecked);
    testing_support::Click(window.weekly_button);
    window.time_picker.SetTime(21, 30);
    testing_support::Click(window.day_boxes[1]);
    testing_support::Click(window.on_battery_box);
    testing_support::Click(window.ok_button);
    EXPECT_FALSE(window.loaded()) << window.error_label.text();
  }
  EXPECT_TRUE(platform::TaskRegistered(L"\\Tavrik Backup", user));
  EXPECT_EQ(Stored(L"when") + Stored(L"time") + Stored(L"days") + Stored(L"battery"), L"weekly21:30Tue0");
  ScheduleWindow shown(english, settings_file);
  shown.Create(owner);
  EXPECT_TRUE(shown.weekly_button.checked() && shown.time_picker.hour() == 21 && shown.time_picker.minute() == 30);
  EXPECT_TRUE(shown.day_boxes[1].enabled() && shown.on_battery_box.check_state() == platform::CheckState::kUnchecked);
  shown.Unload();

  EXPECT_EQ(platform::DeleteTask(L"\\Tavrik Backup", user), L"");  // by hand
  ScheduleWindow deleted(english, settings_file);
  deleted.Create(owner);
  EXPECT_TRUE(deleted.off_button.checked() && !deleted.day_boxes[1].enabled() && !deleted.time_picker.enabled());
  testing_support::Click(deleted.logon_button);
  testing_support::Click(deleted.ok_button);
  EXPECT_TRUE(platform::TaskRegistered(L"\\Tavrik Backup", user));
  ScheduleWindow off(english, settings_file);
  off.Create(owner);
  EXPECT_TRUE(off.logon_button.checked());
  testing_support::Click(off.off_button);
  testing_support::Click(off.ok_button);
  EXPECT_FALSE(platform::TaskRegistered(L"\\Tavrik Backup", user));
  EXPECT_EQ(Stored(L"when"), L"off");
}

TEST_F(ScheduleWindowTest, ARefusalIsSaidAndChangesNothingAWeekNeedsADay) {
  int registered = 0;
  TaskScheduler refusing{[&](const settings::Schedule&) { return ++registered, std::wstring(L"Access is denied."); },
                         [] { return std::wstring(L"Access is denied."); }, [] { return false; }};
  ScheduleWindow window(english, settings_file, refusing);
  window.Create(owner);
  testing_support::Click(window.weekly_button);
  testing_support::Click(window.ok_button);
  EXPECT_EQ(window.error_label.text(), english.no_day);
  testing_support::Click(window.daily_button);
  testing_support::Click(window.ok_button);
  EXPECT_EQ(window.error_label.text(), english.not_scheduled + L"Access is denied.");
  EXPECT_TRUE(window.loaded() && registered == 1);
  EXPECT_FALSE(platform::FileExists(settings_file));
  testing_support::SaveScreenshot(window.handle(), L"schedule-refused");
  RECT suggested = {0, 0, 2000, 2000};
  SendMessageW(window.handle(), WM_DPICHANGED, MAKEWPARAM(192, 192), reinterpret_cast<LPARAM>(&suggested));
  testing_support::SaveScreenshot(window.handle(), L"schedule-192-dpi");
}

// Tab reaches the checked choice, the arrows move it, Tab goes on to the
// time and Enter is OK; a screen reader hears every control's name.
TEST_F(ScheduleWindowTest, KeyboardAndScreenReaderInBothLanguages) {
  for (const Language language : {Language::kEnglish, Language::kSpanish}) {
    const ScheduleTexts& texts = TextsOf(language).schedule;
    settings::Schedule chosen;
    TaskScheduler recording{[&](const settings::Schedule& schedule) { return chosen = schedule, std::wstring(); },
                            [] { return std::wstring(); }, [] { return true; }};
    ScheduleWindow window(texts, settings_file, recording);
    window.Create(owner);
    const testing_support::Heard off = Hear(window.off_button.handle());
    EXPECT_TRUE(off.name == texts.off && off.role == ROLE_SYSTEM_RADIOBUTTON && off.has(STATE_SYSTEM_CHECKED));
    EXPECT_EQ(Hear(window.logon_button.handle()).name, texts.logon);
    EXPECT_EQ(Hear(window.time_picker.handle()).name, platform::SpokenText(texts.time));
    EXPECT_EQ(Hear(window.day_boxes[6].handle()).name, texts.day_names[6]);
    EXPECT_EQ(Hear(window.on_battery_box.handle()).name, texts.on_battery);
    EXPECT_EQ(Hear(window.ok_button.handle()).name, texts.ok);
    std::vector<HWND> focus;
    platform::Timer user;
    user.Create(window, 20, true);
    int step = 0;
    auto key = [](WPARAM key) { PostMessageW(GetFocus(), WM_KEYDOWN, key, 0); };
    user.on_tick = [&] {
      focus.push_back(GetFocus());
      const WPARAM keys[] = {VK_DOWN, VK_TAB, VK_RETURN};
      if (step == 1) testing_support::SaveScreenshot(window.handle(), language == Language::kEnglish ? L"schedule-en" : L"schedule-es");
      if (step < 3) key(keys[step++]);
    };
    window.ShowModal(owner);
    ASSERT_GE(focus.size(), 3u);
    EXPECT_EQ(focus[0], window.off_button.handle());
    EXPECT_EQ(focus[1], window.daily_button.handle());
    EXPECT_EQ(focus[2], window.time_picker.handle());
    EXPECT_EQ(chosen.when, ScheduleKind::kDaily);
  }
}

}  // namespace
}  // namespace app
