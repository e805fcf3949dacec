// A folder row's size: what a real tree counts.
#include "sources/folder_size.h"

#include <gtest/gtest.h>

#include "support/temp_folder.h"

namespace sources {
namespace {

using namespace testing_support;

TEST(FolderSizeTest, HiddenFilesCountSystemEntriesDoNot) {
  testing_support::TempFolder root;
  EXPECT_EQ(FolderSize(root / L"missing\\"), 0.0);
  WriteFile(root / L"a.txt", std::string(1000, 'a'));
  WriteFile(root / L"Fotos\\2009\\Verano\\c.jpg", std::string(7, 'c'));
  WriteFile(root / L"hidden.dat", std::string(300, 'h'));
  SetAttributes(root / L"hidden.dat", platform::kAttributeHidden);
  WriteFile(root / L"desktop.ini", std::string(100, 'd'));
  SetAttributes(root / L"desktop.ini", platform::kAttributeSystem | platform::kAttributeHidden);
  WriteFile(root / L"System Volume\\plain.txt", std::string(1000, 's'));
  SetAttributes(root / L"System Volume", platform::kAttributeDirectory | platform::kAttributeSystem);
  WriteFile(root / L".cache\\big.bin", std::string(4000, 'c'));
  std::wstring deep = root.path();  // past the old path limit
  while (deep.size() < 300) deep += L"\\a rather long folder name";
  WriteFile(deep + L"\\file.txt", std::string(42, 'x'));
  EXPECT_EQ(FolderSize(root.path() + L"\\"), 1000 + 7 + 300 + 42);

  // The file search's two size words: the low one unsigned, the high one added.
  ASSERT_TRUE(RunInLinuxShell(root / L"Fotos", "truncate -s 3000000000 video.avi && truncate -s 21474848825 disk.vhd"));
  EXPECT_EQ(FolderSize(root / L"Fotos\\"), 7 + 3000000000.0 + 5.0 * 4294967296.0 + 12345);
}

}  // namespace
}  // namespace sources
