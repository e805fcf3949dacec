// Who may change a folder the program starts code from as an administrator.
#include "platform/folder_rights.h"

#include <gtest/gtest.h>

namespace platform {
namespace {

const std::wstring kAdministrators = L"S-1-5-32-544", kUsers = L"S-1-5-32-545", kSystem = L"S-1-5-18";

TEST(FolderRightsTest, OnlyAdministratorsAndTheSystemMayChange) {
  const AccessEntry read_and_run{false, kUsers, 0x1200A9};
  FolderRights program_files{kAdministrators, true, {{false, kSystem, 0x1F01FF}, {false, kAdministrators, 0x10000000},
                                                      read_and_run, {false, L"S-1-3-0", 0x10000000}}};
  EXPECT_TRUE(OnlyAdministratorsCanChange(program_files));
  for (const std::uint32_t right : {0x2u, 0x4u, 0x40u, 0x10000u, 0x40000u, 0x80000u, 0x40000000u}) {
    FolderRights writable = program_files;
    writable.entries.push_back({false, L"S-1-5-11", right});  // authenticated users
    EXPECT_FALSE(OnlyAdministratorsCanChange(writable)) << right;
    writable.entries.back().denies = true;
    EXPECT_TRUE(OnlyAdministratorsCanChange(writable)) << "a denial takes nothing more away";
  }
  EXPECT_FALSE(OnlyAdministratorsCanChange({L"S-1-5-21-1-2-3-1001", true, {read_and_run}})) << "a user owns it";
  EXPECT_FALSE(OnlyAdministratorsCanChange({kAdministrators, false, {}})) << "no list: everyone";
}

}  // namespace
}  // namespace platform
