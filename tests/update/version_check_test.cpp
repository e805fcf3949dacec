// Version texts and their order, the version file's first line, and the
// download's expected length and percentage.
#include "update/version_check.h"

#include <gtest/gtest.h>

#include <vector>

namespace update {
namespace {

TEST(VersionTextTest, JoinsThreeDecimalNumbers) {
  EXPECT_EQ(VersionText(0, 1, 7), L"0.1.7");
  EXPECT_EQ(VersionText(12, 0, 305), L"12.0.305");
}

TEST(IsGreaterVersionTest, ComparesAsTextNotAsNumbers) {
  EXPECT_FALSE(IsGreaterVersion(L"0.1.10", L"0.1.7"));
  EXPECT_TRUE(IsGreaterVersion(L"0.2.0", L"0.1.7"));
  EXPECT_TRUE(IsGreaterVersion(L"0.2", L"0.1.7"));
  EXPECT_TRUE(IsGreaterVersion(L"0.1.8", L"0.1.7"));
  EXPECT_FALSE(IsGreaterVersion(L"0.1.6", L"0.1.7"));
  EXPECT_FALSE(IsGreaterVersion(L"0.1.7", L"0.1.7"));
}

TEST(IsGreaterVersionTest, LongerTextWinsOnACommonPrefix) {
  EXPECT_TRUE(IsGreaterVersion(L"0.1.7 ", L"0.1.7"));
  EXPECT_TRUE(IsGreaterVersion(L"0.1.7\n0.1.6", L"0.1.7"));
  EXPECT_FALSE(IsGreaterVersion(L"0.1", L"0.1.7"));
  EXPECT_FALSE(IsGreaterVersion(L"", L"0.1.7"));
}

TEST(IsGreaterVersionTest, CaseSensitiveByCodeUnit) {
  EXPECT_TRUE(IsGreaterVersion(L"a", L"B"));
  EXPECT_FALSE(IsGreaterVersion(L"A", L"b"));
  EXPECT_TRUE(IsGreaterVersion(L"0.1.7\u00E9", L"0.1.7z"));
  // In UTF-16 a character beyond U+FFFF starts with a surrogate (D800..DBFF),
  // which is smaller than U+FFFD.
  EXPECT_FALSE(IsGreaterVersion(L"0.\U0001F600", L"0.\uFFFD"));
  EXPECT_TRUE(IsGreaterVersion(L"0.\U0001F600", L"0.\u00FF"));
}

TEST(FirstLineTest, EndsAtTheFirstCarriageReturnOrLineFeed) {
  EXPECT_EQ(FirstLine("0.1.8\r\n0.1.7\r\n"), "0.1.8");
  EXPECT_EQ(FirstLine("0.1.8\r0.1.7"), "0.1.8");
  EXPECT_EQ(FirstLine("0.1.8\n0.1.7\r\n"), "0.1.8");
  EXPECT_EQ(FirstLine("0.1.8"), "0.1.8");
  EXPECT_EQ(FirstLine("0.1.8 \r\n"), "0.1.8 ");
  EXPECT_EQ(FirstLine("\n0.1.8"), "");
  EXPECT_EQ(FirstLine(""), "");
}

TEST(FirstLineTest, KeepsBytesAbove127AndZeroBytes) {
  const std::string bytes("0.\xF1\0x\r\n", 7);
  EXPECT_EQ(FirstLine(bytes), std::string("0.\xF1\0x", 5));
}

TEST(ContentLengthValueTest, ReadsTheDigits) {
  EXPECT_EQ(ContentLengthValue(L"2500"), 2500);
  EXPECT_EQ(ContentLengthValue(L"  2500"), 2500);
  EXPECT_EQ(ContentLengthValue(L"2 500"), 2500);
  EXPECT_EQ(ContentLengthValue(L"2500\r\n"), 2500);
  EXPECT_EQ(ContentLengthValue(L"2500, 2500"), 2500);
  EXPECT_EQ(ContentLengthValue(L"4294967296"), 4294967296);
}

TEST(ContentLengthValueTest, MissingOrNonNumericGivesZero) {
  EXPECT_EQ(ContentLengthValue(L""), 0);
  EXPECT_EQ(ContentLengthValue(L"abc"), 0);
  EXPECT_EQ(ContentLengthValue(L"0"), 0);
  EXPECT_EQ(ContentLengthValue(L"-5"), 0);
}

TEST(ContentLengthValueTest, HugeValueDoesNotWrap) {
  EXPECT_GT(ContentLengthValue(L"99999999999999999999999"), 0);
}

// The percentages shown while a body arrives in pieces.
std::vector<int> PercentsForPieces(std::int64_t expected, const std::vector<int>& pieces) {
  std::vector<int> shown;
  std::int64_t received = 0;
  for (int piece : pieces) {
    received += piece;
    shown.push_back(DownloadPercent(received, expected));
  }
  return shown;
}

TEST(DownloadPercentTest, FollowsEachPieceOfTheBody) {
  EXPECT_EQ(PercentsForPieces(2500, {1024, 1024, 452, 0}), (std::vector<int>{41, 82, 100, 100}));
  EXPECT_EQ(PercentsForPieces(1025, {1024, 1}), (std::vector<int>{100, 100}));
  EXPECT_EQ(PercentsForPieces(2048, {1024, 1024, 0}), (std::vector<int>{50, 100, 100}));
}

TEST(DownloadPercentTest, HalvesGoToTheEvenNeighbour) {
  EXPECT_EQ(DownloadPercent(1, 8), 12);    // 12.5
  EXPECT_EQ(DownloadPercent(5, 8), 62);    // 62.5
  EXPECT_EQ(DownloadPercent(7, 8), 88);    // 87.5
  EXPECT_EQ(DownloadPercent(1, 200), 0);   // 0.5
  EXPECT_EQ(DownloadPercent(3, 200), 2);   // 1.5
}

TEST(DownloadPercentTest, UnknownLengthLeavesTheBarAlone) {
  EXPECT_EQ(DownloadPercent(1024, 0), -1);
  EXPECT_EQ(DownloadPercent(0, 0), -1);
  EXPECT_EQ(DownloadPercent(1024, -1), -1);
}

TEST(DownloadPercentTest, BodyLongerThanAnnouncedStopsAtFull) {
  EXPECT_EQ(DownloadPercent(3072, 2500), 100);
  EXPECT_EQ(DownloadPercent(0, 2500), 0);
}

}  // namespace
}  // namespace update
