// The /backup mode, from the hand-over to an open window to the balloon.
#include "app/unattended_run.h"

#include <optional>
#include <vector>

#include "app/command_line.h"
#include "app/main_window.h"
#include "platform/files.h"
#include "platform/notify_icon.h"
#include "platform/program.h"
#include "platform/program_window.h"
#include "platform/run_lock.h"
#include "platform/shell.h"

namespace app {
namespace {

// The boxes start-up would show: kept for the log, as no one would close
// them.
class QuietDialogs : public platform::Dialogs {
 public:
  void MessageBoxOk(const platform::Control&, const std::wstring& text) override {
    texts.push_back(text);
  }
  std::optional<std::wstring> BrowseForFolder(const platform::Control&,
                                              const std::wstring&) override {
    return std::nullopt;
  }
  std::vector<std::wstring> texts;
};

class UnattendedRun {
 public:
  int Run();

 private:
  void OnReady();
  void OnRunRecorded(RunResult result, const backup::RunEnd& end);

  MainWindow window_;
  QuietDialogs dialogs_;
  platform::BalloonIcon balloon_;
  int exit_code_ = static_cast<int>(RunResult::kNothingBackedUp);
};

int UnattendedRun::Run() {
  platform::SetDialogs(&dialogs_);
  // A fault the program did not foresee ends it without a box.
  platform::Form::on_unexpected_error = [](const std::wstring&) {
    platform::EndProgram(static_cast<unsigned>(RunResult::kNothingBackedUp));
  };
  window_.unattended = true;
  window_.on_ready = [this] { OnReady(); };
  window_.on_run_recorded = [this](RunResult result, const backup::RunEnd& end) {
    OnRunRecorded(result, end);
  };
  // The run was stopped and recorded as cancelled; the session ends now.
  window_.on_session_end = [] { platform::EndProgram(static_cast<unsigned>(RunResult::kCancelled)); };
  window_.OnLoad();
  platform::RunMessageLoop();
  platform::SetDialogs(nullptr);
  return exit_code_;
}

// Start-up is done: the backup goes as a press of "Backup!" would, with
// what start-up could not do written at the top of its log.
void UnattendedRun::OnReady() {
  window_.backup_run.faults_before_run = dialogs_.texts;
  bool any_ticked = false;
  for (const sources::SourceRow& row : window_.rows)
    any_ticked = any_ticked || row.check_box.check_state() == platform::CheckState::kChecked;
  if (!any_ticked) {
    backup::RunEnd nothing;
    nothing.target_refused = nothing.refused_at_press = true;
    return window_.RecordRun(nothing);
  }
  window_.backup_run.OnBackupPress();
}

// The user hears how it went; the program ends once the balloon has gone.
void UnattendedRun::OnRunRecorded(RunResult result, const backup::RunEnd& end) {
  exit_code_ = static_cast<int>(result);
  const std::wstring log_file = end.log_file;
  const bool shown = balloon_.Show(
      kProgramTitle, window_.last_run_label.text(), result != RunResult::kComplete,
      [log_file] {
        if (!log_file.empty()) platform::ShellOpen(log_file);
      },
      [this] { window_.Unload(); });
  if (!shown) window_.Unload();
}

}  // namespace

int RunUnattended(const std::wstring& settings_file) {
  const std::wstring lock_name = RunLockName(settings_file);
  // A window of the program that is open runs the backup itself, if it is
  // idle: never two processes on one settings file.
  if (platform::HandBackupToProgramWindow(lock_name) != platform::BackupHandOver::kNoWindow)
    return kAnotherRunGoing;
  platform::RunLock lock(lock_name);
  if (!lock.TryHold()) return kAnotherRunGoing;
  // No settings: nothing to back up, and no file made to say so.
  if (!platform::FileExists(settings_file)) return static_cast<int>(RunResult::kNothingBackedUp);
  UnattendedRun run;
  return run.Run();
}

}  // namespace app
