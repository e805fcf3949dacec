// The press handler of "Backup!" and the run it starts on a thread of its
// own.
#include "backup/backup_run.h"

#include <algorithm>

#include "backup/path_parts.h"
#include "platform/program.h"
#include "platform/shell.h"
#include "platform/target_place.h"
#include "settings/stored_values.h"
#include "settings/ini_file.h"

namespace backup {
namespace {

constexpr COLORREF kWhite = platform::Rgb(255, 255, 255);

}  // namespace

BackupRun::BackupRun(const BackupControls& controls, const RunTexts& texts,
                     const std::wstring& settings_file, std::wstring& log_folder,
                     const RunSeams& seams)
    : controls_(controls),
      texts_(texts),
      settings_file_(settings_file),
      log_folder_(log_folder),
      seams_(seams),
      engine_(flags_, texts.copy, seams.engine) {
  log_.MeasureWriting(seams.log_writing);
}

BackupRun::~BackupRun() { CancelAndWait(); }

void BackupRun::OnBackupPress() {
  if (role_ != ButtonRole::kIdle) {
    // The second press of a double click on "Backup!" is part of the press
    // that started the run, not a cancel.
    if (Now() - started_at_ < platform::DoubleClickTime()) return;
    // Honoured whatever became of the target meanwhile.
    RequestCancel();
    return;
  }
  // A cancel pressed as the run ended, handled just after it: not a new run.
  if (ended_at_ && Now() - *ended_at_ < platform::DoubleClickTime()) return;

  // One run at a time, whoever started it: an unattended run holds the lock.
  if (run_lock && !run_lock->TryHold()) return ShowMessage(texts_.other_run_going);
  controls_.target_box.set_back_color(kWhite);
  controls_.total_error_image.set_visible(false);
  controls_.total_ok_image.set_visible(false);

  // A target of blanks only is no target either: left alone it would become
  // the root of the current drive.
  const std::wstring folder = TrimSpaces(controls_.target_box.text());
  if (folder != controls_.target_box.text()) controls_.target_box.set_text(folder);
  if (folder.empty()) return RefuseBeforeRun(texts_.enter_target);
  // A relative path would land under whatever the current folder happens to
  // be; one longer than the settings file keeps would be another folder at
  // the next start.
  std::wstring typed = AddBackslash(folder);
  std::replace(typed.begin(), typed.end(), L'/', L'\\');
  if (folder.size() > settings::kMaxValueLength || !IsAbsolutePath(typed))
    return RefuseBeforeRun(texts_.invalid_target);
  controls_.error_label.set_visible(false);
  controls_.error_label.set_text(L"");

  std::vector<RowPlan> plan;
  int index = 0;
  for (const sources::SourceRow& row : controls_.rows) {
    ++index;
    if (row.check_box.check_state() == platform::CheckState::kChecked)
      plan.push_back({index, row.kind, row.path, row.check_box.text(), row.key,
                      static_cast<std::uint64_t>(std::max<sources::TenThousandthBytes>(row.size, 0) /
                                                 sources::kTenThousandthsPerByte)});
  }
  if (thread_.joinable()) thread_.join();
  flags_.cancel_requested = false;
  flags_.not_copied = 0;
  started_at_ = Now();
  SetRole(ButtonRole::kRunning);
  EnableInputs(false);
  controls_.window.SetShutdownReason(texts_.backup_in_progress);
  mailbox_ = controls_.window.mailbox();
  const bool write_log = 
      controls_.write_log_box.check_state() == platform::CheckState::kChecked;
  const bool only_changed = controls_.changed_only_item.checked();
  const bool keep_versions = controls_.keep_versions_item.checked();
  // The target's checks may wait on a network share: they run there too.
  thread_ = std::thread([this, folder, write_log, only_changed, keep_versions, plan] {
    Run(folder, write_log, only_changed, keep_versions, plan);
  });
}

std::chrono::steady_clock::time_point BackupRun::Now() const {
  return seams_.clock ? seams_.clock() : std::chrono::steady_clock::now();
}

void BackupRun::CancelThen(std::function<void()> then) {
  if (role_ == ButtonRole::kIdle) return then();
  after_run_ = std::move(then);
  if (role_ == ButtonRole::kRunning) RequestCancel();
}

void BackupRun::RequestCancel() {
  message_before_cancel_ = controls_.error_label.text();
  message_shown_before_cancel_ = controls_.error_label.visible();
  flags_.cancel_requested = true;
  ShowMessage(texts_.please_wait);
  SetRole(ButtonRole::kCancelling);
}

void BackupRun::CancelAndWait() {
  flags_.cancel_requested = true;
  if (thread_.joinable()) thread_.join();
}

// ---- The run thread ----

void BackupRun::Run(std::wstring folder, bool write_log, bool only_changed, bool keep_versions,
                    std::vector<RowPlan> rows) {
  platform::StayAwake awake;
  const UtcSeconds started = std::chrono::duration_cast<std::chrono::seconds>(
                                 std::chrono::system_clock::now().time_since_epoch())
                                 .count();
  // The walk, like the copies, gives way to the window when the processor
  // is short.
  platform::LowerThreadPriority();
  // The folder as the system reads the typed text ("D:/Copias.", "D:\\x\\..");
  // the copy gives every name to the file functions as it is.
  const std::wstring place = AddBackslash(platform::FullPath(folder));
  const std::wstring target = AddBackslash(folder);
  const std::wstring refusal = CheckAndMakeTarget(place, folder, rows);
  if (!refusal.empty()) return Post([this, refusal] { ShowRefusal(refusal); });
  const bool saved = SaveSettings(folder, write_log, only_changed, keep_versions, rows);
  Post([this, saved] {
    // The run goes ahead; the user learns that the next start will not know it.
    if (!saved) ShowMessage(texts_.settings_not_saved);
    controls_.view_log_link.set_visible(false);
  });

  BackupLog* log = nullptr;
  if (write_log) {
    log = &log_;
    if (!log_.Open(place)) Post([this, target] { ShowMessage(texts_.error_writing + target); });
  }
  MakeRoomForVersions(place, only_changed, rows, log);
  engine_.copy_only_changed = only_changed;
  engine_.version_time = started;
  // Every row counts for the overall icon, not only the last one copied. The
  // run is cancelled only when its cancel stopped something: a file, a
  // folder, or a row not begun, which the log names.
  bool any_failed = false, cancelled = false;
  // No one watches: what the window would have said goes in the log, and
  // is a failure.
  if (unattended) {
    std::vector<std::wstring> faults = faults_before_run;
    if (!saved) faults.push_back(texts_.settings_not_saved);
    if (log)
      for (const std::wstring& fault : faults) log->Write(fault);
    any_failed = !faults.empty();
  }
  for (const RowPlan& row : rows) {
    if (flags_.cancel_requested) {
      cancelled = true;
      const std::wstring folder_of_row =
          row.kind == sources::kMailStoreRow ? row.path : AddBackslash(row.path);
      if (log) log->Write(FileLine(folder_of_row, texts_.copy.log_user_cancelled));
      Post([this] { ShowMessage(texts_.cancelled); });
      break;
    }
    const bool log_was_fine = !log || !log->failed();
    engine_.versions_folder =
        keep_versions ? place + kVersionsFolder + L"\\" + row.name + L"\\" : L"";
    const RowOutcome outcome = CopyRow(row, place, log);
    if (log) log->Flush();
    if (log_was_fine && log && log->failed())
      Post([this, target] { ShowMessage(texts_.error_writing + target); });
    any_failed = any_failed || outcome.file_error || outcome.target_error;
    Post([this, index = row.index, outcome, target] {
      ShowRowEnded(index, outcome);
      if (outcome.target_error) ShowMessage(texts_.cannot_backup_to + target);
    });
    if (seams_.after_row) seams_.after_row(flags_);
    cancelled = outcome.cancelled;
    if (outcome.cancelled || outcome.target_error) break;
  }
  // Versions go only after a run that did all it was asked.
  if (!any_failed && !cancelled && !(log && log->failed()))
    RemoveExpiredVersionsAfterRun(place, started, log);
  // A log that could not be written is a failure too: the user asked for it.
  if (log) log->Close();
  const bool failed = any_failed || (log && log->failed());
  if (seams_.before_last_message) seams_.before_last_message(flags_);
  Post([this, failed, cancelled, log_used = log != nullptr, folder] {
    ShowRunEnded(failed, cancelled, log_used, folder);
  });
}

// Nothing is made in the target nor saved before every check has passed.
// Returns the refusal to show, or "" once the target folder exists. A drive
// that is not plugged in or a share that does not answer gets no folder
// made on whatever answers in its place later.
std::wstring BackupRun::CheckAndMakeTarget(const std::wstring& place, const std::wstring& folder,
                                           const std::vector<RowPlan>& rows) {
  if (!platform::TargetPlaceAvailable(place)) return texts_.target_not_available + folder;
  if (RowsLandOnThemselves(place, rows)) return texts_.same_folder;
  if (!platform::FolderExists(place) && !MakePath(place)) return texts_.invalid_target;
  return L"";
}

// A row's copy would land on its own folder or inside it, however either is
// spelt: the target inside a ticked source, or the target the folder above
// a source of the row's name ("C:\Users\me" with Documents ticked).
bool BackupRun::RowsLandOnThemselves(const std::wstring& place, const std::vector<RowPlan>& rows) {
  const std::wstring target = platform::CanonicalPath(place);
  for (const RowPlan& row : rows) {
    const std::wstring source = platform::CanonicalPath(row.path);
    if (source.empty()) continue;
    if (StartsWithPath(target, source)) return true;
    // The versions folder is the target's too: never copied into itself.
    if (StartsWithPath(source, platform::CanonicalPath(place + kVersionsFolder))) return true;
    const std::wstring destination = platform::CanonicalPath(place + row.name);
    if (StartsWithPath(destination, source) &&
        (destination.size() == source.size() || destination[source.size()] == L'\\'))
      return true;
  }
  return false;
}

// False when a value could not be written.
bool BackupRun::SaveSettings(const std::wstring& folder, bool write_log, bool only_changed,
                             bool keep_versions, const std::vector<RowPlan>& rows) {
  bool saved = true;
  auto save = [&](const std::wstring& section, const std::wstring& key,
                  const std::wstring& value) {
    saved = settings::WriteIni(settings_file_, section, key, value) && saved;
  };
  save(L"main", L"target", folder);
  save(L"main", L"log", write_log ? L"1" : L"0");
  save(L"main", L"changed", settings::SwitchValue(only_changed));
  save(L"main", L"versions", settings::SwitchValue(keep_versions));
  for (const RowPlan& row : rows) save(sources::SettingsSection(row.kind), row.key, L"1");
  return saved;
}

BackupRun::RowOutcome BackupRun::CopyRow(const RowPlan& row, const std::wstring& place,
                                         BackupLog* log) {
  flags_.file_error = false;
  flags_.bytes_copied = 0;
  current_bytes_ = 0;
  current_row_ = row.index;
  Post([this, index = row.index] { ShowRowStarted(index); });
  // A store file open in the mail client fails like any locked file, in
  // words that tell why.
  const bool is_file = row.kind == sources::kMailStoreRow;
  engine_.held_file_words = is_file ? texts_.copy.log_in_use_by_mail_client : L"";
  engine_.SetRow([this](double bytes) { OnEngineProgress(bytes); }, log);
  RowOutcome outcome;
  if (!engine_.CopySource(row.path, place + row.name, is_file)) {
    const std::wstring text = texts_.copy.missing_source + (is_file ? row.path : AddBackslash(row.path)) +
                              L" " + texts_.copy.not_found;
    if (unattended) {
      // No one would close a box: the log says it and the row is red.
      if (log) log->Write(text);
      flags_.MarkNotCopied();
    } else {
      Post([this, text] { platform::CurrentDialogs().MessageBoxOk(controls_.window, text); });
    }
  }
  outcome.file_error = flags_.file_error;
  outcome.target_error = flags_.target_error;
  outcome.cancelled = engine_.cancel_stopped_something();
  outcome.bytes_copied = static_cast<double>(current_bytes_.load());
  return outcome;
}

// From a worker: the bar is redrawn by the window at most every few
// hundredths of a second, one redraw on its way at a time. Small files end
// thousands of times a second, and a message for each keeps the window's
// thread and the system's message queue as busy as the copy itself.
void BackupRun::OnEngineProgress(double bytes) {
  current_bytes_ = static_cast<std::uint64_t>(bytes);
  constexpr std::int64_t kRedrawEveryMs = 40;
  const std::int64_t now = std::chrono::duration_cast<std::chrono::milliseconds>(
                               std::chrono::steady_clock::now().time_since_epoch())
                               .count();
  if (now - progress_posted_at_ < kRedrawEveryMs) return;
  progress_posted_at_ = now;
  if (!progress_posted_.exchange(true)) Post([this] { ShowLatestBytes(); });
}

}  // namespace backup
