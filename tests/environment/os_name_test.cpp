// The system's name from its version numbers; also run natively.
#include "environment/os_name.h"

#include <gtest/gtest.h>

namespace environment {
namespace {

TEST(OperatingSystemNameTest, NamesFollowTheVersionNumbers) {
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
