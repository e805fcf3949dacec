// The update's rules that need no window: version order, first line,
// lengths, percentages, ranges, redirects and installer versions.
#include "update/version_check.h"

#include "update/download_pace.h"

#include <gtest/gtest.h>

namespace update {
namespace {

TEST(VersionCheckTest, VersionsCompareAsText) {
  for (const wchar_t* greater : {L"0.2", L"0.1.7 "}) EXPECT_TRUE(IsGreaterVersion(greater, L"0.1.7")) << greater;
  for (const wchar_t* not_greater : {L"0.1.10", L"0.1.7", L""})
    EXPECT_FALSE(IsGreaterVersion(not_greater, L"0.1.7")) << not_greater;
  EXPECT_FALSE(IsGreaterVersion(L"A", L"b"));
}

TEST(VersionCheckTest, AVersionFileNamesOneToFourPartsOfUpToFiveDigits) {
  for (const char* good : {"0.1.8", "7", "12345.0.0.1", "00000"}) EXPECT_TRUE(VersionOfFile(good)) << good;
  for (const char* bad : {"...", "000000", "99999999999999999999", "1.2.3.4.5", "1..2", ".1", "1.", "",
                          " 0.2", "0.2 ", "0,2", "\xD9.2"}) {
    EXPECT_FALSE(VersionOfFile(bad)) << bad;
  }
  // The first line ends at a carriage return or a line feed.
  EXPECT_EQ(VersionOfFile("0.1.8\r0.1.7"), L"0.1.8");
  EXPECT_EQ(VersionOfFile("0.1.8\n0.1.7\r\n"), L"0.1.8");
  EXPECT_FALSE(VersionOfFile(std::string("0.2\0\r\n", 6)));
  // Byte-order marks: UTF-8, and UTF-16 of either order.
  EXPECT_EQ(VersionOfFile("\xEF\xBB\xBF" "0.2.0\r\n"), L"0.2.0");
  EXPECT_EQ(VersionOfFile(std::string("\xFF\xFE" "1\0.\0" "2\0\r\0\n\0", 12)), L"1.2");
  EXPECT_EQ(VersionOfFile(std::string("\xFE\xFF\0" "1\0.\0" "2", 8)), L"1.2");
  EXPECT_FALSE(VersionOfFile(std::string("\xFF\xFE" "1\x01.\0" "2\0", 8)));
}

TEST(VersionCheckTest, ADownloadKeepsItsPaceInEveryWindow) {
  using std::chrono::milliseconds;
  PaceRule pace(100, milliseconds(1000));
  EXPECT_TRUE(pace.Keeps(milliseconds(900), 0)) << "no window has passed yet";
  EXPECT_TRUE(pace.Keeps(milliseconds(1000), 100));
  EXPECT_TRUE(pace.Keeps(milliseconds(1500), 150));
  EXPECT_TRUE(pace.Keeps(milliseconds(2000), 200));
  EXPECT_FALSE(pace.Keeps(milliseconds(2600), 240)) << "only 90 since 1500, the last note a whole window back";
}

TEST(VersionCheckTest, ContentLengthAndPercentage) {
  EXPECT_EQ(ContentLengthValue("2 500"), 2500);
  EXPECT_EQ(ContentLengthValue("4294967296, 1"), 4294967296);
  for (const char* none : {"-5", ""}) EXPECT_EQ(ContentLengthValue(none), 0) << none;
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
  const platform::WebAddress http{false, L"a.test", 80}, https{true, L"a.test", 443};
  for (const auto& [from, to] : {std::pair{http, http}, {http, https}, {https, https}})
    EXPECT_TRUE(IsFollowedRedirect(from, to)) << from.port << " to " << to.port;
  for (const auto& [from, to] : {std::pair{https, platform::WebAddress{false, L"a.test", 443}},
                                 {http, {false, L"a.test", 8080}}, {http, {true, L"b.test", 443}}})
    EXPECT_FALSE(IsFollowedRedirect(from, to)) << from.port << " to " << to.port;
  EXPECT_EQ(InstallerVersionText({0, 2, 0, 0}), "0.2.0");
  EXPECT_EQ(InstallerVersionText({1, 10, 65535, 3}), "1.10.65535.3");
}

}  // namespace
}  // namespace update
