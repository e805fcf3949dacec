// The splash window and its two-way wait: the minimum display time and the
// main window's readiness, whichever comes later, close it.
#include "app/splash_window.h"

#include "app/res/resource.h"
#include "app/texts.h"

namespace app {

using platform::Font;
using platform::Layout;

void SplashWindow::ShowSplash(Language language) {
  // Owned by the main window, it goes with it; a close of its own (Alt+F4,
  // the taskbar's) is ignored, since only its end frees the main window.
  CreateForm({L"", 7095, 3075, Border::kNone, Font{L"Tahoma", 12}}, &main_);
  on_close = [] {};
  left_line.Create(*this, 120, 120, 120, 2760);
  right_line.Create(*this, 6840, 120, 6840, 2760);
  top_line.Create(*this, 120, 120, 6840, 120);
  bottom_line.Create(*this, 120, 2760, 6840, 2760);
  logo.Create(Layout{this, {960, 480, 1920, 1920}, font()}, IDR_LOGO);
  title.Create(Layout{this, {3600, 600, 2895, 375}, Font{L"Tahoma", 15.75, true}}, kProgramTitle);
  logo.set_accessible_name_from(title);
  loading_label.Create(Layout{this, {3600, 1440, 2655, 375}, font()},
                       TextsOf(language).splash_loading);
  minimum_time.Create(*this, kMinimumMs, true);
  minimum_time.on_tick = [this] { OnMinimumTimeUp(); };
  CenterOnScreen();
  SetTopmost();
  Show();
}

void SplashWindow::OnMinimumTimeUp() {
  time_up = true;
  minimum_time.set_enabled(false);
  if (ready) CloseSplash();
}

void SplashWindow::ReadyToWork() {
  ready = true;
  if (time_up) CloseSplash();
}

void SplashWindow::CloseSplash() {
  main_.set_enabled(true);
  Unload();
}

}  // namespace app
