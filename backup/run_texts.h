// The texts a backup run shows and writes, in the window's language: they
// come from the program's text table, so the run needs no window of its own.
#pragma once

#include <string>

namespace backup {

// What the copy engine writes in the log and shows in its one message box.
struct CopyTexts {
  std::wstring log_folder;  // "Folder: ", before a folder line's path
  std::wstring log_copied, log_unchanged, log_not_copied, log_user_cancelled, log_link_skipped;
  // A mail store the mail client keeps open past the patience.
  std::wstring log_in_use_by_mail_client;
  // A replaced copy kept among the versions; or not, and the file not copied.
  std::wstring log_copied_older_kept, log_older_not_kept;
  // After a run: "Older versions removed: " + how many; before it, one line
  // for each version removed to make room.
  std::wstring log_versions_removed, log_version_removed_for_room;
  // The missing-source box reads missing_source + path + " " + not_found.
  std::wstring missing_source, not_found;
};

// The run's messages in the window's error label and the control_texts of the
// backup button: "Backup!" while no run goes on, cancel while one does.
struct RunTexts {
  std::wstring backup, cancel;
  std::wstring enter_target, invalid_target, same_folder, cannot_backup_to, error_writing,
      cancelled, please_wait, settings_not_saved;
  // Before the target: a drive or share that is not there.
  std::wstring target_not_available;
  // A press while a run the user did not start from this window goes on.
  std::wstring other_run_going;
  // The reason the system shows while a run holds up a shutdown or logoff.
  std::wstring backup_in_progress;
  CopyTexts copy;
};

}  // namespace backup
