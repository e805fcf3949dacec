// File > "Schedule backups...": a small modal window where the user
// chooses when the system's Task Scheduler runs "TavrikBackup.exe /backup"
// (never, every day, some days of the week, at sign-in) and whether on
// battery power too. OK registers or deletes the task first and keeps the
// choice in the settings file only when the scheduler took it; a refusal
// is said in the window and changes nothing.
#pragma once

#include <functional>
#include <string>

#include "app/schedule_texts.h"
#include "platform/controls.h"
#include "settings/schedule.h"

namespace app {

// The user's task in the system's scheduler; tests put their own in place.
struct TaskScheduler {
  // "" when done, else the system's words for why not.
  std::function<std::wstring(const settings::Schedule& schedule)> register_task;
  std::function<std::wstring()> delete_task;
  std::function<bool()> task_registered;
  // The user's task in "\Tavrik Backup", named after the user, running this
  // program.
  static TaskScheduler Real();
};

class ScheduleWindow : public platform::Form {
 public:
  ScheduleWindow(const ScheduleTexts& texts, const std::wstring& settings_file,
                 TaskScheduler scheduler = TaskScheduler::Real());
  // Creates the window, owned by (and centred on) owner, showing the stored
  // choice, or "Off" when its task is no longer registered.
  void Create(const platform::Form& owner);

  void OnOkClick();
  void OnChoiceClick();

  platform::RadioButton off_button, daily_button, weekly_button, logon_button;
  platform::CheckBox day_boxes[settings::kDaysInWeek];
  platform::Label time_label;
  platform::TimePicker time_picker;
  platform::CheckBox on_battery_box;
  platform::Label error_label;
  platform::Button ok_button, cancel_button;

 private:
  void ShowChoice(const settings::Schedule& schedule);
  settings::Schedule Chosen() const;
  bool SaveSettings(const settings::Schedule& schedule) const;

  const ScheduleTexts& texts_;
  std::wstring settings_file_;
  TaskScheduler scheduler_;
};

// Reads the stored choice: what the settings file keeps under [schedule].
settings::Schedule StoredScheduleIn(const std::wstring& settings_file);

// Opens the window modally over owner.
void ShowSchedule(platform::Form& owner, const ScheduleTexts& texts,
                  const std::wstring& settings_file);

}  // namespace app
