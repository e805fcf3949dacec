// Program entry: the main window loads, and the program runs until its last
// window is unloaded. With /backup it runs one backup unattended and ends;
// started with the apply-update argument (by the program itself, with an
// administrator's rights) it only applies the downloaded update and ends.
#include <windows.h>

#include "app/command_line.h"
#include "app/main_window.h"
#include "app/res/resource.h"
#include "app/texts.h"
#include "app/unattended_run.h"
#include "platform/controls.h"
#include "platform/elevation.h"
#include "platform/files.h"
#include "platform/program_window.h"
#include "platform/system_facts.h"
#include "settings/ini_file.h"
#include "update/apply_update.h"

namespace {
constexpr int kLocalAppDataFolder = 0x1C;  // CSIDL_LOCAL_APPDATA
}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  platform::OleScope ole;
  const std::vector<std::wstring> arguments = platform::ProgramArguments();
  const app::StartMode mode = app::ModeOfArguments(arguments);
  if (mode == app::StartMode::kApplyUpdate) return update::ApplyUpdateFromArguments(arguments);
  platform::SetProgramFacts({app::kProgramTitle, IDI_PROGRAM, IDC_HAND_POINTER});
  if (mode == app::StartMode::kRefused) {
    platform::ShowProgramMessage(app::RefusedArgumentsText(arguments));
    return static_cast<int>(app::RunResult::kNothingBackedUp);
  }
  // What an earlier update left: the installer and its signature.
  update::RemoveInstallerLeftovers(platform::ProgramFolder(),
                                   platform::SpecialFolderPath(kLocalAppDataFolder) + L"\\Tavrik Backup");
  platform::InitCommonControls();
  const std::wstring settings_file = settings::LocateIniFile();
  if (mode == app::StartMode::kBackup) return app::RunUnattended(settings_file);
  // One window per settings file: a second start shows the first.
  if (platform::BringProgramWindowForward(app::RunLockName(settings_file)))
    return app::kAnotherRunGoing;
  app::MainWindow window;
  window.OnLoad();
  platform::RunMessageLoop();
  return 0;
}
