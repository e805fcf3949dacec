// The copy options as start-up reads them from the settings file: the File
// menu's check marks and the note under the target, in both languages.
#include <gtest/gtest.h>

#include "app/main_window.h"
#include "settings/ini_file.h"
#include "support/temp_folder.h"
#include "support/window_input.h"

namespace app {
namespace {

TEST(CopyModeTest, StoredChoicesTickTheMenuItemsAndPickTheNote) {
  testing_support::TempFolder folder;
  testing_support::FakeDialogs dialogs;
  StartupWorld world = StartupWorld::Real();
  world.special_folder = [](int) { return std::wstring(); };
  // "changed" and "versions" as stored ("" for no key), and the ticks they give.
  const std::tuple<const wchar_t*, const wchar_t*, bool, bool> stored[] = {
      {L"", L"", false, true}, {L"1", L"0", true, false}, {L"7", L"x", false, true},
      {L"1", L"1", true, true}};
  for (const auto& [changed, versions, changed_on, versions_on] : stored) {
    const std::wstring settings_file = folder / (std::wstring(changed) + versions + L".ini");
    if (*changed) settings::WriteIni(settings_file, L"main", L"changed", changed);
    if (*versions) settings::WriteIni(settings_file, L"main", L"versions", versions);
    world.locate_settings_file = [&] { return settings_file; };
    testing_support::ForgetQuit();
    MainWindow main(world);
    main.OnLoad();
    if (main.splash()->loaded()) main.splash()->OnMinimumTimeUp();
    for (const Language language : {Language::kEnglish, Language::kSpanish}) {
      main.ApplyLanguage(language);
      const ControlTexts& t = TextsOf(language).control_texts;
      const std::wstring notes[2][2] = {{t.overwrite_note, t.versions_note},
                                        {t.kept_note, t.changed_versions_note}};
      EXPECT_EQ(main.overwrite_note.text(), notes[changed_on][versions_on]) << changed << versions;
      EXPECT_EQ(main.changed_only_item.text() + main.keep_versions_item.text(),
                t.changed_only_item + t.keep_versions_item);
      EXPECT_EQ(main.changed_only_item.checked(), changed_on);
      EXPECT_EQ(main.keep_versions_item.checked(), versions_on);
    }
  }
}

}  // namespace
}  // namespace app
