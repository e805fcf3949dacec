// The press handler of "Backup!" and the run it drives, step by step.
#include "backup/backup_run.h"

#include <algorithm>

#include "backup/path_parts.h"
#include "platform/shell.h"
#include "settings/ini_file.h"

namespace backup {
namespace {

constexpr COLORREF kWhite = platform::Rgb(255, 255, 255);
constexpr COLORREF kYellow = platform::Rgb(255, 255, 0);
const wchar_t kMailStoreSection[] = L"PST";

}  // namespace

const wchar_t kBackupCaption[] = L"Backup!";

BackupRun::BackupRun(const BackupControls& controls, const RunTexts& texts,
                     const std::wstring& settings_file, std::wstring& log_folder)
    : c_(controls),
      texts_(texts),
      settings_file_(settings_file),
      log_folder_(log_folder),
      engine_(flags_, texts.copy) {}

void BackupRun::OnBackupPress() {
  // A press while the run goes on is a cancel, honoured whatever became of
  // the target meanwhile.
  if (role_ != ButtonRole::kIdle) {
    flags_.cancel_requested = true;
    ShowMessage(texts_.please_wait);
    SetRole(ButtonRole::kCancelling);
    return;
  }

  c_.target_box.set_back_color(kWhite);
  flags_.target_error = false;
  c_.total_error_image.set_visible(false);
  c_.total_ok_image.set_visible(false);

  // A target of blanks only is no target either: left alone it would become
  // the root of the current drive.
  const std::wstring folder = TrimSpaces(c_.target_box.text());
  if (folder != c_.target_box.text()) c_.target_box.set_text(folder);
  if (folder.empty()) return RefuseTarget(texts_.enter_target);

  if (!TargetIsUsable(folder)) return RefuseTarget(texts_.invalid_target);
  c_.error_label.set_visible(false);
  c_.error_label.set_caption(L"");

  bool saved = true;
  if (!SaveSettings(folder, saved)) return RefuseTarget(texts_.same_folder);
  // The run goes ahead; the user learns that the next start will not know it.
  if (!saved) ShowMessage(texts_.settings_not_saved);

  c_.view_log_link.set_visible(false);
  Run(folder, AddBackslash(folder));
}

// Missing levels are created. A relative path is refused: it would land
// under whatever the current folder happens to be. So is one longer than the
// settings file keeps: the next start would read back another folder.
bool BackupRun::TargetIsUsable(const std::wstring& folder) {
  if (folder.size() > settings::kMaxValueLength) return false;
  std::wstring typed = AddBackslash(folder);
  std::replace(typed.begin(), typed.end(), L'/', L'\\');
  if (!IsAbsolutePath(typed)) return false;
  const std::wstring place = platform::FullPath(folder);
  return platform::FolderExists(place) || MakePath(place);
}

// False when the target lies inside a ticked source, however either is
// spelt; the rows after that one are then not saved. saved turns false when
// a value could not be written.
bool BackupRun::SaveSettings(const std::wstring& folder, bool& saved) {
  auto save = [&](const std::wstring& section, const std::wstring& key,
                  const std::wstring& value) {
    saved = settings::WriteIni(settings_file_, section, key, value) && saved;
  };
  save(L"main", L"target", folder);
  save(L"main", L"log", c_.write_log_box.value() == 1 ? L"1" : L"0");
  const std::wstring place = platform::CanonicalPath(folder);
  for (int i = 1; i <= c_.rows.count(); ++i) {
    const sources::SourceRow& row = c_.rows[i];
    if (row.check_box.value() != 1) continue;
    save(row.section, row.key, L"1");
    if (StartsWithPath(place, platform::CanonicalPath(row.path))) return false;
  }
  return true;
}

void BackupRun::Run(const std::wstring& folder, const std::wstring& target) {
  SetRole(ButtonRole::kRunning);
  // The folder as the system reads the typed text ("D:/Copias.", "D:\\x\\..");
  // the copy gives every name to the file functions as it is.
  const std::wstring place = AddBackslash(platform::FullPath(folder));
  BackupLog* log = nullptr;
  if (c_.write_log_box.value() == 1) {
    log = &log_;
    if (!log_.Open(place)) ShowMessage(texts_.error_writing + target);
  }
  EnableInputs(false);

  // Every row counts for the overall icon, not only the last one copied.
  bool any_file_error = false;
  sources::SourceRow* stopped_at = nullptr;
  for (int i = 1; i <= c_.rows.count(); ++i) {
    sources::SourceRow& row = c_.rows[i];
    if (row.check_box.value() != 1) continue;
    const bool log_was_fine = !log || !log->failed();
    CopyRow(row, place, log);
    if (log_was_fine && log && log->failed()) ShowMessage(texts_.error_writing + target);
    if (flags_.cancel_requested || flags_.target_error) {
      stopped_at = &row;
      break;
    }
    if (flags_.file_error) {
      any_file_error = true;
      row.error_image.set_visible(true);
    } else {
      row.progress_bar.set_value(row.progress_bar.maximum());
      row.ok_image.set_visible(true);
      row.progress_bar.set_visible(false);
    }
  }

  if (stopped_at && flags_.target_error) {
    ShowMessage(texts_.cannot_backup_to + target);
    stopped_at->error_image.set_visible(true);
  } else if (stopped_at) {
    ShowMessage(texts_.cancelled);
  }
  // A log that could not be written is a failure too: the user asked for it.
  const bool failed = flags_.target_error || any_file_error || flags_.file_error ||
                      (log && log->failed());
  if (failed)
    c_.total_error_image.set_visible(true);
  else if (!flags_.cancel_requested)
    c_.total_ok_image.set_visible(true);

  flags_.cancel_requested = false;
  SetRole(ButtonRole::kIdle);
  EnableInputs(true);
  if (log) {
    log->Close();
    c_.view_log_link.set_visible(true);
    log_folder_ = folder;
  }
}

void BackupRun::CopyRow(sources::SourceRow& row, const std::wstring& target, BackupLog* log) {
  platform::ProgressBar& bar = row.progress_bar;
  bar.set_visible(true);
  bar.set_value(0);
  row.busy_image.set_visible(true);
  row.ok_image.set_visible(false);
  row.error_image.set_visible(false);
  flags_.bytes_copied = 0;
  bar.set_maximum(std::max(sources::ByteCountToDouble(row.size), 1.0));
  // A store file open in the mail client simply fails like any locked file.
  const bool is_file = row.section == kMailStoreSection;
  flags_.file_error = false;
  // The bar is filled when the row ends, never here: a row whose files grew
  // since they were measured keeps its bar where it was.
  engine_.SetRow(
      [&bar](double bytes_copied) {
        if (bar.maximum() > bytes_copied) bar.set_value(bytes_copied);
      },
      log);
  engine_.CopySource(row.path, target + row.check_box.caption(), is_file);
  row.busy_image.set_visible(false);
}

// The caption follows the role; a cancel once asked cannot be asked again.
void BackupRun::SetRole(ButtonRole role) {
  role_ = role;
  c_.backup_button.set_caption(role == ButtonRole::kIdle ? kBackupCaption : texts_.cancel);
  c_.backup_button.set_enabled(role != ButtonRole::kCancelling);
}

void BackupRun::EnableInputs(bool enabled) {
  c_.rows_panel.set_enabled(enabled);
  c_.target_box.set_enabled(enabled);
  c_.write_log_box.set_enabled(enabled);
  c_.pick_target_button.set_enabled(enabled);
}

void BackupRun::ShowMessage(const std::wstring& text) {
  c_.error_label.set_caption(text);
  c_.error_label.set_visible(true);
}

void BackupRun::RefuseTarget(const std::wstring& text) {
  ShowMessage(text);
  c_.target_box.set_back_color(kYellow);
}

void BackupRun::OnViewLogClick() {
  platform::ShellOpen(log_folder_ + L"\\" + kLogFileName);
}

}  // namespace backup
