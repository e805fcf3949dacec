// The splash window: on top of everything while the main window fills in,
// for at least three seconds and until the main window says it is ready.
#pragma once

#include <string>

#include "platform/controls.h"

namespace app {

class FrmSplash : public platform::Form {
 public:
  // main is the window the splash enables when it closes.
  explicit FrmSplash(platform::Form& main) : main_(main) {}

  // Loads the window (texts in the language code lang), centres it on the
  // screen, puts it on top and shows it; returns at once.
  void ShowSplash(const std::wstring& lang);
  void ReadyToWork();

  static constexpr int kMinimumMs = 3000;

  platform::Line Line1, Line2, Line3, Line4;
  platform::Image Image1;
  platform::Label Label1, lblLoading;
  platform::Timer SplashTimer;

  bool bReady = false;
  bool bTimeUp = false;

  void SplashTimer_Timer();

 private:
  void Form_Load(const std::wstring& lang);
  void CanviaIdioma(const std::wstring& lang);
  void CloseSplash();
  platform::Form& main_;
};

}  // namespace app
