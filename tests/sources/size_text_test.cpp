// Size texts of source rows and the fixed-point byte counts behind them.
#include "sources/size_text.h"

#include <gtest/gtest.h>

namespace sources {
namespace {

std::wstring TextForBytes(std::uint64_t bytes) {
  return SizeText(ByteCountFromBytes(bytes));
}

TEST(SizeTextTest, KilobytesRoundHalfToEven) {
  EXPECT_EQ(TextForBytes(0), L"0 KB");
  EXPECT_EQ(TextForBytes(511), L"0 KB");
  EXPECT_EQ(TextForBytes(512), L"0 KB");
  EXPECT_EQ(TextForBytes(1536), L"2 KB");
  EXPECT_EQ(TextForBytes(2560), L"2 KB");
  EXPECT_EQ(TextForBytes(3584), L"4 KB");
}

TEST(SizeTextTest, SwitchesToMegabytesJustAbove1024Kb) {
  EXPECT_EQ(TextForBytes(1048576), L"1024 KB");
  EXPECT_EQ(TextForBytes(1048577), L"1 MB");
  EXPECT_EQ(TextForBytes(1049600), L"1 MB");
  EXPECT_EQ(TextForBytes(2621440), L"2 MB");  // 2.5 MB
  EXPECT_EQ(TextForBytes(3670016), L"4 MB");  // 3.5 MB
}

TEST(SizeTextTest, SwitchesToGigabytesJustAbove1024Mb) {
  EXPECT_EQ(TextForBytes(1073741824), L"1024 MB");
  EXPECT_EQ(TextForBytes(1073742848), L"1 GB");
  EXPECT_EQ(TextForBytes(1610612736), L"2 GB");
  EXPECT_EQ(TextForBytes(5368709120), L"5 GB");
  EXPECT_EQ(TextForBytes(1099511627776), L"1024 GB");
}

TEST(SizeTextTest, KilobytesAreRoundedToFourPlacesBeforeTheUnitIsChosen) {
  // 1048576.05 bytes is 1024.0000488 KB, which the first rounding makes 1024.
  EXPECT_EQ(SizeText(10485760500), L"1024 KB");
  // 2560.041 bytes is 2.50004 KB: held as 2.5000, it then rounds down to 2.
  EXPECT_EQ(SizeText(25600410), L"2 KB");
}

TEST(SizeTextTest, NegativeCountsStayInKilobytes) {
  EXPECT_EQ(SizeText(-2048 * kUnitsPerByte), L"-2 KB");
  EXPECT_EQ(SizeText(-1536 * kUnitsPerByte), L"-2 KB");
  EXPECT_EQ(SizeText(-5368709120 * kUnitsPerByte), L"-5242880 KB");
  EXPECT_EQ(SizeText(-300 * kUnitsPerByte), L"0 KB");
}

TEST(ByteCountTest, WholeBytesSurviveTheRoundTripThroughDouble) {
  for (std::uint64_t bytes : {std::uint64_t{0}, std::uint64_t{1},
                              std::uint64_t{3000000000}, std::uint64_t{4294967296},
                              std::uint64_t{922337203685477}}) {
    const ByteCount count = ByteCountFromBytes(bytes);
    EXPECT_EQ(ByteCountFromDouble(ByteCountToDouble(count)), count) << bytes;
    EXPECT_EQ(ByteCountToDouble(count), static_cast<double>(bytes)) << bytes;
  }
}

TEST(ByteCountTest, FractionsRoundToTheNearestTenThousandth) {
  EXPECT_EQ(ByteCountFromDouble(1.00004), 10000);
  EXPECT_EQ(ByteCountFromDouble(1.00006), 10001);
  EXPECT_EQ(ByteCountFromDouble(-1.00006), -10001);
  EXPECT_EQ(ByteCountFromDouble(1.0 / 1024), 10);  // 0.0009765625
  // Values that scale to exactly half a unit go to the even neighbour.
  EXPECT_EQ(ByteCountFromDouble(0.00005), 0);
  EXPECT_EQ(ByteCountFromDouble(0.00025), 2);
  EXPECT_EQ(ByteCountFromDouble(0.00035), 4);
}

}  // namespace
}  // namespace sources
