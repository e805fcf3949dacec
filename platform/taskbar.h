// A window's button on the taskbar: the progress of long work shown on it
// (in the error colour once part of the work failed), and a flash that asks
// for the user's attention. Behind a seam that tests replace.
#pragma once

namespace platform {

class Form;

class Taskbar {
 public:
  virtual ~Taskbar() = default;
  // done of total, drawn on the window's button.
  virtual void SetProgress(const Form& window, double done, double total, bool failed);
  virtual void ClearProgress(const Form& window);
  // Flashes the button until the window comes to the front.
  virtual void Flash(const Form& window);
};

// The taskbar the program uses; tests put their own in place.
Taskbar& CurrentTaskbar();
void SetTaskbar(Taskbar* taskbar);

}  // namespace platform
