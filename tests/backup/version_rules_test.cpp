// The names of kept versions and the choice of those that go.
#include <gtest/gtest.h>

#include "backup/version_names.h"
#include "backup/version_pruning.h"

namespace backup {
namespace {

constexpr UtcSeconds kRunStart = 1796648700;  // 2026-12-07 13:05:00 UTC
constexpr UtcSeconds kDay = 86400;

TEST(VersionNameTest, TheStampGoesBeforeTheLastExtensionAndReadsBack) {
  const std::wstring at = L" (2026_12_07 13_05_00 UTC)";
  const std::pair<std::wstring, std::wstring> names[] = {
      {L"report.docx", L"report" + at + L".docx"}, {L"archive.tar.gz", L"archive.tar" + at + L".gz"},
      {L"Makefile", L"Makefile" + at}, {L".profile", L".profile" + at},
      {L".config.bak", L".config" + at + L".bak"}, {L"r" + at + L" (3).txt", L"r" + at + L" (3)" + at + L".txt"}};
  for (const auto& [name, version] : names) {
    EXPECT_EQ(VersionName(name, kRunStart), version);
    const auto read = ReadVersionName(version);
    EXPECT_TRUE(read && read->name == name && read->time == kRunStart && read->copy == 1) << version;
  }
  EXPECT_EQ(VersionName(L"r.txt", kRunStart, 3), L"r" + at + L" (3).txt");
  const auto third = ReadVersionName(L"r" + at + L" (3).txt");
  EXPECT_TRUE(third && third->name == L"r.txt" && third->copy == 3);
  EXPECT_EQ(VersionStamp(951782400), L"2000_02_29 00_00_00 UTC");
  // What the program did not make: never taken for a version.
  for (const std::wstring& other : std::vector<std::wstring>{
           L"report.docx", L"r (2026_02_30 10_00_00 UTC).txt", L"r (2026_12_07 24_00_00 UTC).txt",
           L"r (2026_12_07 13_05_00 GMT).txt", L"r" + at + L" (1).txt", L"r" + at + L" (02).txt",
           L"r" + at + L".a.txt", at + L".txt", L"r(2026_12_07 13_05_00 UTC).txt"})
    EXPECT_FALSE(ReadVersionName(other)) << other;
}

TEST(VersionPruningTest, OldVersionsGoOldestFirstButNeverTheNewestOfAFileNorUnderKeepDays) {
  const std::vector<KeptVersion> versions = {
      {L"a", kRunStart - 200 * kDay, 1, 10}, {L"a", kRunStart - 100 * kDay, 1, 20},
      {L"a", kRunStart - 100 * kDay, 2, 30}, {L"a", kRunStart - 5 * kDay, 1, 40},
      {L"b", kRunStart - 300 * kDay, 1, 50}, {L"c", kRunStart - 95 * kDay, 1, 60},
      {L"c", kRunStart - 91 * kDay, 1, 70}};
  EXPECT_EQ(ExpiredVersions(versions, kRunStart, 90), (std::vector<std::size_t>{0, 1, 2, 5}));
  EXPECT_EQ(ExpiredVersions(versions, kRunStart, 150), (std::vector<std::size_t>{0}));
  // Room: the oldest go until the free bytes reach what the run needs.
  EXPECT_TRUE(VersionsForRoom(versions, 100, 100).empty());
  EXPECT_EQ(VersionsForRoom(versions, 100, 75), (std::vector<std::size_t>{0, 1}));
  EXPECT_EQ(VersionsForRoom(versions, 10000, 0), (std::vector<std::size_t>{0, 1, 2, 5}));
  // Kept days outside one to ten years, or not a number, read as 90.
  const std::pair<const wchar_t*, int> stored[] = {
      {L"30", 30}, {L" 7 ", 7}, {L"1", 1},     {L"3650", 3650}, {L"0", 90},  {L"3651", 90},
      {L"", 90},   {L"-5", 90}, {L"1e3", 90},  {L"30days", 90}, {L"99999999999", 90}};
  for (const auto& [value, days] : stored) EXPECT_EQ(KeepDays(value), days) << value;
}

}  // namespace
}  // namespace backup
