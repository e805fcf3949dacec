// The normal-file lookup behind the settings file's place and the update's
// installer check.
#include <gtest/gtest.h>

#include <utility>

#include "platform/files.h"
#include "support/temp_folder.h"

namespace {

TEST(NormalFileNameTest, FindsNormalFilesOnlyAsSpelled) {
  testing_support::TempFolder folder;
  testing_support::WriteFile(folder / L"Install.exe", "x");
  for (auto [name, attribute] : {std::pair{L"hidden.exe", platform::kAttributeHidden},
                                 std::pair{L"system.exe", platform::kAttributeSystem}}) {
    testing_support::WriteFile(folder / name, "x");
    testing_support::SetAttributes(folder / name, attribute);
    EXPECT_EQ(platform::NormalFileName(folder / name), L"") << name;
  }
  EXPECT_EQ(platform::NormalFileName(folder / L"install.exe"), L"Install.exe");
  EXPECT_EQ(platform::NormalFileName(folder.path()), L"");
}

}  // namespace
