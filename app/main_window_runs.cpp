// The main window and its runs' record: [lastrun] written at the end of
// every run and the line that shows it, and the backup another start of the
// program asks for.
#include "app/main_window.h"

#include "platform/local_time.h"
#include "settings/ini_file.h"

namespace app {
namespace {

Minute MinuteOf(const platform::CalendarMinute& time) {
  return {time.year, time.month, time.day, time.hour, time.minute};
}

std::wstring DateTimeText(const Minute& time) {
  return platform::ShortDateTimeText({time.year, time.month, time.day, time.hour, time.minute});
}

LastRun StoredLastRun(const std::wstring& settings_file) {
  return ReadLastRun([&](const wchar_t* key) {
    return settings::ReadIni(settings_file, kLastRunSection, key, L"");
  });
}

}  // namespace

void MainWindow::ShowLastRun() {
  const LastRun record = StoredLastRun(settings_file);
  last_run_label.set_text(LastRunLine(record, texts.last_run, DateTimeText));
  last_run_label.set_fore_color(LastRunNeedsAttention(record, MinuteOf(platform::LocalNow()))
                                    ? platform::Rgb(192, 0, 0)
                                    : CLR_INVALID);
}

// A press refused before anything began (an empty target box) is a
// mistake corrected at once, not a run, unless no one is there to correct
// it.
void MainWindow::RecordRun(const backup::RunEnd& end) {
  if (end.refused_at_press && !unattended) return;
  const RunResult result = WriteLastRun(end);
  if (on_run_recorded) on_run_recorded(result, end);
}

RunResult MainWindow::WriteLastRun(const backup::RunEnd& end) {
  const RunResult result = ResultOfRun(end.target_refused, end.cancelled, end.failed);
  const LastRun record = NextLastRun(StoredLastRun(settings_file), MinuteOf(platform::LocalNow()),
                                     result, end.not_copied);
  for (const LastRunValue& value : LastRunValues(record))
    settings::WriteIni(settings_file, kLastRunSection, value.key, value.value);
  ShowLastRun();
  return result;
}

// An unattended window runs its own backup only, and ends after it.
bool MainWindow::StartBackupForAnotherStart() {
  if (unattended || !enabled() || backup_run.running()) return false;
  OnBackupClick();
  return backup_run.running();
}

}  // namespace app
