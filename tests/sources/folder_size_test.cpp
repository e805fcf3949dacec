// Folder sizes of real trees: what is counted, what is skipped, and files
// whose size does not fit in 31 or 32 bits.
#include "sources/folder_size.h"

#include <gtest/gtest.h>

#include "platform/files.h"
#include "support/temp_folder.h"

namespace sources {
namespace {

using testing_support::SetAttributes;
using testing_support::WriteFile;

class FolderSizeTest : public ::testing::Test {
 protected:
  testing_support::TempFolder root;
  std::wstring path = root.path() + L"\\";  // as the rows pass it
};

TEST_F(FolderSizeTest, HiddenFilesOfEveryLevelCountSystemEntriesAndDotNamesNot) {
  EXPECT_EQ(FolderSize(path), 0.0);
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
  EXPECT_EQ(FolderSize(path), 1000 + 7 + 300 + 42);
  EXPECT_EQ(FolderSize(root / L"Fotos\\"), 7.0);
}

// The file search's two size words: the low one unsigned, the high one added.
// Through the file search's two size words: the low one unsigned, the high
// one added.
TEST_F(FolderSizeTest, FilesAbove2And4GiBAddTheirWholeSize) {
  testing_support::MakeSparseFile(root / L"video.avi", 3000000000ull);
  EXPECT_EQ(FolderSize(path), 3000000000.0);
  const std::uint64_t size = 5ull * 4294967296ull + 12345;
  testing_support::MakeSparseFile(root / L"disk.vhd", size);
  EXPECT_EQ(FolderSize(path), static_cast<double>(size + 3000000000ull));
}

}  // namespace
}  // namespace sources
