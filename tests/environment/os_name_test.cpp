// Operating-system names for every kind of version record.
#include "environment/os_name.h"

#include <gtest/gtest.h>

namespace environment {
namespace {

TEST(OsNameForTest, FailedCallOrUnknownPlatformGivesNone) {
  EXPECT_EQ(OsNameFor(false, 2, 5, 1), L"NONE");
  EXPECT_EQ(OsNameFor(false, 0, 0, 0), L"NONE");
  EXPECT_EQ(OsNameFor(true, 3, 5, 1), L"NONE");
  EXPECT_EQ(OsNameFor(true, 0xFFFFFFFF, 6, 1), L"NONE");
}

TEST(OsNameForTest, Win32sWhateverTheVersion) {
  EXPECT_EQ(OsNameFor(true, 0, 3, 11), L"Win32s");
  EXPECT_EQ(OsNameFor(true, 0, 0, 0), L"Win32s");
}

TEST(OsNameForTest, Windows9xFamilyByMajorAndMinor) {
  EXPECT_EQ(OsNameFor(true, 1, 4, 0), L"Windows 95");
  EXPECT_EQ(OsNameFor(true, 1, 4, 10), L"Windows 98");
  EXPECT_EQ(OsNameFor(true, 1, 4, 90), L"Windows 98");
  EXPECT_EQ(OsNameFor(true, 1, 5, 0), L"Windows ME");
  EXPECT_EQ(OsNameFor(true, 1, 6, 0), L"Windows ME");
  EXPECT_EQ(OsNameFor(true, 1, 3, 95), L"Windows 95");
}

TEST(OsNameForTest, NtFamilyByExactVersionText) {
  EXPECT_EQ(OsNameFor(true, 2, 5, 0), L"Windows 2000");
  EXPECT_EQ(OsNameFor(true, 2, 5, 1), L"Windows XP");
  EXPECT_EQ(OsNameFor(true, 2, 5, 2), L"Windows 2003");
  EXPECT_EQ(OsNameFor(true, 2, 6, 0), L"Windows Vista");
  EXPECT_EQ(OsNameFor(true, 2, 6, 1), L"Windows 7");
  EXPECT_EQ(OsNameFor(true, 2, 6, 2), L"Windows 8");
}

TEST(OsNameForTest, OtherNtVersionsAreJustWindowsNt) {
  EXPECT_EQ(OsNameFor(true, 2, 6, 3), L"Windows NT");
  EXPECT_EQ(OsNameFor(true, 2, 10, 0), L"Windows NT");
  EXPECT_EQ(OsNameFor(true, 2, 4, 0), L"Windows NT");
  EXPECT_EQ(OsNameFor(true, 2, 6, 10), L"Windows NT");
  EXPECT_EQ(OsNameFor(true, 2, 5, 10), L"Windows NT");
  EXPECT_EQ(OsNameFor(true, 2, 51, 0), L"Windows NT");
}

}  // namespace
}  // namespace environment
