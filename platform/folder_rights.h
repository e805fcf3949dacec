// Who may change a folder, read from its security descriptor: the rule that
// a folder the program starts code from with an administrator's rights may
// be changed by the administrators and the system only. No Windows needed.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace platform {

// One entry of a folder's access list, its account as a SID string
// ("S-1-5-32-544").
struct AccessEntry {
  bool denies = false;
  std::wstring account;
  std::uint32_t rights = 0;
};

struct FolderRights {
  std::wstring owner;
  // No list at all gives everyone every right.
  bool has_list = false;
  std::vector<AccessEntry> entries;
};

// Whether only the administrators, the system and the system's installer
// service can change the folder or what is made in it: its owner is one of
// them (an owner may rewrite the list), and no entry allows anyone else to
// add, change, delete, or change rights. Entries that deny are left out, so
// the answer errs on the side of no.
bool OnlyAdministratorsCanChange(const FolderRights& rights);

}  // namespace platform
