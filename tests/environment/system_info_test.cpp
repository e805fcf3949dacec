// The user's name and its buffer limit, and the system's name from its
// version numbers.
#include "environment/system_info.h"

#include <gtest/gtest.h>

#include "environment/os_name.h"
#include "platform/system_facts.h"

namespace environment {
namespace {

TEST(SystemInfoTest, TheUserNameMustFitItsBufferAndSystemNamesFollowTheVersion) {
  std::wstring name = UserName();
  ASSERT_FALSE(name.empty());
  const auto fits = static_cast<std::uint32_t>(name.size() + 1);
  EXPECT_EQ(platform::UserNameWithin(fits), name);
  EXPECT_EQ(platform::UserNameWithin(fits - 1), L"") << "a name that does not fit gives an empty label";
  EXPECT_EQ(OperatingSystemName().rfind(L"Windows", 0), 0u) << OperatingSystemName();
  EXPECT_EQ(platform::SpecialFolderPath(10), L"") << "the recycle bin has no path, so no row";
  EXPECT_EQ(OperatingSystemNameFor(false, 2, 5, 1, 2600), L"NONE");
  EXPECT_EQ(OperatingSystemNameFor(true, 1, 4, 90, 3000), L"Windows 98");
  EXPECT_EQ(OperatingSystemNameFor(true, 1, 5, 0, 0), L"Windows ME");
  EXPECT_EQ(OperatingSystemNameFor(true, 2, 6, 10, 0), L"Windows NT") << "6.10 is not 6.1";
  // Current systems, from the records they really report.
  EXPECT_EQ(OperatingSystemNameFor(true, 2, 6, 3, 9600), L"Windows 8.1");
  EXPECT_EQ(OperatingSystemNameFor(true, 2, 10, 0, 19045), L"Windows 10");
  EXPECT_EQ(OperatingSystemNameFor(true, 2, 10, 0, 22000), L"Windows 11");
}

}  // namespace
}  // namespace environment
