// Size texts of source rows and the fixed-point byte counts behind them.
#include "sources/size_text.h"

#include <gtest/gtest.h>

namespace sources {
namespace {

std::wstring TextForBytes(std::uint64_t bytes) { return SizeText(ByteCountFromBytes(bytes)); }

TEST(SizeTextTest, UnitSwitchesJustAbove1024AndHalvesGoToEven) {
  EXPECT_EQ(TextForBytes(512), L"0 KB");
  EXPECT_EQ(TextForBytes(1536), L"2 KB");
  EXPECT_EQ(TextForBytes(2560), L"2 KB");
  EXPECT_EQ(TextForBytes(1048576), L"1024 KB");
  EXPECT_EQ(TextForBytes(1048577), L"1 MB");
  EXPECT_EQ(TextForBytes(3670016), L"4 MB");  // 3.5 MB
  EXPECT_EQ(TextForBytes(1073741824), L"1024 MB");
  EXPECT_EQ(TextForBytes(1073742848), L"1 GB");
  EXPECT_EQ(TextForBytes(5368709120), L"5 GB");
  // Kilobytes are first rounded to four places: 1048576.05 bytes is
  // 1024.0000488 KB, held as 1024; 2560.041 bytes is 2.50004 KB, held as
  // 2.5000, which then rounds down to 2.
  EXPECT_EQ(SizeText(10485760500), L"1024 KB");
  EXPECT_EQ(SizeText(25600410), L"2 KB");
}

TEST(ByteCountTest, WholeBytesSurviveDoublesAndFractionsRoundHalfToEven) {
  for (std::uint64_t bytes : {std::uint64_t{3000000000}, std::uint64_t{922337203685477}}) {
    const ByteCount count = ByteCountFromBytes(bytes);
    EXPECT_EQ(ByteCountFromDouble(ByteCountToDouble(count)), count) << bytes;
  }
  EXPECT_EQ(ByteCountFromDouble(1.00006), 10001);
  EXPECT_EQ(ByteCountFromDouble(0.00025), 2);
  EXPECT_EQ(ByteCountFromDouble(0.00035), 4);
}

}  // namespace
}  // namespace sources
