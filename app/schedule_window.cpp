// The schedule window: its design, the stored choice shown, and OK.
#include "app/schedule_window.h"

#include "app/task_definition.h"
#include "platform/files.h"
#include "platform/local_time.h"
#include "platform/scheduled_task.h"
#include "platform/system_facts.h"
#include "settings/ini_file.h"

namespace app {
namespace {

using platform::Font;
using platform::Layout;
using settings::Schedule;
using settings::ScheduleKind;

constexpr wchar_t kTaskFolder[] = L"\\Tavrik Backup";
constexpr wchar_t kSection[] = L"schedule";

LocalMinute Now() {
  // What a task's first start is counted from.
  const platform::CalendarMinute now = platform::LocalNow();
  return {now.year, now.month, now.day, now.hour, now.minute};
}

}  // namespace

TaskScheduler TaskScheduler::Real() {
  const std::wstring name = platform::UserNameWithin(257);
  return {[name](const Schedule& schedule) {
            const std::wstring user = platform::CurrentUserSid();
            const std::wstring xml =
                TaskDefinitionXml({schedule, platform::ProgramPath(), user, Now()});
            return platform::RegisterTask(kTaskFolder, name, xml, user);
          },
          [name] { return platform::DeleteTask(kTaskFolder, name); },
          [name] { return platform::TaskRegistered(kTaskFolder, name); }};
}

Schedule StoredScheduleIn(const std::wstring& settings_file) {
  auto read = [&](const wchar_t* key) { return settings::ReadIni(settings_file, kSection, key, L""); };
  return settings::ReadSchedule({read(L"when"), read(L"time"), read(L"days"), read(L"battery")});
}

ScheduleWindow::ScheduleWindow(const ScheduleTexts& texts, const std::wstring& settings_file,
                               TaskScheduler scheduler)
    : texts_(texts), settings_file_(settings_file), scheduler_(std::move(scheduler)) {}

// Tab order is the order below: the choice (arrow keys within it), the
// time, the days, the battery box, OK and Cancel. Enter is OK, Esc Cancel.
void ScheduleWindow::Create(const platform::Form& owner) {
  CreateForm({texts_.title, 6000, 4560, Border::kFixedSingle, Font{L"Tahoma", 8.25}}, &owner);
  const Font body{L"Tahoma", 9.75};
  using Group = platform::RadioButton::Group;
  off_button.Create(Layout{this, {240, 240, 5520, 300}, body}, texts_.off, Group::kFirst);
  daily_button.Create(Layout{this, {240, 600, 5520, 300}, body}, texts_.daily, Group::kNext);
  weekly_button.Create(Layout{this, {240, 960, 5520, 300}, body}, texts_.weekly, Group::kNext);
  logon_button.Create(Layout{this, {240, 1320, 5520, 300}, body}, texts_.logon, Group::kNext);
  time_label.Create(Layout{this, {240, 1800, 1200, 300}, body}, texts_.time);
  platform::StartGroupAt(time_label);
  time_picker.Create(Layout{this, {1440, 1740, 1560, 375}, body});
  time_label.GiveAccessKeyTo(time_picker);
  time_picker.set_accessible_name_from(time_label);
  for (int day = 0; day < settings::kDaysInWeek; ++day) {
    day_boxes[day].Create(Layout{this, {240 + day * 780, 2280, 780, 300}, body}, texts_.day_boxes[day]);
    day_boxes[day].set_accessible_name(texts_.day_names[day]);
  }
  on_battery_box.Create(Layout{this, {240, 2760, 5520, 300}, body}, texts_.on_battery);
  error_label.Create(Layout{this, {240, 3180, 5520, 600}, body}, L"");
  error_label.set_fore_color(platform::Rgb(192, 0, 0));
  error_label.set_live_region();
  ok_button.Create(Layout{this, {2640, 3960, 1500, 420}, body}, texts_.ok);
  cancel_button.Create(Layout{this, {4260, 3960, 1500, 420}, body}, texts_.cancel);
  set_default_button(ok_button);
  escape_closes = true;
  CenterOnOwner();

  for (platform::RadioButton* choice : {&off_button, &daily_button, &weekly_button, &logon_button})
    choice->on_click = [this] { OnChoiceClick(); };
  ok_button.on_click = [this] { OnOkClick(); };
  cancel_button.on_click = [this] { Unload(); };

  Schedule stored = StoredScheduleIn(settings_file_);
  if (stored.when != ScheduleKind::kOff && !scheduler_.task_registered())
    stored.when = ScheduleKind::kOff;  // deleted by hand: the rest stays as a suggestion
  ShowChoice(stored);
}

void ScheduleWindow::ShowChoice(const Schedule& schedule) {
  platform::RadioButton* const choices[] = {&off_button, &daily_button, &weekly_button, &logon_button};
  choices[static_cast<int>(schedule.when)]->Check();
  time_picker.SetTime(schedule.hour, schedule.minute);
  for (int day = 0; day < settings::kDaysInWeek; ++day)
    day_boxes[day].set_check_state(schedule.days[day] ? platform::CheckState::kChecked
                                                      : platform::CheckState::kUnchecked);
  on_battery_box.set_check_state(schedule.on_battery ? platform::CheckState::kChecked
                                                     : platform::CheckState::kUnchecked);
  OnChoiceClick();
}

// The time goes with a day or a week, the days with a week.
void ScheduleWindow::OnChoiceClick() {
  const bool weekly = weekly_button.checked();
  time_label.set_enabled(weekly || daily_button.checked());
  time_picker.set_enabled(weekly || daily_button.checked());
  for (platform::CheckBox& box : day_boxes) box.set_enabled(weekly);
}

Schedule ScheduleWindow::Chosen() const {
  Schedule chosen;
  if (daily_button.checked()) chosen.when = ScheduleKind::kDaily;
  if (weekly_button.checked()) chosen.when = ScheduleKind::kWeekly;
  if (logon_button.checked()) chosen.when = ScheduleKind::kLogon;
  chosen.hour = time_picker.hour();
  chosen.minute = time_picker.minute();
  for (int day = 0; day < settings::kDaysInWeek; ++day)
    chosen.days[day] = day_boxes[day].check_state() == platform::CheckState::kChecked;
  chosen.on_battery = on_battery_box.check_state() == platform::CheckState::kChecked;
  return chosen;
}

// The scheduler first: only a choice it took is kept.
void ScheduleWindow::OnOkClick() {
  const Schedule chosen = Chosen();
  bool any_day = false;
  for (bool day : chosen.days) any_day = any_day || day;
  if (chosen.when == ScheduleKind::kWeekly && !any_day) {
    error_label.set_text(texts_.no_day);
    return;
  }
  const std::wstring refusal = chosen.when == ScheduleKind::kOff ? scheduler_.delete_task()
                                                                 : scheduler_.register_task(chosen);
  if (!refusal.empty()) {
    error_label.set_text(texts_.not_scheduled + refusal);
    return;
  }
  if (!SaveSettings(chosen)) {
    error_label.set_text(texts_.not_saved);
    return;
  }
  Unload();
}

bool ScheduleWindow::SaveSettings(const Schedule& schedule) const {
  const settings::StoredSchedule stored = settings::StoreSchedule(schedule);
  bool saved = true;
  for (const auto& [key, value] : {std::pair<const wchar_t*, const std::wstring&>{L"when", stored.when},
                                   {L"time", stored.time}, {L"days", stored.days},
                                   {L"battery", stored.battery}})
    saved = settings::WriteIni(settings_file_, kSection, key, value) && saved;
  return saved;
}

void ShowSchedule(platform::Form& owner, const ScheduleTexts& texts,
                  const std::wstring& settings_file) {
  ScheduleWindow window(texts, settings_file);
  window.Create(owner);
  window.ShowModal(owner);
}

}  // namespace app
