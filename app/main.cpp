// Program entry: the main window loads, and the program runs until its last
// window is unloaded. Started with the apply-update argument (by the
// program itself, with an administrator's rights) it only applies the
// downloaded update and ends.
#include <windows.h>

#include "app/main_window.h"
#include "app/res/resource.h"
#include "app/texts.h"
#include "platform/controls.h"
#include "platform/elevation.h"
#include "platform/files.h"
#include "platform/system_facts.h"
#include "update/apply_update.h"

namespace {
constexpr int kLocalAppDataFolder = 0x1C;  // CSIDL_LOCAL_APPDATA
}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  platform::OleScope ole;
  const std::vector<std::wstring> arguments = platform::ProgramArguments();
  if (!arguments.empty() && arguments[0] == update::kApplyUpdateSwitch)
    return update::ApplyUpdateFromArguments(arguments);
  // What an earlier update left: the installer and its signature.
  update::RemoveInstallerLeftovers(platform::ProgramFolder(),
                                   platform::SpecialFolderPath(kLocalAppDataFolder) + L"\\Tavrik Backup");
  platform::InitCommonControls();
  platform::SetProgramFacts({app::kProgramTitle, IDI_PROGRAM, IDC_HAND_POINTER});
  app::MainWindow window;
  window.OnLoad();
  platform::RunMessageLoop();
  return 0;
}
