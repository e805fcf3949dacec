// The rule of a folder that only administrators can change.
#include "platform/folder_rights.h"

#include <algorithm>
#include <iterator>

namespace platform {
namespace {

// The system, the administrators, the system's installer service, and
// CREATOR OWNER (whose entry goes to whoever makes a file there, which
// takes the right to make one).
const wchar_t* const kTrustedAccounts[] = {
    L"S-1-5-18", L"S-1-5-32-544", L"S-1-5-80-956008885-3418522649-1831038044-1853292631-2271478464",
    L"S-1-3-0"};

// Adding files or folders, writing, deleting, changing attributes, rights
// or owner, and the generic rights that include them.
constexpr std::uint32_t kChangingRights = 0x2 | 0x4 | 0x10 | 0x40 | 0x100 | 0x10000 | 0x40000 | 0x80000 |
                                          0x10000000 | 0x40000000;

bool IsTrusted(const std::wstring& account) {
  return std::find(std::begin(kTrustedAccounts), std::end(kTrustedAccounts), account) !=
         std::end(kTrustedAccounts);
}

}  // namespace

bool OnlyAdministratorsCanChange(const FolderRights& rights) {
  if (!rights.has_list || !IsTrusted(rights.owner) || rights.owner == L"S-1-3-0") return false;
  return std::none_of(rights.entries.begin(), rights.entries.end(), [](const AccessEntry& entry) {
    return !entry.denies && (entry.rights & kChangingRights) && !IsTrusted(entry.account);
  });
}

}  // namespace platform
