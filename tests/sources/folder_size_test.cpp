// Folder sizes of real trees: what is counted, what is skipped, and files
// whose size does not fit in 31 or 32 bits.
#include "sources/folder_size.h"

#include <gtest/gtest.h>

#include "platform/files.h"
#include "sources/size_text.h"
#include "support/temp_folder.h"

namespace sources {
namespace {

using testing_support::MakeFolders;
using testing_support::SetAttributes;
using testing_support::TempFolder;
using testing_support::WriteFile;

class FolderSizeTest : public ::testing::Test {
 protected:
  TempFolder root;
  std::wstring path = root.path() + L"\\";  // as the rows pass it
};

TEST_F(FolderSizeTest, AnEmptyFolderOrOneThatCannotBeListedCountsZero) {
  EXPECT_EQ(FolderSize(path), 0.0);
  EXPECT_EQ(FolderSize(root / L"missing\\"), 0.0);
  EXPECT_EQ(SizeText(ByteCountFromDouble(FolderSize(root / L"missing\\"))), L"0 KB");
}

TEST_F(FolderSizeTest, FilesOfEveryLevelAreSummed) {
  WriteFile(root / L"a.txt", std::string(1000, 'a'));
  WriteFile(root / L"Fotos\\2009\\b.jpg", std::string(2500, 'b'));
  WriteFile(root / L"Fotos\\2009\\Verano\\c.jpg", std::string(7, 'c'));
  WriteFile(root / L"Fotos\\empty.txt", "");
  MakeFolders(root / L"Fotos\\nothing here");
  EXPECT_EQ(FolderSize(path), 3507.0);
  EXPECT_EQ(FolderSize(root / L"Fotos\\2009\\"), 2507.0);
}

TEST_F(FolderSizeTest, HiddenFilesCount) {
  WriteFile(root / L"hidden.dat", std::string(300, 'h'));
  SetAttributes(root / L"hidden.dat", platform::kAttributeHidden);
  WriteFile(root / L"shown.dat", std::string(20, 's'));
  EXPECT_EQ(FolderSize(path), 320.0);
}

TEST_F(FolderSizeTest, SystemFilesAndDotNamesAreLeftOut) {
  WriteFile(root / L"desktop.ini", std::string(100, 'd'));
  SetAttributes(root / L"desktop.ini", platform::kAttributeSystem | platform::kAttributeHidden);
  WriteFile(root / L".profile", std::string(200, 'p'));
  WriteFile(root / L".cache\\big.bin", std::string(4000, 'c'));
  WriteFile(root / L"kept.txt", std::string(5, 'k'));
  EXPECT_EQ(FolderSize(path), 5.0);
}

TEST_F(FolderSizeTest, ASystemSubfolderIsNotEnteredWhateverItHolds) {
  WriteFile(root / L"System Volume\\plain.txt", std::string(1000, 's'));
  WriteFile(root / L"System Volume\\deeper\\more.txt", std::string(1000, 's'));
  SetAttributes(root / L"System Volume", platform::kAttributeDirectory | platform::kAttributeSystem);
  WriteFile(root / L"kept.txt", std::string(9, 'k'));
  EXPECT_EQ(FolderSize(path), 9.0);
}

TEST_F(FolderSizeTest, AFileAbove2GiBAddsItsSizeNotANegativeNumber) {
  testing_support::MakeSparseFile(root / L"video.avi", 3000000000ull);
  EXPECT_EQ(FolderSize(path), 3000000000.0);
}

TEST_F(FolderSizeTest, AFileAbove4GiBAddsItsHighWord) {
  const std::uint64_t size = 5ull * 4294967296ull + 12345;
  testing_support::MakeSparseFile(root / L"disk.vhd", size);
  WriteFile(root / L"note.txt", std::string(11, 'n'));
  EXPECT_EQ(FolderSize(path), static_cast<double>(size + 11));
  EXPECT_EQ(SizeText(ByteCountFromDouble(FolderSize(path))), L"20 GB");
}

TEST_F(FolderSizeTest, NamesBeyondTheOldPathLimitAreCounted) {
  std::wstring deep = root.path();
  while (deep.size() < 300) deep += L"\\a rather long folder name";
  WriteFile(deep + L"\\file.txt", std::string(42, 'x'));
  EXPECT_EQ(FolderSize(path), 42.0);
}

}  // namespace
}  // namespace sources
