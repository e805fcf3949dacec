// Every text the program shows, one table per language, and the rule that
// picks the language from the user's locale.
#pragma once

#include <string>
#include <string_view>

#include "app/last_run.h"
#include "app/schedule_texts.h"
#include "backup/run_texts.h"
#include "update/about_texts.h"

namespace app {

// The program's name: the main window's title, the message boxes' and the
// splash window's. It is the same in every language.
extern const wchar_t kProgramTitle[];

enum class Language { kEnglish, kSpanish };

// The language of the locale's abbreviated language name (ESP, ENU, ...):
// the first whose rule the name meets, English when it meets none.
Language LanguageOfLocale(std::wstring_view abbreviated_name);

// The main window's message texts.
struct MainTexts {
  std::wstring not_found, mail_client_closed, mail_client_open, select_target;
  // The start-up box's descriptions: the mail client's version has no major
  // number; a store's identifier is not hexadecimal.
  std::wstring version_without_major, store_id_not_hex;
  // The box's words before the text of an error the program did not
  // foresee, when it ends the program.
  std::wstring unexpected_error;
  backup::RunTexts run;
  // The line under the target that tells how the last backup ended.
  LastRunTexts last_run;
};

// The main window's control_texts that depend on the language.
struct ControlTexts {
  std::wstring user, system, mail, mail_status, sources, total, target, existing_files,
      merge_note, overwrite_note, write_log, view_log, file_menu, exit_item, help_menu,
      about_item;
  // The File menu's choices, and the notes that replace overwrite_note:
  // while only changed files are copied, while replaced copies are kept, and
  // while both are on.
  std::wstring changed_only_item, keep_versions_item, kept_note, versions_note,
      changed_versions_note;
  std::wstring schedule_item;  // File > "Schedule backups..."
};

// What a screen reader says for the main window's pictures and for the
// controls that show no words of their own.
struct SpokenTexts {
  // The pictures of a row's and the whole run's result: being copied,
  // copied, and copied with files left out.
  std::wstring copying, copied, not_all_copied;
  // A row's kind picture.
  std::wstring folder, mail_store;
  std::wstring choose_folder;  // the "..." button
  std::wstring open_link;      // what following a link does
};

// One language's table.
struct Texts {
  ControlTexts control_texts;
  SpokenTexts spoken;
  MainTexts main;
  update::AboutTexts about;
  ScheduleTexts schedule;
  std::wstring splash_loading;  // the splash window's line under the title
};

const Texts& TextsOf(Language language);

}  // namespace app
