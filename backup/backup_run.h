// The backup run: what a press of "Backup!" does. The window's thread takes
// the press, shows each row's bar and icons, the overall icon and the
// messages; a run thread checks and saves the target and walks the ticked
// rows one after the other, with the copy engine's workers doing the
// copies. A press while a run goes on (the button then reads "CANCEL") asks
// the run to stop.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "backup/backup_log.h"
#include "backup/copy_engine.h"
#include "backup/run_texts.h"
#include "platform/button.h"
#include "platform/check_box.h"
#include "platform/form.h"
#include "platform/image.h"
#include "platform/label.h"
#include "platform/menu_item.h"
#include "platform/run_lock.h"
#include "platform/text_box.h"
#include "sources/source_row.h"

namespace backup {

// The controls of the window that a run reads and changes.
struct BackupControls {
  platform::Form& window;
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
  // The File menu's "copy only new and changed files", read at each press.
  platform::MenuItem& changed_only_item;
  // "Keep replaced versions", read at each press.
  platform::MenuItem& keep_versions_item;
};

// What a test or a benchmark puts in a run's way, kept by reference as the
// engine keeps its own; the program's run has none.
struct RunSeams {
  // Takes the place of the steady clock for the double-click rule.
  std::function<std::chrono::steady_clock::time_point()> clock;
  // Called on the run thread after each row's end has been posted, and
  // once the run's outcome is settled, just before its last message; one
  // that holds the run there lets it go on a cancel.
  std::function<void(const RunFlags& flags)> after_row, before_last_message;
  // Where the time spent writing the log adds up.
  platform::TimeSpent* log_writing = nullptr;
  // The run's copy engine's.
  CopySeams engine;
};
inline const RunSeams kNoRunSeams{};

// How a run ended, for whoever records it: the target refused (nothing
// backed up), a cancel that stopped something, anything not copied (files,
// folders, a missing source, an unwritable log), with the number of files
// and folders not copied, and the log when one was written.
struct RunEnd {
  bool target_refused = false, cancelled = false, failed = false;
  // Refused at the press, before any run began (an empty target box).
  bool refused_at_press = false;
  long long not_copied = 0;
  std::wstring log_file;
};

// What a press of the backup button does: start a run, or ask the one that
// goes on to stop.
enum class ButtonRole { kIdle, kRunning, kCancelling };

class BackupRun {
 public:
  // texts, settings_file and log_folder belong to the window and are read
  // (log_folder also set) at each press.
  BackupRun(const BackupControls& controls, const RunTexts& texts,
            const std::wstring& settings_file, std::wstring& log_folder,
            const RunSeams& seams = kNoRunSeams);
  // A run still going is cancelled and waited for.
  ~BackupRun();

  // The press of the backup button.
  void OnBackupPress();
  // Opens the last run's log with the program the system has for it.
  void OnViewLogClick();

  bool running() const { return role_ != ButtonRole::kIdle; }
  // The lock every run of the program holds; none: no lock is taken.
  platform::RunLock* run_lock = nullptr;
  // No one watches (an unattended run): a missing source is a log line and
  // a failure instead of a box.
  bool unattended = false;
  // What went wrong before an unattended run and would have been a box:
  // written at the top of its log, a failure. Set before the press.
  std::vector<std::wstring> faults_before_run;
  // Called on the window's thread once a run started by a press has ended.
  std::function<void(const RunEnd&)> on_run_ended;
  // Asks a run that goes on to stop; then runs on the window's thread once
  // it has stopped (at once when no run goes on).
  void CancelThen(std::function<void()> then);
  // Asks a run that goes on to stop and waits until every worker has (the
  // session ends, an installer is about to start).
  void CancelAndWait();

  // What the taskbar button shows of the run besides the current row's
  // bytes, read from the rows when a row starts.
  struct TaskbarShare {
    double done_before = 0, total = 0, row_size = 0;
    bool failed = false;
  };

 private:
  // What the run thread needs of a ticked row, read when the run starts.
  struct RowPlan {
    int index;
    sources::RowKind kind;
    std::wstring path, name, key;
    std::uint64_t bytes;  // as the row shows it
  };
  // How a row ended, for the window to show.
  struct RowOutcome {
    bool file_error = false, target_error = false, cancelled = false;
    double bytes_copied = 0;  // where the row's bar stops when the row is not complete
  };

  // On the run thread.
  void Run(std::wstring folder, bool write_log, bool only_changed, bool keep_versions,
           std::vector<RowPlan> rows);
  std::wstring CheckAndMakeTarget(const std::wstring& place, const std::wstring& folder,
                                 const std::vector<RowPlan>& rows);
  bool RowsLandOnThemselves(const std::wstring& place, const std::vector<RowPlan>& rows);
  bool SaveSettings(const std::wstring& folder, bool write_log, bool only_changed,
                    bool keep_versions, const std::vector<RowPlan>& rows);
  void MakeRoomForVersions(const std::wstring& place, bool only_changed,
                           const std::vector<RowPlan>& rows, BackupLog* log);
  void RemoveExpiredVersionsAfterRun(const std::wstring& place, UtcSeconds now, BackupLog* log);
  RowOutcome CopyRow(const RowPlan& row, const std::wstring& place, BackupLog* log);
  void OnEngineProgress(double bytes);

  // On the window's thread.
  void ShowRefusal(const std::wstring& text);
  void ShowRowStarted(int index);
  void ShowLatestBytes();
  void ShowRowEnded(int index, const RowOutcome& outcome);
  void ShowRunEnded(bool any_failed, bool cancelled, bool log_used, const std::wstring& folder);
  void FinishRun(const RunEnd& end);
  void RequestCancel();
  void SetRole(ButtonRole role);
  void EnableInputs(bool enabled);
  void ShowMessage(const std::wstring& text);
  void RefuseTarget(const std::wstring& text);
  void RefuseBeforeRun(const std::wstring& text);
  void Post(std::function<void()> task) { mailbox_.Post(std::move(task)); }
  std::chrono::steady_clock::time_point Now() const;

  BackupControls controls_;
  const RunTexts& texts_;
  const std::wstring& settings_file_;
  std::wstring& log_folder_;
  const RunSeams& seams_;
  ButtonRole role_ = ButtonRole::kIdle;
  std::chrono::steady_clock::time_point started_at_;
  std::optional<std::chrono::steady_clock::time_point> ended_at_;
  std::function<void()> after_run_;
  // The message line as it was before a cancel's "Please, wait...", for a
  // cancel that finds nothing left to stop.
  std::wstring message_before_cancel_;
  bool message_shown_before_cancel_ = false;
  platform::Mailbox mailbox_;
  std::thread thread_;
  RunFlags flags_;
  CopyEngine engine_;
  BackupLog log_;
  // The row whose bar moves, the bytes it was last told (never fewer than
  // before), whether a redraw of it is on its way, and when the last one
  // was sent (steady clock, milliseconds).
  std::atomic<int> current_row_{0};
  std::atomic<std::uint64_t> current_bytes_{0};
  std::atomic<bool> progress_posted_{false};
  std::atomic<std::int64_t> progress_posted_at_{0};
  TaskbarShare taskbar_share_;  // the window's thread's
};

}  // namespace backup
