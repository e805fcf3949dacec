// Keeping the target's copies that a run replaces: where they go and what
// they hold, the order that loses nothing, and the versions that go after.
#include <ctime>

#include "backup/version_names.h"
#include "backup_fixture.h"

namespace backup_testing {
namespace {

constexpr backup::UtcSeconds kRunStart = 1796648700;

using VersionsTest = CopyEngineTest;
using VersionsRunTest = BackupTest;

TEST_F(VersionsTest, AChangedFileKeepsItsOlderCopyInBothModesAnUnchangedOneNone) {
  const std::wstring versions = target + L"\\Tavrik Backup versions\\Docs\\";
  auto version = [&](const wchar_t* name, unsigned copy = 1) {
    return ReadFile(versions + backup::VersionName(name, kRunStart, copy));
  };
  engine.version_time = kRunStart;
  for (const bool changed_only : {false, true}) {
    WriteFile(src + L"\\same.txt", "same");
    WriteFile(src + L"\\a.txt", "old a");
    WriteFile(src + L"\\Sub\\b", "old b");
    engine.copy_only_changed = changed_only;
    engine.versions_folder = L"";
    Copy(src);  // the option off: nothing kept, as before
    EXPECT_FALSE(platform::FolderExists(target + L"\\Tavrik Backup versions"));
    WriteFile(src + L"\\a.txt", "new a!");
    WriteFile(src + L"\\Sub\\b", "new b!");
    engine.versions_folder = versions;
    Copy(src);
    EXPECT_EQ(ReadFile(dst + L"\\a.txt"), "new a!");
    EXPECT_EQ(version(L"a.txt") + version(L"Sub\\b"), "old aold b");
    EXPECT_EQ(CountFound(versions + L"same*"), 0);
    EXPECT_TRUE(Has(LogLines(target), L"a.txt\t-->file copied, older copy kept"));
    WriteFile(src + L"\\a.txt", "newest a");
    Copy(src);
    EXPECT_EQ(version(L"a.txt", 2), "new a!") << "the same stamp again: the next number";
    // Within FAT's 2 seconds the target's copy is the same file.
    seams.file_system = L"FAT32";
    SetWriteTime(dst + L"\\a.txt", WriteTime(src + L"\\a.txt") + 15000000);
    Copy(src);
    EXPECT_EQ(CountFound(versions + L"a (*"), 2);
    EXPECT_EQ(Has(LogLines(target), L"a.txt\t-->file unchanged"), changed_only);
    seams.file_system = L"";
    testing_support::RemoveTree(target);
  }
}

TEST_F(VersionsTest, TheOlderCopyMovesOnlyOnceTheNewIsWholeAndStaysWhenItCannotBeKept) {
  WriteFile(src + L"\\a.txt", "new bytes");
  WriteFile(dst + L"\\a.txt", "old");
  engine.versions_folder = target + L"\\Tavrik Backup versions\\Docs\\";
  engine.version_time = kRunStart;
  bool both_whole = false;  // were the run killed there
  seams.after_version_kept = [&](const std::wstring& temporary) {
    both_whole = ReadFile(temporary) == "new bytes" && !platform::FileExists(dst + L"\\a.txt") &&
                 ReadFile(engine.versions_folder + backup::VersionName(L"a.txt", kRunStart)) == "old";
  };
  Copy(src);
  EXPECT_TRUE(both_whole);
  // A file where the versions folder would go.
  testing_support::RemoveTree(target + L"\\Tavrik Backup versions");
  WriteFile(target + L"\\Tavrik Backup versions", "in the way");
  WriteFile(src + L"\\a.txt", "newer bytes");
  Copy(src);
  EXPECT_EQ(ReadFile(dst + L"\\a.txt"), "new bytes");
  EXPECT_TRUE(flags.file_error);
  EXPECT_TRUE(Has(LogLines(target), L"a.txt\t-->*not copied*, older copy could not be kept"));
  EXPECT_FALSE(HasTemporaryFiles(dst));
}

// Versions of 300, 200 and 10 days ago, a user's file among them; a run
// with a file not copied removes none. The run saves both copy choices.
TEST_F(VersionsRunTest, AGoodRunRemovesVersionsPastTheirDaysButTheNewestOfEachFile) {
  const std::wstring versions = target + L"\\Tavrik Backup versions\\Docs\\";
  const backup::UtcSeconds now = std::time(nullptr), day = 86400;
  WriteFile(versions + backup::VersionName(L"a.txt", now - 200 * day), "1");
  WriteFile(versions + backup::VersionName(L"a.txt", now - 10 * day), "2");
  WriteFile(versions + L"Old\\" + backup::VersionName(L"b.txt", now - 300 * day), "3");
  WriteFile(versions + L"Old\\" + backup::VersionName(L"b.txt", now - 200 * day), "4");
  WriteFile(versions + L"notes (2001_01_01 00_00_00).txt", "mine");
  testing_support::MakeFolders(versions + L"Empty");
  WriteFile(src + L"\\a.txt", "a");
  WriteFile(src + L"\\b.txt", "b");
  HANDLE held = Hold(src + L"\\a.txt");
  AddRow(src, L"Docs");
  main.keep_versions_item.set_checked(true);
  seams.engine.pause = [](std::chrono::milliseconds, const backup::RunFlags&) {};
  Press(target);
  EXPECT_EQ(CountFound(versions + L"*.txt") + CountFound(versions + L"Old\\*.txt"), 5);
  EXPECT_EQ(Ini(L"main", L"changed"), L"0");
  CloseHandle(held);
  WriteFile(dst + L"\\a.txt", "older");
  main.changed_only_item.on_click();
  Press(target);
  EXPECT_EQ(Ini(L"main", L"versions") + Ini(L"main", L"changed"), L"11");
  EXPECT_TRUE(Has(LogLines(target), L"b.txt\t-->file unchanged"));
  EXPECT_EQ(CountFound(versions + L"a (*UTC).txt"), 2) << "10 days and today's";
  EXPECT_EQ(CountFound(versions + L"Old\\*.txt"), 1) << "the newest b";
  EXPECT_EQ(ReadFile(versions + L"notes (2001_01_01 00_00_00).txt"), "mine");
  EXPECT_FALSE(platform::FolderExists(versions + L"Empty"));
  EXPECT_EQ(LogLines(target).back(), L"Older versions removed: 2");
  EXPECT_TRUE(main.total_ok_image.visible());
}

}  // namespace
}  // namespace backup_testing
