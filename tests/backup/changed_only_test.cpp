// Copying only new and changed files: what is left alone (same size and last-write
// time), and the log's markers in the walk's order.
#include "backup_fixture.h"

namespace backup_testing {
namespace {

constexpr std::uint64_t kSecond = 10000000;

using ChangedOnlyTest = CopyEngineTest;

// The destination's bytes differ from the source's while size and time
// match: that they stay proves nothing of the file was read or written.
TEST_F(ChangedOnlyTest, SameSizeAndTimeIsLeftUntouched) {
  const std::uint64_t time = WriteTime(temp.path()) - 3600 * kSecond;
  // name, destination's bytes, destination's time against the source's
  const std::tuple<const wchar_t*, const char*, std::int64_t> cases[] = {
      {L"same.txt", "backup", 0},  {L"sized.txt", "backup!", 0}, {L"newer.txt", "backup", -1},
      {L"older.txt", "backup", 1}, {L"fresh.txt", nullptr, 0},   {L"Sub\\same.txt", "backup", 0}};
  for (const auto& [name, held, later] : cases) {
    WriteFile(src + L"\\" + name, "source");
    SetWriteTime(src + L"\\" + name, time);
    if (!held) continue;
    WriteFile(dst + L"\\" + name, held);
    SetWriteTime(dst + L"\\" + name, time + later * kSecond);
  }
  WriteFile(src + L"\\Folder.txt", "source");
  testing_support::MakeFolders(dst + L"\\folder.TXT");  // a folder in the file's way
  engine.copy_only_changed = true;
  Copy(src);

  EXPECT_EQ(ReadFile(dst + L"\\same.txt"), "backup");
  EXPECT_EQ(WriteTime(dst + L"\\same.txt"), time);
  EXPECT_EQ(ReadFile(dst + L"\\Sub\\same.txt"), "backup");
  for (const wchar_t* name : {L"sized.txt", L"newer.txt", L"older.txt", L"fresh.txt"})
    EXPECT_EQ(ReadFile(dst + L"\\" + name), "source") << name;
  EXPECT_TRUE(platform::FolderExists(dst + L"\\folder.TXT"));
  EXPECT_FALSE(HasTemporaryFiles(dst));
  // Line for line in the walk's order, which is the source folder's listing.
  std::vector<std::wstring> expected{L"Folder: " + src + L"\\"};
  platform::FileSearch search(src + L"\\*");
  do {
    const std::wstring name = search.entry().name;
    if (name == L"Sub")
      expected.insert(expected.end(), {L"Folder: " + src + L"\\Sub\\", L"same.txt\t-->file unchanged"});
    else if (!search.entry().is_dot_entry())
      expected.push_back(name + (name == L"same.txt"     ? L"\t-->file unchanged"
                                 : name == L"Folder.txt" ? L"\t-->*not copied*"
                                                         : L"\t-->file copied"));
  } while (search.Next());
  EXPECT_EQ(LogLines(target), expected);
  EXPECT_TRUE(std::is_sorted(progress.begin(), progress.end()));
  EXPECT_DOUBLE_EQ(progress.back(), 6.0 * 6) << "unchanged files count on the bar";
}

// A share that keeps whole seconds and says "NTFS" (here an ext2 disk with
// small inodes): the second run finds the copy unchanged.
TEST_F(ChangedOnlyTest, ATargetThatKeepsWholeSecondsShowsItsStep) {
  if (!Mount("Copias", "truncate -s 8M disk && /usr/sbin/mkfs.ext2 -q -I 128 disk 2>/dev/null && mount -o loop disk"))
    GTEST_SKIP() << "needs root and a loop device to mount an ext2 disk";
  WriteFile(src + L"\\a.txt", "source");
  SetWriteTime(src + L"\\a.txt", WriteTime(temp.path()) / kSecond * kSecond - 6648900);
  engine.copy_only_changed = true;
  Copy(src);
  Copy(src);
  EXPECT_EQ(LogLines(target).back(), L"a.txt\t-->file unchanged");
}

}  // namespace
}  // namespace backup_testing
