// The user's name and its buffer limit, the system's name, a folder with no path.
#include "environment/system_info.h"

#include <gtest/gtest.h>

#include "platform/system_facts.h"

namespace environment {
namespace {

TEST(SystemInfoTest, UserNameFitsItsBufferSystemIsNamed) {
  std::wstring name = UserName();
  ASSERT_FALSE(name.empty());
  const auto fits = static_cast<std::uint32_t>(name.size() + 1);
  EXPECT_EQ(platform::UserNameWithin(fits), name);
  EXPECT_EQ(platform::UserNameWithin(fits - 1), L"") << "a name that does not fit gives an empty label";
  EXPECT_EQ(OperatingSystemName().rfind(L"Windows", 0), 0u) << OperatingSystemName();
  EXPECT_EQ(platform::SpecialFolderPath(10), L"") << "the recycle bin has no path, so no row";
}

}  // namespace
}  // namespace environment
