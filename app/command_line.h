// What the program is asked to do by its command line, and the exit codes
// an unattended run ends with. No Windows call: also built natively.
#pragma once

#include <string>
#include <vector>

namespace app {

// The argument that runs one backup with the stored settings and ends.
constexpr wchar_t kBackupSwitch[] = L"/backup";

enum class StartMode {
  kWindow,       // no argument: the window, for the user
  kBackup,       // an unattended run
  kApplyUpdate,  // the program applies a downloaded update
  kRefused,      // an argument the program does not know
};

// The mode the arguments (the program's name left out) ask for. The
// update's switch takes arguments of its own after it; /backup takes none.
// Switches are matched without regard to letter case.
StartMode ModeOfArguments(const std::vector<std::wstring>& arguments);

// The message for refused arguments: what was given and what is accepted.
std::wstring RefusedArgumentsText(const std::vector<std::wstring>& arguments);

// How a backup run ended, from which the exit code and the settings file's
// record are made.
enum class RunResult {
  kComplete = 0,         // every ticked source copied
  kNotAllCopied = 1,     // the run went through, some files were not copied
  kNothingBackedUp = 2,  // no settings, no ticked row, a target refused
  kCancelled = 3,        // by the user, a shutdown or a sign-out
};
// The exit code of a /backup that found another run going.
constexpr int kAnotherRunGoing = 4;

RunResult ResultOfRun(bool target_refused, bool cancelled, bool any_failed);

// The name of the lock that one program's runs share: per user session,
// and per settings file, so that a copy of the program with settings of
// its own beside it is a program of its own.
std::wstring RunLockName(const std::wstring& settings_file);

}  // namespace app
