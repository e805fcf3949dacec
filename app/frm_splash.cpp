// The splash window and its two-way wait: the minimum display time and the
// main window's readiness, whichever comes later, close it.
#include "app/frm_splash.h"

#include "app/res/resource.h"
#include "app/texts.h"

namespace app {

using platform::Font;
using platform::Layout;

void FrmSplash::Form_Load(const std::wstring& lang) {
  CreateForm({L"Form1", 7095, 3075, Border::kNone, Font{L"Tahoma", 12}});
  Line1.Create(*this, 120, 120, 120, 2760);
  Line2.Create(*this, 6840, 120, 6840, 2760);
  Line3.Create(*this, 120, 120, 6840, 120);
  Line4.Create(*this, 120, 2760, 6840, 2760);
  Image1.Create(Layout{this, {960, 480, 1920, 1920}, font()}, IDR_LOGO);
  Label1.Create(Layout{this, {3600, 600, 2895, 375}, Font{L"Tahoma", 15.75, true}}, L"Tavrik Backup");
  lblLoading.Create(Layout{this, {3600, 1440, 2655, 375}, font()}, L"Loading...");
  SplashTimer.Create(*this, 0, true);
  SplashTimer.on_tick = [this] { SplashTimer_Timer(); };
  CanviaIdioma(lang);
}

void FrmSplash::CanviaIdioma(const std::wstring& lang) {
  lblLoading.set_caption(SplashLoadingText(lang));
}

void FrmSplash::ShowSplash(const std::wstring& lang) {
  Form_Load(lang);
  SplashTimer.set_interval(kMinimumMs);
  CenterOnScreen();
  SetTopmost();
  Show();
}

void FrmSplash::SplashTimer_Timer() {
  bTimeUp = true;
  SplashTimer.set_enabled(false);
  if (bReady) CloseSplash();
}

void FrmSplash::ReadyToWork() {
  bReady = true;
  if (bTimeUp) CloseSplash();
}

void FrmSplash::CloseSplash() {
  main_.set_enabled(true);
  Unload();
}

}  // namespace app
