// The program's one message pump: yielding during long work, the main loop
// and the loop of a modal window all run it. It knows no window of the
// program's: the forms build on it.
#pragma once

#include <functional>

namespace platform {

// Runs messages while go_on() holds, waiting for each when wait is set and
// returning once none is pending when not. A quit message is put back and
// ends the pump.
int PumpMessages(bool wait, const std::function<bool()>& go_on);

// Lets pending window messages run once: repaint, timers, button presses.
// Returns how many ran.
int DoEvents();

// Runs work on a thread of its own and lets the windows' messages run until
// it ends, so that slow work (a huge folder, a slow share) never makes the
// system mark a window as not responding. work must touch no window.
void RunAside(const std::function<void()>& work);

}  // namespace platform
