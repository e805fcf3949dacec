// The main window's start-up: it shows the splash window, sets the language,
// reads the settings, fills the header and builds every source row, then
// lets the splash window hand the main window to the user.
#pragma once

#include <memory>
#include <string>

#include "app/frm_main.h"
#include "app/frm_splash.h"

namespace app {

// The user's language code (ESP, ENU, ...), chosen once at start-up.
extern std::wstring strLang;

// The locale text of the type lctype; "" when the query fails.
std::wstring LocaleInfo(unsigned lcid, unsigned lctype);

class Startup {
 public:
  explicit Startup(FrmMain& main) : main_(main) {}
  void Form_Initialize();
  void Form_Load();
  void mnuExit_Click();
  void mnuAbout_Click();

 private:
  FrmMain& main_;
  std::unique_ptr<FrmSplash> splash_;
};

}  // namespace app
