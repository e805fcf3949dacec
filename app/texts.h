// Every text the program shows, in Spanish and English, and the rule that
// picks the language from the user's locale.
#pragma once

#include <string>
#include <string_view>

#include "backup/run_texts.h"
#include "update/about_texts.h"

namespace app {

// The program's name: the main window's title, the message boxes' and the
// splash window's.
extern const wchar_t kProgramTitle[];

// lang is the locale's abbreviated language name (ESP, ENU, ...). Spanish
// when its first two characters are "ES", letter case counting; English
// otherwise.
bool IsSpanish(std::wstring_view lang);

// The main window's message texts.
struct MainTexts {
  std::wstring not_found, mail_client_closed, mail_client_open, select_target;
  backup::RunTexts run;
};

MainTexts MainTextsFor(std::wstring_view lang);

// The main window's captions that depend on the language.
struct MainCaptions {
  std::wstring user, system, mail, mail_status, sources, total, target, existing_files,
      merge_note, overwrite_note, write_log, view_log, file_menu, exit_item, help_menu,
      about_item;
};

MainCaptions MainCaptionsFor(std::wstring_view lang);

// The About window's texts.
update::AboutTexts AboutTextsFor(std::wstring_view lang);

// The splash window's line under the title.
std::wstring SplashLoadingText(std::wstring_view lang);

}  // namespace app
