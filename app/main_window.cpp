// The main window's design, its language and the wiring of its handlers.
#include "app/main_window.h"

#include "app/res/resource.h"
#include "environment/mail_client.h"
#include "platform/system_facts.h"
#include "settings/ini_file.h"
#include "update/about_window.h"

namespace app {
namespace {

using platform::Font;
using platform::Label;
using platform::Layout;
using platform::Rect;

const Font kHeader{L"Tahoma", 11.25};
const Font kHeaderBold{L"Tahoma", 11.25, true};
const Font kBody{L"Tahoma", 9.75};
const Font kBodyBold{L"Tahoma", 9.75, true};

Layout At(const platform::Control* parent, Rect rect, Font font) {
  return Layout{parent, rect, font};
}

const sources::RowPictures kRowPictures{IDR_FOLDER, IDR_EMAIL, IDR_WAIT, IDR_OK, IDR_ERROR};

}  // namespace

StartupWorld StartupWorld::Real() {
  return {platform::SpecialFolderPath, [] { return settings::LocateIniFile(); },
          environment::CreateMailClient, environment::MailClientRunning};
}

MainWindow::MainWindow(StartupWorld world, const backup::RunSeams& run_seams)
    : source_list({*this, rows, rows_panel, rows_scroll_bar, total_label, total_size,
                   backup_button, error_label, target_box},
                  texts.select_target),
      backup_run({*this, target_box, error_label, write_log_box, view_log_link, total_ok_image,
                  total_error_image, rows_panel, pick_target_button, backup_button, rows,
                  changed_only_item, keep_versions_item},
                 texts.run, settings_file, log_folder, run_seams),
      world_(std::move(world)) {}

void MainWindow::Create() {
  CreateForm({kProgramTitle, 10140, 7935, Border::kFixedSingle, Font{L"Tahoma", 12}});
  CreateHeader();
  // Tab order: the controls that take the focus are created in that order.
  CreateInputs();
  CreateSourceList();
  CreateTargetNotes();
  mail_status_timer.Create(*this, 5000, false);
  const ControlTexts& english = TextsOf(Language::kEnglish).control_texts;
  AddMenu(file_menu, english.file_menu,
          {{&changed_only_item, english.changed_only_item},
           {&keep_versions_item, english.keep_versions_item},
           {&schedule_item, english.schedule_item}, {nullptr, L""},
           {&exit_item, english.exit_item}});
  AddMenu(help_menu, english.help_menu, {{&about_item, english.about_item}});
  CenterOnScreen();
  // Enter in the target box (or anywhere but on another button) presses
  // "Backup!".
  set_default_button(backup_button);
  WireHandlers();
}

// The controls are created with the English control_texts of the design;
// ApplyLanguage gives them the user's.
void MainWindow::CreateHeader() {
  const ControlTexts& english = TextsOf(Language::kEnglish).control_texts;
  const Control* window = this;
  user_label.Create(At(window, {0, 240, 1215, 375}, kHeader), english.user, Label::Align::kRight);
  user_name.Create(At(window, {1320, 240, 2895, 375}, kHeaderBold), L"User");
  system_label.Create(At(window, {0, 600, 1215, 375}, kHeader), english.system,
                      Label::Align::kRight);
  system_name.Create(At(window, {1320, 600, 2895, 375}, kHeaderBold), L"OS");
  mail_label.Create(At(window, {5760, 240, 1215, 255}, kHeader), english.mail,
                    Label::Align::kRight);
  mail_version.Create(At(window, {7080, 240, 2895, 255}, kHeaderBold), L"");
  mail_status_label.Create(At(window, {5040, 600, 1935, 255}, kHeader), english.mail_status,
                           Label::Align::kRight);
  mail_status_label.set_visible(false);
  mail_status.Create(At(window, {7080, 600, 3135, 255}, kHeaderBold), L"");
  mail_status.set_visible(false);
}

void MainWindow::CreateInputs() {
  const Control* window = this;
  backup_button.Create(At(window, {7920, 6720, 1935, 615}, kBody),
                       TextsOf(Language::kEnglish).main.run.backup);
  backup_button.set_enabled(false);
  target_box.Create(At(window, {240, 5520, 9135, 375}, kBody), L"");
  pick_target_button.Create(At(window, {9480, 5520, 375, 375}, kBody), L"...");
  write_log_box.Create(At(window, {480, 7440, 2775, 375}, kBody),
                       TextsOf(Language::kEnglish).control_texts.write_log);
}

// The frame with the rows and their scroll bar, the total under it and the
// message line.
void MainWindow::CreateSourceList() {
  const ControlTexts& english = TextsOf(Language::kEnglish).control_texts;
  const Control* window = this;
  sources_group.Create(At(window, {240, 1080, 9240, 3135}, Font{L"Verdana", 9.75, true}),
                       english.sources);
  rows_viewport.Create(At(&sources_group, {120, 360, 9000, 2655}, kBody));
  rows_panel.Create(At(&rows_viewport, {0, 0, 8950, 2655}, kBody));
  sources::AddSourceRow(rows, sources::kFolderRow, rows_panel, kRowPictures);
  rows_scroll_bar.Create(At(window, {9480, 1200, 375, 3015}, kBody), 1, 10, 1);
  rows_scroll_bar.set_enabled(false);

  total_label.Create(At(window, {1680, 4320, 2535, 375}, kBody), english.total,
                     Label::Align::kRight);
  total_label.set_visible(false);
  total_size.Create(At(window, {4560, 4320, 1215, 255}, kBodyBold), L"", Label::Align::kRight);
  total_ok_image.Create(At(window, {6000, 4320, 240, 240}, kBody), IDR_OK);
  total_ok_image.set_visible(false);
  total_error_image.Create(At(window, {6000, 4320, 240, 240}, kBody), IDR_ERROR);
  total_error_image.set_visible(false);
  error_label.Create(At(window, {240, 4800, 9660, 360}, kBodyBold), L"");
  error_label.set_fore_color(platform::Rgb(192, 0, 0));
  error_label.set_back_color(platform::Rgb(255, 255, 255));
  error_label.set_visible(false);
  // A refusal, a cancel, any message of a run is said as it appears.
  error_label.set_live_region();
}

// The target's label, the notes on files already there and the log link.
void MainWindow::CreateTargetNotes() {
  const ControlTexts& english = TextsOf(Language::kEnglish).control_texts;
  const Control* window = this;
  target_label.Create(At(window, {240, 5160, 1335, 375}, kBodyBold), english.target);
  target_label.GiveAccessKeyTo(target_box);
  target_box.set_accessible_name_from(target_label);
  // Wide enough for the longest note, the Spanish one of files kept.
  existing_files_group.Create(At(window, {240, 6240, 6735, 1095}, kBodyBold),
                              english.existing_files);
  merge_note.Create(At(&existing_files_group, {240, 360, 4215, 255}, kBody), english.merge_note);
  overwrite_note.Create(At(&existing_files_group, {240, 600, 6375, 255}, kBody),
                        english.overwrite_note);
  view_log_link.Create(At(window, {3360, 7485, 3015, 375}, Font{L"Tahoma", 9.75, false, true}),
                       english.view_log);
  view_log_link.set_visible(false);
  // Under the target, read with it: how the last backup there ended.
  last_run_label.Create(At(window, {240, 5940, 9660, 255}, kBody), L"");
}

void MainWindow::WireHandlers() {
  on_close = [this] { OnExitClick(); };
  on_unload = [this] { OnUnload(); };
  on_query_end_session = [this] { return OnQueryEndSession(); };
  on_end_session = [this] { OnEndSession(); };
  exit_item.on_click = [this] { OnExitClick(); };
  about_item.on_click = [this] { OnAboutClick(); };
  changed_only_item.on_click = [this] { OnChangedOnlyClick(); };
  keep_versions_item.on_click = [this] { OnKeepVersionsClick(); };
  schedule_item.on_click = [this] { OnScheduleClick(); };
  mail_status_timer.on_tick = [this] { OnStatusTimer(); };
  // A wheel notch over any part of the list reaches one of these three,
  // wherever the focus is.
  for (platform::Control* list_part :
       std::initializer_list<platform::Control*>{&sources_group, &rows_viewport, &rows_panel})
    list_part->on_wheel = [this](bool down) { OnListWheel(down); };
  rows_scroll_bar.on_change = [this] { OnListScroll(); };
  pick_target_button.on_click = [this] { OnPickTargetClick(); };
  backup_button.on_click = [this] { OnBackupClick(); };
  view_log_link.on_click = [this] { OnViewLogClick(); };
  backup_run.on_run_ended = [this](const backup::RunEnd& end) { RecordRun(end); };
  WireRow(1);
}

void MainWindow::WireRow(int i) {
  platform::CheckBox& box = rows[i].check_box;
  box.on_click = [this, i] { OnRowClick(i); };
  box.on_focus = [this, i] { OnRowFocus(i); };
  NameRowPictures(rows[i]);
}

void MainWindow::NamePictures() {
  for (sources::SourceRow& row : rows) NameRowPictures(row);
  total_ok_image.set_accessible_name(spoken_.copied);
  total_error_image.set_accessible_name(spoken_.not_all_copied);
  pick_target_button.set_accessible_name(spoken_.choose_folder);
  view_log_link.action_name = spoken_.open_link;
}

void MainWindow::NameRowPictures(sources::SourceRow& row) {
  if (row.folder_image.exists()) row.folder_image.set_accessible_name(spoken_.folder);
  if (row.mail_image.exists()) row.mail_image.set_accessible_name(spoken_.mail_store);
  row.busy_image.set_accessible_name(spoken_.copying);
  row.ok_image.set_accessible_name(spoken_.copied);
  row.error_image.set_accessible_name(spoken_.not_all_copied);
}

sources::SourceRow& MainWindow::AddRow(sources::RowKind kind) {
  sources::SourceRow& row = sources::AddSourceRow(rows, kind, rows_panel, kRowPictures);
  WireRow(rows.count());
  return row;
}

void MainWindow::ApplyLanguage(Language new_language) {
  language = new_language;
  texts = TextsOf(new_language).main;
  platform::SetUnexpectedErrorText(texts.unexpected_error);
  spoken_ = TextsOf(new_language).spoken;
  NamePictures();
  const ControlTexts& control_texts = TextsOf(new_language).control_texts;
  user_label.set_text(control_texts.user);
  system_label.set_text(control_texts.system);
  mail_label.set_text(control_texts.mail);
  mail_status_label.set_text(control_texts.mail_status);
  sources_group.set_text(control_texts.sources);
  total_label.set_text(control_texts.total);
  target_label.set_text(control_texts.target);
  existing_files_group.set_text(control_texts.existing_files);
  merge_note.set_text(control_texts.merge_note);
  ShowExistingFilesNote();
  write_log_box.set_text(control_texts.write_log);
  view_log_link.set_text(control_texts.view_log);
  file_menu.set_text(control_texts.file_menu);
  exit_item.set_text(control_texts.exit_item);
  help_menu.set_text(control_texts.help_menu);
  about_item.set_text(control_texts.about_item);
  changed_only_item.set_text(control_texts.changed_only_item);
  schedule_item.set_text(control_texts.schedule_item);
  keep_versions_item.set_text(control_texts.keep_versions_item);
  if (!settings_file.empty()) ShowLastRun();
}

void MainWindow::OnRowClick(int i) { source_list.RowTicked(i); }
void MainWindow::OnRowFocus(int i) { source_list.RowFocused(i); }
void MainWindow::OnListWheel(bool down) { source_list.WheelNotch(down); }
void MainWindow::OnListScroll() { source_list.ScrollToBar(); }
void MainWindow::OnPickTargetClick() { source_list.PickTarget(); }
void MainWindow::OnBackupClick() { backup_run.OnBackupPress(); }
void MainWindow::OnViewLogClick() { backup_run.OnViewLogClick(); }
// Kept in the settings file when the next backup starts, as the target is.

void MainWindow::OnStatusTimer() {
  if (world_.mail_client_running()) {
    mail_status.set_fore_color(platform::Rgb(192, 0, 0));
    mail_status.set_text(texts.mail_client_open);
  } else {
    mail_status.set_fore_color(platform::Rgb(0, 128, 0));
    mail_status.set_text(texts.mail_client_closed);
  }
}

// Closing during a run cancels it: the window goes once the run has
// stopped, its log ended with the cancel.
void MainWindow::OnExitClick() {
  backup_run.CancelThen([this] { Unload(); });
}

// Whatever unloads the window during a run (an installer about to start
// from the About window) stops the run cleanly first.
void MainWindow::OnUnload() { backup_run.CancelAndWait(); }

// While a run goes on the system is asked to wait, and shows why.
bool MainWindow::OnQueryEndSession() { return !backup_run.running(); }

// The session ends anyway: the run stops cleanly before the process ends.
// A run stopped so is recorded as cancelled: its own end never comes.
void MainWindow::OnEndSession() {
  if (!backup_run.running()) return;
  backup_run.CancelAndWait();
  backup::RunEnd end;
  end.cancelled = true;
  WriteLastRun(end);
  if (on_session_end) on_session_end();
}

void MainWindow::OnAboutClick() {
  // A run going on is cancelled, cleanly, before an update's installer starts.
  update::ShowAbout(*this, TextsOf(language).about, IDR_LOGO,
                    [this] { backup_run.CancelAndWait(); });
}

}  // namespace app
