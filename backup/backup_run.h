// The backup run: what a press of "Backup!" does. It checks and saves the
// target, then copies every ticked source row into it one after the other,
// with each row's bar and icons, the overall icon and the optional log. A
// press while a run goes on (the button then reads "CANCEL") asks the run
// to stop.
#pragma once

#include <string>

#include "backup/backup_log.h"
#include "backup/copy_engine.h"
#include "backup/run_texts.h"
#include "platform/button.h"
#include "platform/check_box.h"
#include "platform/image.h"
#include "platform/label.h"
#include "platform/text_box.h"
#include "sources/source_row.h"

namespace backup {

// The controls of the window that a run reads and changes.
struct BackupControls {
  platform::TextBox& target_box;
  platform::Label& error_label;
  platform::CheckBox& write_log_box;
  platform::Label& view_log_link;
  platform::Image& total_ok_image;
  platform::Image& total_error_image;
  platform::Control& rows_panel;
  platform::Button& pick_target_button;
  platform::Button& backup_button;
  sources::Rows& rows;
};

// The caption of "Backup!" while no run goes on, in both languages.
extern const wchar_t kBackupCaption[];

// What a press of the backup button does: start a run, or ask the one that
// goes on to stop.
enum class ButtonRole { kIdle, kRunning, kCancelling };

class BackupRun {
 public:
  // texts, settings_file and log_folder belong to the window and are read
  // (log_folder also set) at each press.
  BackupRun(const BackupControls& controls, const RunTexts& texts,
            const std::wstring& settings_file, std::wstring& log_folder);

  // The press of the backup button; re-entered by a press during a run.
  void OnBackupPress();
  // Opens the last run's log with the program the system has for it.
  void OnViewLogClick();

  CopyEngine& engine() { return engine_; }
  BackupLog& log() { return log_; }

 private:
  bool TargetIsUsable(const std::wstring& folder);
  bool SaveSettings(const std::wstring& folder, bool& saved);
  void Run(const std::wstring& folder, const std::wstring& target);
  void CopyRow(sources::SourceRow& row, const std::wstring& target, BackupLog* log);
  void SetRole(ButtonRole role);
  void EnableInputs(bool enabled);
  void ShowMessage(const std::wstring& text);
  void RefuseTarget(const std::wstring& text);

  BackupControls c_;
  const RunTexts& texts_;
  const std::wstring& settings_file_;
  std::wstring& log_folder_;
  ButtonRole role_ = ButtonRole::kIdle;
  RunFlags flags_;
  CopyEngine engine_;
  BackupLog log_;
};

}  // namespace backup
