// Profile keys, store paths and store file sizes over the platform layer.
#include "environment/mail_client.h"

#include "environment/store_path.h"
#include "platform/files.h"
#include "platform/registry.h"

namespace environment {

const std::array<const wchar_t*, 3> kProfileKeys = {
    L"Software\\Microsoft\\Office\\15.0\\Outlook\\Profiles",
    L"Software\\Microsoft\\Windows NT\\CurrentVersion\\Windows Messaging Subsystem\\Profile",
    L"Software\\Microsoft\\Windows Messaging Subsystem\\Profiles",
};

bool RegKeyExists(const std::wstring& path) { return platform::CurrentUserKeyExists(path); }

bool MailProfilePresent() {
  bool present = false;
  for (const wchar_t* key : kProfileKeys) present = RegKeyExists(key) || present;
  return present;
}

std::optional<std::wstring> StorePathFromStoreID(const std::wstring& storeId) {
  std::optional<std::string> path = PstPathFromStoreID(storeId);
  if (!path) return std::nullopt;
  return platform::FromAnsi(*path);
}

std::uint64_t FileSizeOf(const std::wstring& path) {
  if (path.empty()) return 0;
  platform::FileSearch search(path);
  return search.found() ? search.entry().size() : 0;
}

}  // namespace environment
