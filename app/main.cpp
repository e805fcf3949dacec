// Program entry: the main window loads, and the program runs until its last
// window is unloaded.
#include <windows.h>

#include "app/main_window.h"
#include "app/res/resource.h"
#include "app/texts.h"
#include "platform/controls.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  platform::OleScope ole;
  platform::InitCommonControls();
  platform::SetProgramFacts({app::kProgramTitle, IDI_PROGRAM, IDC_HAND_POINTER});
  app::MainWindow window;
  window.OnLoad();
  platform::RunMessageLoop();
  return 0;
}
