// The /backup mode: one backup with what the settings file keeps, with no
// one watching: no splash, no box, the window minimized, a balloon at the
// end, and an exit code that tells how it went.
#pragma once

#include <string>

namespace app {

// Runs it and returns the exit code (app::RunResult, or kAnotherRunGoing).
int RunUnattended(const std::wstring& settings_file);

}  // namespace app
