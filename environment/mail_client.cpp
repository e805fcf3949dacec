// Profile keys, store paths and store file sizes over the platform layer.
#include "environment/mail_client.h"

#include "environment/store_path.h"
#include "platform/files.h"
#include "platform/system_facts.h"

namespace environment {

// The mail client 2013 keeps its profiles under 15.0; 2016 and every later
// version (2019, 2021, the subscription) under 16.0.
const std::array<const wchar_t*, 4> kProfileKeys = {
    L"Software\\Microsoft\\Office\\15.0\\Outlook\\Profiles",
    L"Software\\Microsoft\\Windows NT\\CurrentVersion\\Windows Messaging Subsystem\\Profile",
    L"Software\\Microsoft\\Windows Messaging Subsystem\\Profiles",
    L"Software\\Microsoft\\Office\\16.0\\Outlook\\Profiles",
};

const wchar_t kMailClientClass[] = L"Outlook.Application";

platform::AutomationObject CreateMailClient() {
  return platform::CreateAutomationObject(kMailClientClass);
}

bool MailClientRunning() { return platform::AutomationObjectRunning(kMailClientClass); }

bool MailProfilePresent() {
  bool present = false;
  for (const wchar_t* key : kProfileKeys) present = platform::CurrentUserKeyExists(key) || present;
  return present;
}

std::optional<std::wstring> StorePathFromStoreID(const std::wstring& store_id) {
  std::optional<std::string> path = AnsiStorePathFromStoreID(store_id);
  if (!path) return std::nullopt;
  return platform::FromAnsi(*path);
}

std::uint64_t FileSizeOf(const std::wstring& path) {
  if (path.empty()) return 0;
  platform::FileSearch search(path);
  return search.found() ? search.entry().size() : 0;
}

}  // namespace environment
