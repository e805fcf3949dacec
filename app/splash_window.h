// The splash window: on top of everything while the main window fills in,
// for at least three seconds and until the main window says it is ready.
#pragma once

#include <string>

#include "app/texts.h"
#include "platform/controls.h"

namespace app {

class SplashWindow : public platform::Form {
 public:
  // main is the window the splash enables when it closes.
  explicit SplashWindow(platform::Form& main) : main_(main) {}

  // Loads the window with its texts in language, centres it on the screen,
  // puts it on top and shows it; returns at once.
  void ShowSplash(Language language);
  void ReadyToWork();
  void OnMinimumTimeUp();

  static constexpr int kMinimumMs = 3000;

  platform::Line left_line, right_line, top_line, bottom_line;
  platform::Image logo;
  platform::Label title, loading_label;
  platform::Timer minimum_time;

  bool ready = false;
  bool time_up = false;

 private:
  void CloseSplash();
  platform::Form& main_;
};

}  // namespace app
