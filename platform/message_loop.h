// The program's one message pump: the main loop and the loop of a modal
// window run it. It knows no window of the program's: the forms build on it.
#pragma once

#include <functional>

namespace platform {

// Runs messages while go_on() holds, waiting for each when wait is set and
// returning once none is pending when not. A quit message is put back and
// ends the pump.
int PumpMessages(bool wait, const std::function<bool()>& go_on);

}  // namespace platform
