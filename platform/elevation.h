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

#include "platform/folder_rights.h"
#include "platform/form.h"

namespace platform {

// The program's command-line arguments after its own name, as the system
// splits them.
std::vector<std::wstring> ProgramArguments();

// A text value of a key under HKEY_LOCAL_MACHINE; "" when
// there is none.
std::wstring MachineRegistryText(const std::wstring& key, const std::wstring& value);

// Starts program with parameters through the shell's "runas" verb, which
// asks for an administrator's rights in a prompt owned by owner, and
// returns at once. ended runs on owner's thread with the program's exit
// code once it has ended, or with nothing when it did not start (the
// prompt refused or cancelled) or its code cannot be read; not at all when
// owner is gone by then.
void StartElevated(const std::wstring& program, const std::wstring& parameters, const Form& owner,
                   std::function<void(std::optional<unsigned long> exit_code)> ended);

// Creates path (or takes the one there) as a folder that only
// administrators and the system may change: everyone else may read it and
// run what it holds. False when that could not be made so.
bool MakeAdministratorsFolder(const std::wstring& path);

// Who may change a folder, from its owner and access list; nothing when
// they cannot be read.
std::optional<FolderRights> ReadFolderRights(const std::wstring& path);
// The same from a security descriptor in memory.
FolderRights RightsOfDescriptor(const void* descriptor);

// A file held open for reading: while this lives nobody can write, rename
// or delete it (its sharing allows reading only).
class ReadOnlyHold {
 public:
  explicit ReadOnlyHold(const std::wstring& path);
  ~ReadOnlyHold();
  ReadOnlyHold(const ReadOnlyHold&) = delete;
  ReadOnlyHold& operator=(const ReadOnlyHold&) = delete;
  // False when it could not be opened so (another program has it open to
  // write, or it is gone).
  bool held() const;

 private:
  HANDLE handle_;
};

// Copies a file's bytes over destination, replacing it.
bool CopyFileOver(const std::wstring& source, const std::wstring& destination);

}  // namespace platform
