// System information from the running system: the standard folders, the
// user's name and its buffer limit, and the system's name.
#include "environment/system_info.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "platform/files.h"
#include "platform/registry.h"

namespace environment {
namespace {

constexpr int kDesktopDirectory = 16;
constexpr int kPersonal = 5;
constexpr int kFonts = 20;
constexpr int kBitBucket = 10;

TEST(GetSpecialFolderTest, RealFoldersGiveTheirPath) {
  for (int csidl : {kDesktopDirectory, kPersonal, kFonts}) {
    std::wstring path = GetSpecialFolder(csidl);
    ASSERT_FALSE(path.empty()) << csidl;
    EXPECT_NE(path.back(), L'\\') << path;
    EXPECT_EQ(path[1], L':') << path;
  }
}

TEST(GetSpecialFolderTest, TheRecycleBinHasNoPathAndGivesNoRow) {
  EXPECT_EQ(GetSpecialFolder(kBitBucket), L"");
}

TEST(GetSpecialFolderTest, AnUnknownFolderGivesNothing) {
  EXPECT_EQ(GetSpecialFolder(0x7F), L"");
}

TEST(UserNameTest, TheNameAndItsTerminatorMustFitTheBuffer) {
  std::wstring name = UserNameText();
  ASSERT_FALSE(name.empty());
  ASSERT_LT(name.size(), 100u);
  const auto fits = static_cast<std::uint32_t>(name.size() + 1);
  EXPECT_EQ(platform::UserName(fits), name);
  EXPECT_EQ(platform::UserName(fits - 1), L"") << "a name that does not fit gives an empty label";
}

TEST(GetOSNameTest, TheRunningSystemHasANameFromTheTable) {
  const std::wstring known[] = {L"Windows 2000", L"Windows XP", L"Windows 2003",
                                L"Windows Vista", L"Windows 7", L"Windows 8", L"Windows NT"};
  std::wstring name = GetOSName();
  EXPECT_NE(std::find(std::begin(known), std::end(known), name), std::end(known)) << name;
}

}  // namespace
}  // namespace environment
