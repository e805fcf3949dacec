// File > "Schedule backups...": the user's task registered, shown, found
// deleted by hand and deleted through the test prefix's own scheduler; a
// refusal said and nothing changed; the keyboard and a screen reader.
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

using testing_support::Click;
using testing_support::Hear;

class ScheduleWindowTest : public testing::Test {
 protected:
  static void SetUpTestSuite() { _wsystem(L"net start schedule >nul 2>&1"); }  // Wine's is stopped
  void SetUp() override { owner.CreateForm({L"Owner", 9000, 7000}); }
  ScheduleWindow& Open(Language language, TaskScheduler scheduler = TaskScheduler::Real()) {
    window = std::make_unique<ScheduleWindow>(TextsOf(language).schedule, settings_file, std::move(scheduler));
    window->Create(owner);
    return *window;
  }
  bool Registered() { return platform::TaskRegistered(L"\\Tavrik Backup", platform::UserNameWithin(257)); }
  testing_support::TempFolder folder;
  const std::wstring settings_file = folder / L"TAVRIK Backup.ini";
  platform::Form owner;
  std::unique_ptr<ScheduleWindow> window;
};

TEST_F(ScheduleWindowTest, OkRegistersOrDeletesTheUsersTaskAndTheWindowShowsIt) {
  Open(Language::kEnglish);
  EXPECT_TRUE(window->off_button.checked() && window->on_battery_box.check_state() == platform::CheckState::kChecked);
  for (platform::Control* control : std::initializer_list<platform::Control*>{&window->weekly_button, &window->day_boxes[1], &window->on_battery_box}) Click(*control);
  window->time_picker.SetTime(21, 30);
  Click(window->ok_button);
  EXPECT_TRUE(Registered() && !window->loaded()) << window->error_label.text();
  Open(Language::kEnglish);
  EXPECT_TRUE(window->weekly_button.checked() && window->time_picker.hour() == 21 && window->time_picker.minute() == 30 &&
              window->day_boxes[1].enabled() && window->on_battery_box.check_state() == platform::CheckState::kUnchecked);
  EXPECT_EQ(platform::DeleteTask(L"\\Tavrik Backup", platform::UserNameWithin(257)), L"");  // by hand
  Click(Open(Language::kEnglish).logon_button);
  EXPECT_TRUE(window->logon_button.checked() && !window->day_boxes[1].enabled() && !window->time_picker.enabled());
  Click(window->ok_button);
  EXPECT_TRUE(Registered());
  Click(Open(Language::kEnglish).off_button);
  Click(window->ok_button);
  EXPECT_FALSE(Registered());
  EXPECT_EQ(settings::ReadIni(settings_file, L"schedule", L"when", L"") + settings::ReadIni(settings_file, L"schedule", L"days", L""), L"offTue");
}

// The window opens on the checked choice, the arrows move it, Tab goes on
// to the time, Enter there is OK; a refusal is said and nothing is kept.
TEST_F(ScheduleWindowTest, KeyboardScreenReaderAndARefusalInBothLanguages) {
  for (const Language language : {Language::kEnglish, Language::kSpanish}) {
    const ScheduleTexts& texts = TextsOf(language).schedule;
    settings::Schedule asked;
    Open(language, {[&](const settings::Schedule& schedule) { return asked = schedule, std::wstring(L"Denied."); },
                    [] { return std::wstring(); }, [] { return true; }});
    const testing_support::Heard off = Hear(window->off_button.handle());
    EXPECT_TRUE(off.name == texts.off && off.role == ROLE_SYSTEM_RADIOBUTTON && off.has(STATE_SYSTEM_CHECKED));
    EXPECT_EQ(Hear(window->time_picker.handle()).name + L"|" + Hear(window->day_boxes[6].handle()).name + L"|" +
              Hear(window->on_battery_box.handle()).name, platform::SpokenText(texts.time) + L"|" + texts.day_names[6] + L"|" + texts.on_battery);
    Click(window->weekly_button);
    Click(window->ok_button);
    EXPECT_EQ(window->error_label.text(), texts.no_day);
    Click(window->off_button);
    std::vector<HWND> focus;
    const std::vector<HWND> expected = {window->off_button.handle(), window->daily_button.handle(),
                                        window->time_picker.handle(), window->time_picker.handle()};
    std::wstring said;
    platform::Timer user;
    user.Create(*window, 20, true);
    user.on_tick = [&] {
      focus.push_back(GetFocus());
      const WPARAM keys[] = {VK_DOWN, VK_TAB, VK_RETURN};
      if (focus.size() <= 3) return void(PostMessageW(GetFocus(), WM_KEYDOWN, keys[focus.size() - 1], 0));
      said = window->error_label.text();
      window->Unload();
    };
    window->ShowModal(owner);
    EXPECT_EQ(focus, expected);
    EXPECT_TRUE(asked.when == settings::ScheduleKind::kDaily && !platform::FileExists(settings_file));
    EXPECT_EQ(said, texts.not_scheduled + L"Denied.");
  }
}

}  // namespace
}  // namespace app
