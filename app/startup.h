// The main window's start-up: it shows the splash window, sets the language,
// reads the settings, fills the header and builds every source row, then
// lets the splash window hand the main window to the user.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "app/frm_main.h"
#include "app/frm_splash.h"
#include "platform/mail_client.h"

namespace app {

// The user's language code (ESP, ENU, ...), chosen once at start-up.
extern std::wstring strLang;

// The locale text of the type lctype; "" when the query fails.
std::wstring LocaleInfo(unsigned lcid, unsigned lctype);

// Where start-up takes the outside world from. The program uses the real
// lookups; tests put their own folders and settings file in place.
struct StartupWorld {
  std::function<std::wstring(int csidl)> special_folder;
  std::function<std::wstring()> locate_ini_file;
  std::function<platform::AutomationObject()> create_mail_client;
  std::function<bool()> mail_client_running;
  static StartupWorld Real();
};

// The standard folders that become rows, in row order (CSIDL numbers).
extern const int SystemFolderIds[8];

class Startup {
 public:
  explicit Startup(FrmMain& main, StartupWorld world = StartupWorld::Real())
      : main_(main), world_(std::move(world)) {}
  void Form_Initialize();
  void Form_Load();
  void mnuExit_Click();
  void mnuAbout_Click();
  void Timer1_Timer();

  // The splash window once shown; it stays loaded until it closes itself.
  FrmSplash* splash() { return splash_.get(); }

 private:
  void FillFolderRows(int& i);
  void FillMailStoreRows(int& i);
  void FillMailStoreRow(int i, const std::wstring& storeId, const std::wstring& name,
                        const std::wstring& path);
  void RestoreTick(int i);

  FrmMain& main_;
  StartupWorld world_;
  std::unique_ptr<FrmSplash> splash_;
};

}  // namespace app
