// Rules the copy engine applies to one file or name at a time: how a
// refused file is tried again, how letter case is folded, which entries
// are links, and the largest file a file system holds.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>

#include "backup/copy_engine.h"
#include "backup/file_refusals.h"
#include "support/temp_folder.h"

namespace backup_testing {
namespace {

// Access denied mostly lasts (a file this user may not read): one more try
// after 0.1 s, where sharing and lock violations are waited out for about
// two seconds.
TEST(RetryingRefusalsTest, DeniedTriedOnceMoreHeldForTwoSeconds) {
  using platform::FileResult;
  using std::chrono::milliseconds;
  struct Case {
    std::vector<FileResult> results;  // the last one repeats
    FileResult end;
    int attempts;
    milliseconds paused;
  };
  const Case cases[] = {{{FileResult::kDenied}, FileResult::kDenied, 2, milliseconds(100)},
                        {{FileResult::kHeld}, FileResult::kHeld, 8, milliseconds(2250)},
                        {{FileResult::kHeld, FileResult::kHeld, FileResult::kDone}, FileResult::kDone, 3,
                         milliseconds(150)},
                        {{FileResult::kFailed}, FileResult::kFailed, 1, milliseconds(0)}};
  for (const Case& c : cases) {
    size_t attempts = 0;
    milliseconds paused{0};
    const FileResult end = backup::RetryingRefusals(
        [&] { return c.results[std::min(attempts++, c.results.size() - 1)]; }, milliseconds(2000),
        [&](milliseconds time) { return paused += time, true; });
    EXPECT_EQ(end, c.end);
    EXPECT_EQ(attempts, static_cast<size_t>(c.attempts));
    EXPECT_EQ(paused, c.paused);
  }
  size_t attempts = 0;
  backup::RetryingRefusals([&] { return ++attempts, FileResult::kHeld; }, milliseconds(2000),
                           [](milliseconds) { return false; });
  EXPECT_EQ(attempts, 1u) << "a cancel ends the waiting";
}

// One rule for letter case, the file system's, whatever the user's locale:
// in Turkish "file" and "FILE" are different words, but one file name, and
// the Turkish letters fold as the file system takes them.
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
  // A symbolic link, a listing that gave no tag; cloud files on demand,
  // deduplicated.
  const std::pair<std::uint32_t, bool> tags[] = {
      {0xA000000C, true}, {0x0, true}, {0x9000001A, false}, {0x80000013, false}};
  for (const auto& [tag, link] : tags) {
    platform::FoundEntry entry{folder, 0, 0, tag, L"Documents"};
    EXPECT_EQ(entry.is_link(), link) << std::hex << tag;
  }
  EXPECT_FALSE((platform::FoundEntry{platform::kAttributeDirectory, 0, 0, 0xA000000C, L"d"}.is_link()));
  EXPECT_EQ(platform::LongPath(L"\\\\srv\\share\\..\\x"), L"\\\\?\\UNC\\srv\\share\\x")
      << "never above the share";
  EXPECT_EQ(backup::LargestFileOn(L"FAT32"), 0xFFFFFFFFull);
}

}  // namespace
}  // namespace backup_testing
