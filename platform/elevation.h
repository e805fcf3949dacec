// What the update of an installation for all users needs from the system:
// the program's arguments, the machine's uninstall entry, a start of the
// program with an administrator's rights (the system's elevation prompt)
// whose end is reported to the window, a folder only administrators can
// change, and a plain file copy.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/form.h"

namespace platform {

// The program's command-line arguments after its own name, as the system
// splits them.
std::vector<std::wstring> ProgramArguments();

// A text value of a key under HKEY_LOCAL_MACHINE; "" when
// there is none.
std::wstring MachineRegistryText(const std::wstring& key, const std::wstring& value);

// Starts program with parameters through the shell's "runas" verb, which
// asks for an administrator's rights. False when it did not start (the
// prompt refused or cancelled). Otherwise ended runs on the mailbox's
// thread once the program has ended, with its exit code (nothing when it
// cannot be read).
bool StartElevated(const std::wstring& program, const std::wstring& parameters, const Mailbox& mailbox,
                   std::function<void(std::optional<unsigned long> exit_code)> ended);

// Creates path (or takes the one there) as a folder that only
// administrators and the system may change: everyone else may read it and
// run what it holds. False when that could not be made so.
bool MakeAdministratorsFolder(const std::wstring& path);

// Copies a file's bytes over destination, replacing it.
bool CopyFileOver(const std::wstring& source, const std::wstring& destination);

}  // namespace platform
