// Operating-system names: the family rules and the exact NT versions.
#include "environment/os_name.h"

#include <gtest/gtest.h>

namespace environment {
namespace {

TEST(OperatingSystemNameTest, FamiliesAndExactVersions) {
  EXPECT_EQ(OperatingSystemNameFor(false, 2, 5, 1), L"NONE");
  EXPECT_EQ(OperatingSystemNameFor(true, 3, 5, 1), L"NONE");
  EXPECT_EQ(OperatingSystemNameFor(true, 0, 3, 11), L"Win32s");
  EXPECT_EQ(OperatingSystemNameFor(true, 1, 4, 0), L"Windows 95");
  EXPECT_EQ(OperatingSystemNameFor(true, 1, 4, 90), L"Windows 98");
  EXPECT_EQ(OperatingSystemNameFor(true, 1, 5, 0), L"Windows ME");
  EXPECT_EQ(OperatingSystemNameFor(true, 2, 6, 1), L"Windows 7");
  EXPECT_EQ(OperatingSystemNameFor(true, 2, 6, 10), L"Windows NT") << "6.10 is not 6.1";
  EXPECT_EQ(OperatingSystemNameFor(true, 2, 10, 0), L"Windows NT");
}

}  // namespace
}  // namespace environment
