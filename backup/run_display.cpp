// What the window shows of a backup run: the rows' bars and icons, the
// button's role, the messages under the list, and the run's progress on the
// window's taskbar button. Everything here runs on the window's thread, from
// the messages the run thread posts.
#include "backup/backup_run.h"

#include <algorithm>

#include "backup/path_parts.h"
#include "platform/shell.h"
#include "platform/taskbar.h"

namespace backup {
namespace {

constexpr COLORREF kYellow = platform::Rgb(255, 255, 0);

// The bar only moves forward, and is filled when the row ends, never here:
// a row whose files grew since they were measured keeps its bar where it
// was.
void ShowBytes(platform::ProgressBar& bar, double bytes) {
  if (bytes > bar.value() && bar.maximum() > bytes) bar.set_value(bytes);
}

// The taskbar button shows the bytes done of every ticked row's: the rows
// before row (the run goes down the list) and the bytes of row itself, in
// the error colour once one of them has failed. The boxes cannot change
// during a run, and every row before row has shown its own outcome, so the
// share is read from the rows once for each row, not at each progress
// message: every question to a row's box is a message through its
// subclass, which under Wine is a trip to the server that four workers
// keep busy.
BackupRun::TaskbarShare ShareOfRows(const BackupControls& controls, int row) {
  // row may be one past the last: every row is then done.
  BackupRun::TaskbarShare share;
  int number = 0;
  for (const sources::SourceRow& each : controls.rows) {
    ++number;
    if (each.check_box.check_state() != platform::CheckState::kChecked) continue;
    const double size = sources::TenThousandthBytesToDouble(each.size);
    share.total += size;
    if (number < row) {
      share.done_before += size;
      share.failed = share.failed || each.error_image.visible();
    } else if (number == row) {
      share.row_size = size;
    }
  }
  return share;
}

void ShowOnTaskbar(const BackupControls& controls, const BackupRun::TaskbarShare& share,
                   double row_bytes) {
  platform::CurrentTaskbar().SetProgress(
      controls.window, share.done_before + std::min(row_bytes, share.row_size), share.total,
      share.failed);
}

}  // namespace

void BackupRun::ShowRefusal(const std::wstring& text) {
  RefuseTarget(text);
  RunEnd end;
  end.target_refused = true;
  FinishRun(end);
}

void BackupRun::ShowRowStarted(int index) {
  sources::SourceRow& row = controls_.rows[index];
  platform::ProgressBar& bar = row.progress_bar;
  bar.set_visible(true);
  bar.set_value(0);
  bar.set_maximum(std::max(sources::TenThousandthBytesToDouble(row.size), 1.0));
  row.busy_image.set_visible(true);
  row.ok_image.set_visible(false);
  row.error_image.set_visible(false);
  taskbar_share_ = ShareOfRows(controls_, index);
  ShowOnTaskbar(controls_, taskbar_share_, 0);
}

void BackupRun::ShowLatestBytes() {
  progress_posted_ = false;
  const int index = current_row_;
  if (index < 1 || index > controls_.rows.count()) return;
  const double bytes = static_cast<double>(current_bytes_.load());
  ShowBytes(controls_.rows[index].progress_bar, bytes);
  ShowOnTaskbar(controls_, taskbar_share_, bytes);
}

void BackupRun::ShowRowEnded(int index, const RowOutcome& outcome) {
  sources::SourceRow& row = controls_.rows[index];
  row.busy_image.set_visible(false);
  // The last few files' progress may not have been drawn yet.
  ShowBytes(row.progress_bar, outcome.bytes_copied);
  if (outcome.target_error) {
    row.error_image.set_visible(true);
  } else if (outcome.cancelled) {
    ShowMessage(texts_.cancelled);
  } else if (outcome.file_error) {
    row.error_image.set_visible(true);
  } else {
    row.progress_bar.set_value(row.progress_bar.maximum());
    row.ok_image.set_visible(true);
    row.progress_bar.set_visible(false);
  }
  ShowOnTaskbar(controls_, ShareOfRows(controls_, index + 1), 0);
}

void BackupRun::ShowRunEnded(bool failed, bool cancelled, bool log_used,
                             const std::wstring& folder) {
  if (failed)
    controls_.total_error_image.set_visible(true);
  else if (!cancelled)
    controls_.total_ok_image.set_visible(true);
  // A cancel that found nothing left to stop: the run ended as it would
  // have without it.
  if (!cancelled && role_ == ButtonRole::kCancelling &&
      controls_.error_label.text() == texts_.please_wait) {
    controls_.error_label.set_text(message_before_cancel_);
    controls_.error_label.set_visible(message_shown_before_cancel_);
  }
  if (log_used) {
    controls_.view_log_link.set_visible(true);
    log_folder_ = folder;
  }
  // A run that ends behind other windows asks for the user's eye.
  if (!controls_.window.in_front()) platform::CurrentTaskbar().Flash(controls_.window);
  RunEnd end;
  end.cancelled = cancelled;
  end.failed = failed;
  end.not_copied = flags_.not_copied;
  if (log_used) end.log_file = AddBackslash(folder) + kLogFileName;
  FinishRun(end);
}

// The run thread posted its last message: it ends at once.
void BackupRun::FinishRun(const RunEnd& end) {
  ended_at_ = Now();
  SetRole(ButtonRole::kIdle);
  EnableInputs(true);
  platform::CurrentTaskbar().ClearProgress(controls_.window);
  controls_.window.SetShutdownReason(L"");
  if (thread_.joinable()) thread_.join();
  flags_.cancel_requested = false;
  flags_.target_error = false;
  current_row_ = 0;
  if (run_lock) run_lock->Release();
  if (on_run_ended) on_run_ended(end);
  if (after_run_) {
    std::function<void()> then = std::move(after_run_);
    after_run_ = nullptr;
    then();
  }
}

// The text follows the role; a cancel once asked cannot be asked again.
void BackupRun::SetRole(ButtonRole role) {
  role_ = role;
  controls_.backup_button.set_text(role == ButtonRole::kIdle ? texts_.backup : texts_.cancel);
  controls_.backup_button.set_enabled(role != ButtonRole::kCancelling);
}

// During a run every row's box is greyed and reported unavailable, not only
// out of the mouse's reach. The keyboard's focus, when it was on one of
// them, goes to the button that cancels rather than nowhere.
void BackupRun::EnableInputs(bool enabled) {
  std::vector<platform::Control*> inputs = {&controls_.target_box, &controls_.write_log_box,
                                            &controls_.pick_target_button};
  for (sources::SourceRow& row : controls_.rows) inputs.push_back(&row.check_box);
  const bool focus_on_input =
      std::any_of(inputs.begin(), inputs.end(), [](platform::Control* input) { return input->focused(); });
  for (platform::Control* input : inputs) input->set_enabled(enabled);
  controls_.rows_panel.set_enabled(enabled);
  controls_.changed_only_item.set_enabled(enabled);
  controls_.keep_versions_item.set_enabled(enabled);
  if (!enabled && focus_on_input) controls_.backup_button.focus();
}

void BackupRun::ShowMessage(const std::wstring& text) {
  controls_.error_label.set_text(text);
  controls_.error_label.set_visible(true);
}

void BackupRun::RefuseTarget(const std::wstring& text) {
  ShowMessage(text);
  controls_.target_box.set_back_color(kYellow);
}

// A target refused before a run begins ends the press; an unattended run
// hears of it as of any end.
void BackupRun::RefuseBeforeRun(const std::wstring& text) {
  RefuseTarget(text);
  if (run_lock) run_lock->Release();
  RunEnd end;
  end.target_refused = end.refused_at_press = true;
  if (on_run_ended) on_run_ended(end);
}

void BackupRun::OnViewLogClick() {
  platform::ShellOpen(log_folder_ + L"\\" + kLogFileName);
}

}  // namespace backup
