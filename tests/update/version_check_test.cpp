// The update's rules that need no window: version order, first line,
// lengths, percentages, ranges, redirects and installer versions.
#include "update/version_check.h"

#include <gtest/gtest.h>

namespace update {
namespace {

TEST(VersionCheckTest, VersionsCompareAsText) {
  EXPECT_FALSE(IsGreaterVersion(L"0.1.10", L"0.1.7"));
  EXPECT_TRUE(IsGreaterVersion(L"0.2", L"0.1.7"));
  EXPECT_FALSE(IsGreaterVersion(L"0.1.7", L"0.1.7"));
  EXPECT_TRUE(IsGreaterVersion(L"0.1.7 ", L"0.1.7"));
  EXPECT_FALSE(IsGreaterVersion(L"", L"0.1.7"));
  EXPECT_FALSE(IsGreaterVersion(L"A", L"b"));
  EXPECT_EQ(VersionText(12, 0, 305), L"12.0.305");
}

TEST(VersionCheckTest, FirstLineEndsAtCarriageReturnOrLineFeed) {
  EXPECT_EQ(FirstLine("0.1.8\r0.1.7"), "0.1.8");
  EXPECT_EQ(FirstLine("0.1.8\n0.1.7\r\n"), "0.1.8");
  EXPECT_EQ(FirstLine("0.1.8 "), "0.1.8 ");
  EXPECT_EQ(FirstLine(std::string("0.\xF1\0x\r\n", 7)), std::string("0.\xF1\0x", 5));
  EXPECT_TRUE(IsVersionText("12345678901234567.89"));
  EXPECT_FALSE(IsVersionText("12345678901234567.890"));
}

TEST(VersionCheckTest, ContentLengthAndPercentage) {
  EXPECT_EQ(ContentLengthValue("2 500"), 2500);
  EXPECT_EQ(ContentLengthValue("4294967296, 1"), 4294967296);
  EXPECT_EQ(ContentLengthValue("-5"), 0);
  EXPECT_EQ(ContentLengthValue(""), 0);
  EXPECT_GT(ContentLengthValue("99999999999999999999999"), 0);
  EXPECT_EQ(DownloadPercent(1, 8), 12);   // 12.5: halves go to the even neighbour
  EXPECT_EQ(DownloadPercent(7, 8), 88);   // 87.5
  EXPECT_EQ(DownloadPercent(1024, 0), -1);  // unknown length: the bar is left alone
  EXPECT_EQ(DownloadPercent(3072, 2500), 100);
}

TEST(VersionCheckTest, OnlyARangeOverEveryByteCounts) {
  EXPECT_EQ(WholeFileRange("bytes 0-6/7"), 7u);
  for (const char* no : {"bytes 0-6/90", "bytes 1-7/7", "bytes 0-6/*", "bytes */7", "bytes 0-6/7 ", ""}) {
    EXPECT_FALSE(WholeFileRange(no)) << no;
  }
}

TEST(VersionCheckTest, RedirectsStayOnTheHostAndNeverLeaveHttps) {
  const auto at = [](bool secure, const wchar_t* host, int port) { return platform::WebAddress{secure, host, port}; };
  EXPECT_TRUE(IsFollowedRedirect(at(false, L"a.test", 80), at(false, L"a.test", 80)));
  EXPECT_TRUE(IsFollowedRedirect(at(false, L"a.test", 80), at(true, L"a.test", 443)));
  EXPECT_TRUE(IsFollowedRedirect(at(true, L"a.test", 443), at(true, L"a.test", 443)));
  EXPECT_FALSE(IsFollowedRedirect(at(true, L"a.test", 443), at(false, L"a.test", 443)));
  EXPECT_FALSE(IsFollowedRedirect(at(false, L"a.test", 80), at(false, L"a.test", 8080)));
  EXPECT_FALSE(IsFollowedRedirect(at(false, L"a.test", 80), at(true, L"b.test", 443)));
  EXPECT_EQ(InstallerVersionText({0, 2, 0, 0}), "0.2.0");
  EXPECT_EQ(InstallerVersionText({1, 10, 65535, 3}), "1.10.65535.3");
}

}  // namespace
}  // namespace update
