// Copying only new and changed files: what is left alone (same size, same
// last-write time, 2-second steps on FAT), what is copied as before, the
// log's markers in the walk's order, and the choice as the run saves it.
#include <windows.h>

#include "backup_fixture.h"

namespace backup_testing {
namespace {

constexpr std::uint64_t kSecond = 10000000;

using ChangedOnlyTest = CopyEngineTest;
using ChangedOnlyRunTest = BackupTest;

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
  EXPECT_EQ(CountFound(dst + L"\\~tavrik*"), 0);
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

  // The choice off: every file is written again, as it always was.
  engine.copy_only_changed = false;
  Copy(src);
  EXPECT_EQ(ReadFile(dst + L"\\same.txt"), "source");
  EXPECT_EQ(ReadFile(dst + L"\\Sub\\same.txt"), "source");
  EXPECT_TRUE(Has(LogLines(target), L"same.txt\t-->file copied"));
}

// FAT keeps local times: a change of daylight saving time moves every
// copy's time by an hour. exFAT keeps the offset.
TEST_F(ChangedOnlyTest, FatTimesWithinTwoSecondsOrAnHourOff) {
  const std::uint64_t time = WriteTime(temp.path()) - 3600 * kSecond;
  const std::pair<const wchar_t*, std::uint64_t> files[] = {
      {L"close.txt", 19999999}, {L"apart.txt", 2 * kSecond}, {L"hour.txt", 3601 * kSecond}};
  engine.copy_only_changed = true;
  for (const wchar_t* file_system : {L"FAT32", L"exFAT", L"NTFS"}) {
    for (const auto& [name, later] : files) {
      WriteFile(src + L"\\" + name, "source");
      SetWriteTime(src + L"\\" + name, time);
      WriteFile(dst + L"\\" + name, "backup");
      SetWriteTime(dst + L"\\" + name, time + later);
    }
    seams.file_system = file_system;
    Copy(src);
    EXPECT_EQ(ReadFile(dst + L"\\close.txt"), file_system != std::wstring(L"NTFS") ? "backup" : "source");
    EXPECT_EQ(ReadFile(dst + L"\\apart.txt"), "source") << file_system;
    EXPECT_EQ(ReadFile(dst + L"\\hour.txt"), file_system == std::wstring(L"FAT32") ? "backup" : "source");
  }
}

// A share that keeps whole seconds and says "NTFS" (here an ext2 disk with
// small inodes): the second run finds the copy unchanged.
TEST_F(ChangedOnlyTest, ATargetThatKeepsWholeSecondsShowsItsStep) {
  if (!testing_support::RunInLinuxShell(temp.path(), "truncate -s 8M disk && /usr/sbin/mkfs.ext2 -q -I 128 disk 2>/dev/null && "
                                                     "mkdir Copias && mount -o loop disk Copias"))
    GTEST_SKIP() << "needs root and a loop device to mount an ext2 disk";
  struct Unmount {
    std::wstring folder;
    ~Unmount() { testing_support::RunInLinuxShell(folder, "umount Copias"); }
  } unmount{temp.path()};
  WriteFile(src + L"\\a.txt", "source");
  SetWriteTime(src + L"\\a.txt", WriteTime(temp.path()) / kSecond * kSecond - 6648900);
  engine.copy_only_changed = true;
  Copy(src);
  Copy(src);
  EXPECT_EQ(LogLines(target).back(), L"a.txt\t-->file unchanged");
}

// The run saves the choice with the target and the log option; a row whose
// files are all unchanged ends as one that copied them.
TEST_F(ChangedOnlyRunTest, ChoiceSavedUnchangedRowEndsGreen) {
  WriteFile(src + L"\\a.txt", "a");
  WriteFile(src + L"\\Sub\\b.txt", "b");
  sources::SourceRow& row = AddRow(src, L"Docs");
  Press(target);
  EXPECT_EQ(Ini(L"main", L"changed"), L"0");
  main.changed_only_item.on_click();
  Press(target);
  EXPECT_EQ(Ini(L"main", L"changed"), L"1");
  const std::vector<std::wstring> lines = LogLines(target);
  EXPECT_TRUE(Has(lines, L"a.txt\t-->file unchanged") && Has(lines, L"b.txt\t-->file unchanged"));
  EXPECT_EQ(lines.size(), 4u);
  EXPECT_TRUE(row.ok_image.visible() && !row.progress_bar.visible() && main.total_ok_image.visible());
}

}  // namespace
}  // namespace backup_testing
