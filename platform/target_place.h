// Whether a backup target's place is there at all: a drive with a root
// folder, a share that answers.
#pragma once

#include <string>

namespace platform {

// False for a drive letter with no root folder (a USB disk not plugged in,
// an unmapped letter) and for a share whose server or name does not
// answer. Asking a share may wait on the network: never on a window's
// thread. Other paths are left to the folder checks that follow.
bool TargetPlaceAvailable(const std::wstring& full_path);

}  // namespace platform
