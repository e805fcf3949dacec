// The sizes of source rows: real trees, size texts and the byte counts
// behind them.
#include "sources/folder_size.h"

#include <gtest/gtest.h>

#include "sources/size_text.h"
#include "support/temp_folder.h"

namespace sources {
namespace {

using namespace testing_support;

TEST(FolderSizeTest, HiddenFilesOfEveryLevelCountSystemEntriesAndDotNamesNot) {
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

TEST(SizeTextTest, UnitSwitchesJustAbove1024AndHalvesGoToEven) {
  const std::pair<std::uint64_t, const wchar_t*> cases[] = {
      {512, L"0 KB"},        {1536, L"2 KB"},        {2560, L"2 KB"},
      {1048576, L"1024 KB"}, {1048577, L"1 MB"},     {3670016, L"4 MB"},
      {1073741824, L"1024 MB"}, {1073742848, L"1 GB"}};
  for (const auto& [bytes, text] : cases)
    EXPECT_EQ(SizeText(TenThousandthBytesFromBytes(bytes)), text) << bytes;
  // Kilobytes are first rounded to four places: 1048576.05 bytes is
  // 1024.0000488 KB, held as 1024; 2560.041 bytes is 2.50004 KB, held as
  // 2.5000, which then rounds down to 2.
  EXPECT_EQ(SizeText(10485760500), L"1024 KB");
  EXPECT_EQ(SizeText(25600410), L"2 KB");
}

TEST(TenThousandthBytesTest, WholeBytesSurviveDoublesAndFractionsRoundHalfToEven) {
  const TenThousandthBytes large = TenThousandthBytesFromBytes(922337203685477);
  EXPECT_EQ(TenThousandthBytesFromDouble(TenThousandthBytesToDouble(large)), large);
  EXPECT_EQ(TenThousandthBytesFromDouble(0.00025), 2);
  EXPECT_EQ(TenThousandthBytesFromDouble(0.00035), 4);
}

}  // namespace
}  // namespace sources
