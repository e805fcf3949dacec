// The normal-file lookup behind the settings file's place and the update's
// installer check.
#include <gtest/gtest.h>

#include "platform/files.h"
#include "support/temp_folder.h"

namespace {

TEST(NormalFileNameTest, FindsNormalFilesOnlyAsSpelled) {
  testing_support::TempFolder folder;
  testing_support::WriteFile(folder / L"Install.exe", "x");
  testing_support::WriteFile(folder / L"hidden.exe", "x");
  testing_support::SetAttributes(folder / L"hidden.exe", platform::kAttributeHidden);
  EXPECT_EQ(platform::NormalFileName(folder / L"install.exe"), L"Install.exe");
  EXPECT_EQ(platform::NormalFileName(folder / L"hidden.exe"), L"");
  EXPECT_EQ(platform::NormalFileName(folder.path()), L"");
}

}  // namespace
