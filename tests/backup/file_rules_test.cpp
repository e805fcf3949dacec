// Rules the copy engine applies to one file or name at a time.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>

#include "backup/copy_engine.h"
#include "backup/file_refusals.h"
#include "support/temp_folder.h"

namespace backup_testing {
namespace {

// Access denied mostly lasts (a file this user may not read): one more try after
// 0.1 s, where sharing and lock violations are waited out for about two seconds.
TEST(RetryingRefusalsTest, DeniedTriedOnceMoreHeldForTwoSeconds) {
  using platform::FileResult;
  using std::chrono::milliseconds;
  // what each attempt finds (the last repeats); the end, the attempts and the time paused
  const std::tuple<std::vector<FileResult>, FileResult, size_t, int> cases[] = {
      {{FileResult::kDenied}, FileResult::kDenied, 2, 100}, {{FileResult::kHeld}, FileResult::kHeld, 8, 2250},
      {{FileResult::kHeld, FileResult::kHeld, FileResult::kDone}, FileResult::kDone, 3, 150},
      {{FileResult::kFailed}, FileResult::kFailed, 1, 0}};
  for (const auto& [results, end, attempts, paused] : cases) {
    size_t tried = 0;
    milliseconds waited{0};
    EXPECT_EQ(backup::RetryingRefusals([&] { return results[std::min(tried++, results.size() - 1)]; },
                                       milliseconds(2000), [&](milliseconds time) { return waited += time, true; }),
              end);
    EXPECT_EQ(tried, attempts);
    EXPECT_EQ(waited, milliseconds(paused)) << tried;
  }
  size_t attempts = 0;
  backup::RetryingRefusals([&] { return ++attempts, FileResult::kHeld; }, milliseconds(2000),
                           [](milliseconds) { return false; });
  EXPECT_EQ(attempts, 1u) << "a cancel ends the waiting";
}

// One rule for letter case, the file system's, whatever the user's locale: in Turkish
// "file" and "FILE" are two words but one file name; its letters fold as the file system's.
TEST(NameFoldingTest, OneFileNamesFoldAlikeInTurkish) {
  testing_support::TempFolder temp;
  for (const auto& [a, b] : {std::pair{L"file", L"FILE"}, {L"\u0131", L"I"}, {L"\u0130", L"i"}}) {
    testing_support::WriteFile(temp / a, "x");
    const bool one_file = platform::FileExists(temp / b);
    platform::DeleteFileAt(temp / a);
    EXPECT_EQ(platform::FoldedName(a) == platform::FoldedName(b), one_file) << a;
    EXPECT_EQ(platform::SameTextIgnoringCase(a, b), one_file) << a;
  }
}

// Only entries that lead elsewhere (links, junctions, mount points) are
// skipped; cloud placeholders, deduplicated and projected folders are walked.
TEST(FoundEntryTest, OnlyNameSurrogatesAreLinks) {
  const std::uint32_t folder = platform::kAttributeDirectory | platform::kAttributeReparsePoint;
  // A symbolic link, a listing that gave no tag; cloud files on demand, deduplicated.
  const std::pair<unsigned, bool> tags[] = {{0xA000000C, true}, {0x0, true}, {0x9000001A, false}, {0x80000013, false}};
  for (const auto& [tag, link] : tags)
    EXPECT_EQ((platform::FoundEntry{folder, 0, 0, tag, L"Documents"}.is_link()), link) << std::hex << tag;
  EXPECT_FALSE((platform::FoundEntry{platform::kAttributeDirectory, 0, 0, 0xA000000C, L"d"}.is_link()));
  EXPECT_EQ(platform::LongPath(L"\\\\srv\\share\\..\\x"), L"\\\\?\\UNC\\srv\\share\\x")
      << "never above the share";
  EXPECT_EQ(backup::LargestFileOn(L"FAT32"), 0xFFFFFFFFull);
}

}  // namespace
}  // namespace backup_testing
