// System information over the platform's lookups.
#include "environment/system_info.h"

#include "environment/os_name.h"
#include "platform/registry.h"

namespace environment {

std::wstring GetOSName() {
  platform::SystemVersion version = platform::GetSystemVersion();
  return OsNameFor(version.ok, version.platform_id, version.major, version.minor);
}

std::wstring GetSpecialFolder(int csidl) { return platform::SpecialFolderPath(csidl); }

std::wstring UserNameText() { return platform::UserName(100); }

}  // namespace environment
