// System information over the platform's lookups.
#include "environment/system_info.h"

#include "environment/os_name.h"
#include "platform/system_facts.h"

namespace environment {

std::wstring OperatingSystemName() {
  platform::SystemVersion version = platform::GetSystemVersion();
  return OperatingSystemNameFor(version.ok, version.platform_id, version.major, version.minor,
                                version.build);
}

std::wstring UserName() { return platform::UserNameWithin(100); }

}  // namespace environment
