// The start-up sequence of the main window, in its fixed order.
#include "app/startup.h"

#include "platform/controls.h"
#include "platform/registry.h"
#include "update/frm_about.h"

namespace app {

std::wstring strLang;

std::wstring LocaleInfo(unsigned lcid, unsigned lctype) {
  return platform::LocaleText(lcid, lctype).value_or(L"");
}

void Startup::Form_Initialize() { platform::InitCommonControls(); }

void Startup::Form_Load() {
  main_.Create();
  main_.mnuExit.on_click = [this] { mnuExit_Click(); };
  main_.mnuAbout.on_click = [this] { mnuAbout_Click(); };
  main_.set_enabled(false);
  main_.Show();
  strLang = LocaleInfo(0, 3);
  splash_ = std::make_unique<FrmSplash>(main_);
  splash_->ShowSplash(strLang);
  platform::DoEvents();
  main_.CanviaIdioma(strLang);
  splash_->ReadyToWork();
}

void Startup::mnuExit_Click() { main_.Unload(); }

void Startup::mnuAbout_Click() {
  update::ShowAbout(main_, strLang, main_.texts.strClose, main_.texts.strCancel);
}

}  // namespace app
