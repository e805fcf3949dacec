// The backup run: what a press of "Backup!" does. It checks and saves the
// target, then copies every ticked source row into it one after the other,
// with each row's bar and icons, the overall icon and the optional log. A
// press while a run goes on (the button then reads "CANCEL") asks the run
// to stop.
#pragma once

#include <string>

#include "app/texts.h"
#include "backup/backup_log.h"
#include "backup/copy_engine.h"
#include "platform/controls.h"
#include "sources/source_row.h"

namespace backup {

// The main window's controls that a run reads and changes.
struct BackupControls {
  platform::TextBox& txtBackupTo;
  platform::Label& lblError;
  platform::CheckBox& chklog;
  platform::Label& lblViewLog;
  platform::Image& imgOKtotal;
  platform::Image& imgErrorTotal;
  platform::Control& Frame1;
  platform::Button& btnBackupTo;
  platform::Button& btnBackup;
  sources::Rows& rows;
};

// The caption of btnBackup while no run goes on, in both languages.
extern const wchar_t kBackupCaption[];

class BackupRun {
 public:
  // texts, IniFile and strViewLogFolder belong to the main window and are
  // read (strViewLogFolder also set) at each press.
  BackupRun(const BackupControls& controls, const app::MainTexts& texts,
            const std::wstring& IniFile, std::wstring& strViewLogFolder);

  // The press handler of btnBackup; re-entered by a press during a run.
  void btnBackup_Click();
  // Opens the last run's log with the program the system has for it.
  void lblViewLog_Click();

  CopyEngine& engine() { return engine_; }
  BackupLog& log() { return log_; }

 private:
  bool TargetIsUsable(const std::wstring& folder);
  bool SaveSettings(const std::wstring& folder);
  void Run(const std::wstring& folder, const std::wstring& target);
  void CopyRow(sources::SourceRow& row, const std::wstring& target, BackupLog* log);
  void EnableInputs(bool enabled);
  void ShowMessage(const std::wstring& text);
  void RefuseTarget(const std::wstring& text);

  BackupControls c_;
  const app::MainTexts& texts_;
  const std::wstring& IniFile_;
  std::wstring& strViewLogFolder_;
  RunFlags flags_;
  CopyEngine engine_;
  BackupLog log_;
  int intRow = 0;
};

}  // namespace backup
