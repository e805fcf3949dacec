// The choice to copy only new and changed files as start-up reads it from
// the settings file: the File menu's check mark and the note under the
// target, in both languages.
#include <gtest/gtest.h>

#include "app/main_window.h"
#include "settings/ini_file.h"
#include "support/temp_folder.h"
#include "support/window_input.h"

namespace app {
namespace {

TEST(CopyModeTest, AStoredOneTicksTheMenuItemAndTurnsTheNoteAnythingElseLeavesThemOff) {
  testing_support::TempFolder folder;
  testing_support::FakeDialogs dialogs;
  const std::wstring settings_file = folder / L"TAVRIK Backup.ini";
  StartupWorld world = StartupWorld::Real();
  world.special_folder = [](int) { return std::wstring(); };
  world.locate_settings_file = [&] { return settings_file; };
  const std::pair<const wchar_t*, bool> stored[] = {{nullptr, false}, {L"7", false}, {L"1", true}};
  for (const auto& [value, on] : stored) {
    if (value) settings::WriteIni(settings_file, L"main", L"changed", value);
    testing_support::ForgetQuit();
    MainWindow main(world);
    main.OnLoad();
    if (main.splash()->loaded()) main.splash()->OnMinimumTimeUp();
    EXPECT_EQ(main.changed_only_item.checked(), on) << (value ? value : L"no key");
    for (const Language language : {Language::kEnglish, Language::kSpanish}) {
      main.ApplyLanguage(language);
      const ControlTexts& texts = TextsOf(language).control_texts;
      EXPECT_EQ(main.overwrite_note.text(), on ? texts.kept_note : texts.overwrite_note);
      EXPECT_EQ(main.changed_only_item.checked(), on) << "a new language keeps the choice";
    }
  }
}

}  // namespace
}  // namespace app
