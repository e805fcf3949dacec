// The main window's File menu choices: the copy options, with the note
// under the target that tells them, and the schedule.
#include "app/main_window.h"
#include "app/schedule_window.h"

namespace app {

void MainWindow::SetChangedOnly(bool on) {
  changed_only_item.set_checked(on);
  ShowExistingFilesNote();
}

void MainWindow::SetKeepVersions(bool on) {
  keep_versions_item.set_checked(on);
  ShowExistingFilesNote();
}

// The note in the words of the copy options in force.
void MainWindow::ShowExistingFilesNote() {
  const ControlTexts& texts = TextsOf(language).control_texts;
  const std::wstring* notes[2][2] = {{&texts.overwrite_note, &texts.versions_note},
                                     {&texts.kept_note, &texts.changed_versions_note}};
  overwrite_note.set_text(*notes[changed_only_item.checked()][keep_versions_item.checked()]);
}

void MainWindow::OnChangedOnlyClick() { SetChangedOnly(!changed_only_item.checked()); }
void MainWindow::OnKeepVersionsClick() { SetKeepVersions(!keep_versions_item.checked()); }

void MainWindow::OnScheduleClick() {
  ShowSchedule(*this, TextsOf(language).schedule, settings_file);
}

}  // namespace app
