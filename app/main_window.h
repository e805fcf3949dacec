// The main window: the identity header, the list of backup sources, the
// target folder, the options and the "Backup!" button. It owns its controls,
// wires every handler in one place and hands the list and the run to the
// classes that do them.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "app/splash_window.h"
#include "app/texts.h"
#include "backup/backup_run.h"
#include "platform/automation.h"
#include "platform/controls.h"
#include "platform/run_lock.h"
#include "sources/source_list.h"
#include "sources/source_row.h"

namespace app {

// Where start-up takes the outside world from. The program uses the real
// lookups; tests put their own folders and settings file in place.
struct StartupWorld {
  std::function<std::wstring(int csidl)> special_folder;
  std::function<std::wstring()> locate_settings_file;
  std::function<platform::AutomationObject()> create_mail_client;
  std::function<bool()> mail_client_running;
  static StartupWorld Real();
};

class MainWindow : public platform::Form {
 public:
  // run_seams: what a test or a benchmark puts in the backup run's way.
  explicit MainWindow(StartupWorld world = StartupWorld::Real(),
                      const backup::RunSeams& run_seams = backup::kNoRunSeams);

  // Start-up: the window greyed under the splash, the language, the stored
  // settings, the header, every source row, then the window to the user.
  // The folders' sizes come back by posted messages: OnLoad returns at
  // once, and the splash's ready() tells when start-up is done.
  void OnLoad();

  // Creates the window and its controls as designed, hidden, with every
  // handler connected.
  void Create();
  // Sets the control_texts and the message texts of language.
  void ApplyLanguage(Language language);
  // The next source row below the last, with its handlers.
  sources::SourceRow& AddRow(sources::RowKind kind);
  // Ticks or unticks "copy only new and changed files", with the note that
  // tells what a backup does to files already in the target.
  void SetChangedOnly(bool on);
  // Ticks or unticks "keep replaced versions", with that note.
  void SetKeepVersions(bool on);

  // The user's language and its texts; set at start-up.
  Language language = Language::kEnglish;
  MainTexts texts;
  // The settings file, decided once at start-up.
  std::wstring settings_file;
  // The folder whose backup.log the "View log" link opens.
  std::wstring log_folder;

  platform::Label user_label, user_name, system_label, system_name;
  platform::Label mail_label, mail_version, mail_status_label, mail_status;
  platform::GroupBox sources_group;
  platform::Panel rows_viewport;  // clips the rows to the frame's inside
  platform::Panel rows_panel;     // holds the rows; scrolling moves it
  sources::Rows rows;
  platform::ScrollBar rows_scroll_bar;
  platform::Label total_label, total_size;
  platform::Image total_ok_image, total_error_image;
  platform::Label error_label;
  platform::Label target_label;
  platform::TextBox target_box;
  platform::Button pick_target_button;
  platform::GroupBox existing_files_group;
  platform::Label merge_note, overwrite_note;
  platform::Button backup_button;
  platform::CheckBox write_log_box;
  platform::Link view_log_link;
  platform::Timer mail_status_timer;
  platform::MenuItem file_menu, exit_item, help_menu, about_item;
  platform::MenuItem changed_only_item, keep_versions_item;
  platform::MenuItem schedule_item;

  sources::SourceList source_list;
  backup::BackupRun backup_run;

  platform::Label last_run_label;

  // No one watches (a /backup run): no splash, the window minimized
  // without the focus, no box; set before OnLoad.
  bool unattended = false;
  // Called once start-up has handed the window over.
  std::function<void()> on_ready;
  // Called once a run's end is recorded in the settings file.
  std::function<void(RunResult result, const backup::RunEnd& end)> on_run_recorded;
  // Called when the session ends (shutdown, sign-out) after a run was
  // stopped; the process ends when it returns.
  std::function<void()> on_session_end;

  // What another start of the program asks: a backup, as a press of
  // "Backup!" would start it. False when one goes on or start-up has not
  // finished.
  bool StartBackupForAnotherStart();
  // The last run's line, from the settings file.
  void ShowLastRun();
  // Writes how a run ended in the settings file and shows it.
  void RecordRun(const backup::RunEnd& end);

  // The splash window once shown; it stays loaded until it closes itself.
  SplashWindow* splash() { return splash_.get(); }

 private:
  // Create's parts, in the order the controls are made.
  void CreateHeader();
  void CreateInputs();
  void CreateSourceList();
  void CreateTargetNotes();
  void WireHandlers();
  void WireRow(int i);
  // What a screen reader says for the pictures and the "..." button, in
  // the window's language.
  void NamePictures();
  void NameRowPictures(sources::SourceRow& row);

  // Start-up steps, in their order.
  void ShowGreyedUnderSplash();
  void ReadStoredSettings();
  void ShowUserAndSystem();
  void MeasureNextFolder();
  void AddFolderRow(int csidl, const std::wstring& path, double size);
  void FillMailStoreRows();
  void FillMailStoreRow(const std::wstring& store_id, const std::wstring& name,
                        const std::wstring& path);
  void RestoreTick(int i);
  void FinishStartup();
  void HandToUser();

  // Handlers.
  void OnRowClick(int i);
  void OnRowFocus(int i);
  void OnListWheel(bool down);
  void OnListScroll();
  void OnPickTargetClick();
  void OnBackupClick();
  void OnViewLogClick();
  void OnStatusTimer();
  void OnExitClick();
  void OnUnload();
  bool OnQueryEndSession();
  void OnEndSession();
  void OnAboutClick();
  void OnChangedOnlyClick();
  RunResult WriteLastRun(const backup::RunEnd& end);
  void OnKeepVersionsClick();
  void ShowExistingFilesNote();
  void OnScheduleClick();

  SpokenTexts spoken_;
  StartupWorld world_;
  std::unique_ptr<SplashWindow> splash_;
  // The lock of the runs that write this settings file.
  std::optional<platform::RunLock> run_lock_;
  // The row a start-up fills next; row 1 is the window's own.
  int next_row_ = 1;
  // The standard folder start-up measures next, as a place in its list.
  std::size_t next_folder_ = 0;
};

}  // namespace app
