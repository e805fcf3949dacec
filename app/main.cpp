// Program entry: the main window loads, and the program runs until its last
// window is unloaded.
#include <windows.h>

#include "app/frm_main.h"
#include "app/startup.h"
#include "platform/controls.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  platform::OleScope ole;
  app::FrmMain main;
  app::Startup startup(main);
  startup.Form_Initialize();
  startup.Form_Load();
  platform::RunMessageLoop();
  return 0;
}
