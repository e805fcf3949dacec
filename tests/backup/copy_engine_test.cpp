// The copy engine on real trees: what lands in the destination, what is
// skipped, merged, replaced or reported as not copied.
#include "backup/copy_engine.h"

#include <algorithm>

#include "backup_fixture.h"

namespace backup_testing {
namespace {

class CopyEngineTest : public BackupTest {
 protected:
  std::wstring src = temp / L"Docs";
  std::wstring target = temp / L"Copias";
  std::wstring dst = temp / L"Copias\\Docs";
};

// A name of more than 260 characters below the source, made of folders that
// each stay within the file system's name limit.
std::wstring LongBranch() {
  std::wstring branch;
  for (int i = 0; i < 4; ++i) branch += std::wstring(80, static_cast<wchar_t>(L'k' + i)) + L"\\";
  return branch;
}

TEST_F(CopyEngineTest, CopiesTheTreeByteForByte) {
  WriteFile(src + L"\\a.txt", "alpha");
  WriteFile(src + L"\\Sub\\b.txt", std::string(200000, 'b'));
  WriteFile(src + L"\\Sub\\Deeper\\c.bin", std::string("\0\1\2\3", 4));
  WriteFile(src + L"\\hidden.txt", "hidden");
  testing_support::SetAttributes(src + L"\\hidden.txt", FILE_ATTRIBUTE_HIDDEN);
  WriteFile(src + L"\\desktop.ini", "[system]");
  testing_support::SetAttributes(src + L"\\desktop.ini", FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_HIDDEN);
  WriteFile(src + L"\\SysDir\\inside.txt", "system folder");
  testing_support::SetAttributes(src + L"\\SysDir", FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_DIRECTORY);
  WriteFile(src + L"\\.profile", "dot file");
  WriteFile(src + L"\\.cache\\entry", "dot folder");
  WriteFile(src + L"\\\u0416\u4E2D\u03A9.txt", "outside the code page");
  const std::wstring longFile = src + L"\\" + LongBranch() + L"long.txt";
  ASSERT_GT(longFile.size(), 260u);
  WriteFile(longFile, "far down");
  testing_support::MakeFolders(src + L"\\Empty");
  sources::SourceRow& row = AddRow(src, L"Docs");

  Press(target);

  std::vector<std::wstring> files, folders, copiedFiles, copiedFolders;
  ListTree(src + L"\\", L"", files, folders);
  ListTree(dst + L"\\", L"", copiedFiles, copiedFolders);
  std::sort(files.begin(), files.end());
  std::sort(copiedFiles.begin(), copiedFiles.end());
  EXPECT_EQ(copiedFiles, files);
  for (const std::wstring& file : files)
    EXPECT_TRUE(ReadFile(dst + L"\\" + file) == ReadFile(src + L"\\" + file))
        << ::testing::PrintToString(file);
  EXPECT_TRUE(platform::FolderExists(dst + L"\\Empty"));
  EXPECT_FALSE(platform::FileExists(dst + L"\\desktop.ini"));
  EXPECT_FALSE(platform::FolderExists(dst + L"\\SysDir"));
  EXPECT_EQ(ReadFile(dst + L"\\" + LongBranch() + L"long.txt"), "far down");
  EXPECT_EQ(ReadFile(dst + L"\\\u0416\u4E2D\u03A9.txt"), "outside the code page");
  EXPECT_TRUE(Shown(row.imgOK));
  EXPECT_FALSE(Shown(row.imgError));
  EXPECT_FALSE(Shown(row.barCopy));
  EXPECT_TRUE(Shown(main.total_ok_image));
  EXPECT_FALSE(Shown(main.total_error_image));
  EXPECT_TRUE(dialogs.boxes.empty());
}

TEST_F(CopyEngineTest, MergesIntoAndReplacesWhatIsThere) {
  WriteFile(src + L"\\a.txt", "new a");
  WriteFile(src + L"\\Sub\\b.txt", "new b");
  WriteFile(dst + L"\\a.txt", "old a, longer than the new one");
  WriteFile(dst + L"\\mine.txt", "kept");
  WriteFile(dst + L"\\Sub\\keep.txt", "kept too");
  AddRow(src, L"Docs");

  Press(target);

  EXPECT_EQ(ReadFile(dst + L"\\a.txt"), "new a");
  EXPECT_EQ(ReadFile(dst + L"\\Sub\\b.txt"), "new b");
  EXPECT_EQ(ReadFile(dst + L"\\mine.txt"), "kept");
  EXPECT_EQ(ReadFile(dst + L"\\Sub\\keep.txt"), "kept too");
  EXPECT_TRUE(Shown(main.total_ok_image));
}

TEST_F(CopyEngineTest, AFileHeldOpenIsReportedAndTheRunGoesOn) {
  WriteFile(src + L"\\a.txt", "copied");
  WriteFile(src + L"\\locked.pst", "held by the mail client");
  WriteFile(src + L"\\z.txt", "after the locked one");
  const std::wstring other = temp / L"Other";
  WriteFile(other + L"\\o.txt", "second row");
  HANDLE held = CreateFileW((src + L"\\locked.pst").c_str(), GENERIC_READ | GENERIC_WRITE, 0,
                            nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  sources::SourceRow& first = AddRow(src, L"Docs");
  sources::SourceRow& second = AddRow(other, L"Other");

  Press(target);
  CloseHandle(held);

  std::vector<std::wstring> lines = LogLines(target);
  EXPECT_NE(std::find(lines.begin(), lines.end(), L"locked.pst\t-->*not copied*"), lines.end());
  EXPECT_NE(std::find(lines.begin(), lines.end(), L"z.txt\t-->file copied"), lines.end());
  EXPECT_FALSE(platform::FileExists(dst + L"\\locked.pst"));
  EXPECT_EQ(ReadFile(dst + L"\\z.txt"), "after the locked one");
  EXPECT_EQ(ReadFile(target + L"\\Other\\o.txt"), "second row");
  EXPECT_TRUE(Shown(first.imgError));
  EXPECT_FALSE(Shown(first.imgOK));
  EXPECT_TRUE(Shown(first.barCopy)) << "the failed row keeps its partial bar";
  EXPECT_TRUE(Shown(second.imgOK));
  // The failure was in the first row: the overall icon still tells of it.
  EXPECT_TRUE(Shown(main.total_error_image));
  EXPECT_FALSE(Shown(main.total_ok_image));
}

TEST_F(CopyEngineTest, AMissingSourceAsksNothingMoreThanOneBox) {
  const std::wstring missing = temp / L"Gone";
  WriteFile(src + L"\\a.txt", "here");
  sources::SourceRow& gone = AddRow(missing, L"Gone");
  sources::SourceRow& here = AddRow(src, L"Docs");

  Press(target);

  ASSERT_EQ(dialogs.boxes.size(), 1u);
  EXPECT_EQ(dialogs.boxes[0], L"Backup source file/folder " + missing + L"\\ Not found");
  EXPECT_TRUE(Shown(gone.imgOK)) << "no file of it failed";
  EXPECT_FALSE(platform::FolderExists(target + L"\\Gone"));
  EXPECT_TRUE(Shown(here.imgOK));
  EXPECT_EQ(LogLines(target), (std::vector<std::wstring>{L"Folder: " + src + L"\\",
                                                         L"a.txt\t-->file copied"}));
}

TEST_F(CopyEngineTest, ASubFolderThatCannotBeListedFailsTheRowWithoutABox) {
  WriteFile(src + L"\\a.txt", "first");
  WriteFile(src + L"\\zz\\inner.txt", "never reached");
  sources::SourceRow& row = AddRow(src, L"Docs");
  // The folder goes away after its parent listed it, before the walk
  // reaches it: the same as a folder the user may not read.
  main.backup_run.engine().yieldEvery = std::chrono::milliseconds(0);
  main.backup_run.engine().yield = [&] {
    testing_support::RemoveTree(src + L"\\zz");
    platform::DoEvents();
  };

  Press(target);

  EXPECT_TRUE(dialogs.boxes.empty());
  EXPECT_EQ(LogLines(target), (std::vector<std::wstring>{L"Folder: " + src + L"\\",
                                                         L"a.txt\t-->file copied",
                                                         src + L"\\zz\\\t-->*not copied*"}));
  EXPECT_TRUE(Shown(row.imgError));
  EXPECT_TRUE(Shown(main.total_error_image));
}

TEST_F(CopyEngineTest, AMailStoreRowCopiesOnlyItsFile) {
  const std::wstring mail = temp / L"Mail";
  WriteFile(mail + L"\\personal.pst", std::string(70000, 'p'));
  WriteFile(mail + L"\\other.pst", "not this one");
  sources::SourceRow& row =
      AddRow(mail + L"\\personal.pst", L"Outlook [Personal Folders]", true, L"PST",
             sources::kMailStoreRow);

  Press(target);

  const std::wstring copied = target + L"\\Outlook [Personal Folders]";
  EXPECT_EQ(ReadFile(copied + L"\\personal.pst"), std::string(70000, 'p'));
  EXPECT_FALSE(platform::FileExists(copied + L"\\other.pst"));
  EXPECT_EQ(LogLines(target), (std::vector<std::wstring>{L"Folder: " + mail + L"\\",
                                                         L"personal.pst\t-->file copied"}));
  EXPECT_TRUE(Shown(row.imgOK));
  EXPECT_EQ(Ini(L"PST", row.Key), L"1");
}

TEST_F(CopyEngineTest, ProgressPastTwoGigabytesKeepsCounting) {
  WriteFile(src + L"\\a.bin", std::string(300000, 'a'));
  backup::RunFlags flags;
  backup::CopyEngine engine(flags, main.texts);
  platform::ProgressBar& bar = main.rows[1].barCopy;
  bar.set_maximum(5e9);
  bar.set_value(3e9);
  // As if the row's earlier files had come to three thousand million bytes.
  flags.curCopied = 3000000000u;
  engine.SetRow(&bar, nullptr);

  engine.CopySource(src, dst, true, false);

  EXPECT_EQ(flags.curCopied, 3000300000u);
  EXPECT_DOUBLE_EQ(bar.value(), 3000300000.0);
  EXPECT_EQ(bar.position(), 6001);
  EXPECT_FALSE(flags.bFileError);
}

TEST_F(CopyEngineTest, AnOlderGoodCopySurvivesACancelledLargeFile) {
  // Larger than one chunk, so the window runs and a cancel is heard inside
  // the file even where the system's copy calls back nothing.
  const std::string big(backup::CopyEngine::kChunkBytes * 2 + 12345, 'n');
  WriteFile(src + L"\\big.bin", big);
  WriteFile(dst + L"\\big.bin", "old good copy");
  sources::SourceRow& row = AddRow(src, L"Docs");
  int yieldsInFile = 0;
  main.backup_run.engine().yieldEvery = std::chrono::milliseconds(0);
  main.backup_run.engine().yield = [&] {
    if (platform::FileExists(dst + L"\\big.bin" + backup::CopyEngine::kPartSuffix) &&
        ++yieldsInFile == 1)
      PostPress();
    platform::DoEvents();
  };

  Press(target);

  EXPECT_GE(yieldsInFile, 1) << "the window ran during the file";
  EXPECT_EQ(ReadFile(dst + L"\\big.bin"), "old good copy");
  EXPECT_FALSE(platform::FileExists(dst + L"\\big.bin" + backup::CopyEngine::kPartSuffix));
  EXPECT_EQ(LogLines(target).back(), L"big.bin\t-->user cancelled");
  EXPECT_EQ(main.error_label.caption(), L"Canceled!");

  // Uncancelled, the chunked copy is whole, replaces a read-only older copy
  // and carries the attributes and times the system's copy gives.
  testing_support::SetAttributes(dst + L"\\big.bin", FILE_ATTRIBUTE_READONLY);
  testing_support::SetAttributes(src + L"\\big.bin", FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
  main.backup_run.engine().yield = platform::DoEvents;
  Press(target);
  EXPECT_TRUE(ReadFile(dst + L"\\big.bin") == big);
  EXPECT_TRUE(Shown(row.imgOK));
  volatile std::int32_t cancel = 0;
  ASSERT_TRUE(platform::CopyFileWithProgress(src + L"\\big.bin", temp / L"system.bin", {}, &cancel));
  WIN32_FILE_ATTRIBUTE_DATA ours, system;
  ASSERT_TRUE(GetFileAttributesExW((dst + L"\\big.bin").c_str(), GetFileExInfoStandard, &ours));
  ASSERT_TRUE(GetFileAttributesExW((temp / L"system.bin").c_str(), GetFileExInfoStandard, &system));
  EXPECT_EQ(ours.dwFileAttributes, system.dwFileAttributes);
  EXPECT_EQ(CompareFileTime(&ours.ftLastWriteTime, &system.ftLastWriteTime), 0);
  EXPECT_EQ(CompareFileTime(&ours.ftCreationTime, &system.ftCreationTime), 0);
}

TEST_F(CopyEngineTest, EveryNameLandsApartOrIsReported) {
  // The system would strip the dot of a name given without the "\\?\" form.
  WriteFile(src + L"\\report.", "with a dot");
  WriteFile(src + L"\\report", "without");
  // As on a case-sensitive share: two names, one destination file.
  WriteFile(src + L"\\Sub\\keep.txt", "sub");
  if (!testing_support::RunInLinuxShell(src, "echo one > Case && echo two > CASE && ln -s . loop"))
    GTEST_SKIP() << "needs Wine's Linux shell";
  ASSERT_TRUE(platform::FolderExists(src + L"\\loop\\Sub"));
  const double size = sources::FolderSize(src + L"\\");
  sources::SourceRow& row = AddRow(src, L"Docs");

  Press(target);
  testing_support::RunInLinuxShell(src, "rm loop");

  EXPECT_EQ(size, 10 + 7 + 3 + 4 + 4) << "the link is not counted";
  EXPECT_EQ(ReadFile(dst + L"\\report."), "with a dot");
  EXPECT_EQ(ReadFile(dst + L"\\report"), "without");
  std::vector<std::wstring> lines = LogLines(target);
  auto has = [&](const std::wstring& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
  };
  EXPECT_TRUE(has(L"Case\t-->*not copied*") != has(L"CASE\t-->*not copied*"));
  EXPECT_TRUE(has(src + L"\\loop\\\t-->link skipped"));
  EXPECT_FALSE(platform::FolderExists(dst + L"\\loop"));
  EXPECT_EQ(ReadFile(dst + L"\\Sub\\keep.txt"), "sub");
  EXPECT_TRUE(Shown(row.imgError));
  EXPECT_TRUE(Shown(main.total_error_image));
}

TEST_F(CopyEngineTest, AFullDiskKeepsTheOlderCopyAndLeavesNoPartFile) {
  // A 2 MiB file system holding the target: mounting one needs root.
  if (!testing_support::RunInLinuxShell(temp.path(), "mkdir small && mount -t tmpfs -o size=2m tmpfs small"))
    GTEST_SKIP() << "needs root to mount a small file system";
  struct Unmount {
    std::wstring folder;
    ~Unmount() { testing_support::RunInLinuxShell(folder, "umount small"); }
  } unmount{temp.path()};
  const std::wstring smallTarget = temp / L"small";
  const std::wstring smallDst = smallTarget + L"\\Docs";
  WriteFile(src + L"\\grown.bin", std::string(1536 << 10, 'g'));
  WriteFile(src + L"\\large.bin", std::string(backup::CopyEngine::kChunkBytes + 1, 'l'));
  WriteFile(src + L"\\note.txt", "fits");
  WriteFile(smallDst + L"\\grown.bin", std::string(1 << 20, 'o'));
  sources::SourceRow& row = AddRow(src, L"Docs");

  Press(smallTarget);

  EXPECT_TRUE(ReadFile(smallDst + L"\\grown.bin") == std::string(1 << 20, 'o'));
  EXPECT_FALSE(platform::FileExists(smallDst + L"\\grown.bin" + backup::CopyEngine::kPartSuffix));
  EXPECT_FALSE(platform::FileExists(smallDst + L"\\large.bin"));
  EXPECT_FALSE(platform::FileExists(smallDst + L"\\large.bin" + backup::CopyEngine::kPartSuffix));
  EXPECT_EQ(ReadFile(smallDst + L"\\note.txt"), "fits");
  std::vector<std::wstring> lines = LogLines(smallTarget);
  for (const wchar_t* line : {L"grown.bin\t-->*not copied*", L"large.bin\t-->*not copied*"})
    EXPECT_NE(std::find(lines.begin(), lines.end(), line), lines.end()) << line;
  EXPECT_TRUE(Shown(row.imgError));
  EXPECT_TRUE(Shown(main.total_error_image));
}

TEST_F(CopyEngineTest, ASubFolderThatCannotBeMadeFailsOnlyItsTree) {
  WriteFile(src + L"\\Sub\\x.txt", "blocked");
  WriteFile(src + L"\\z.txt", "goes on");
  WriteFile(dst + L"\\Sub", "a file in the folder's way");
  const std::wstring other = temp / L"Other";
  WriteFile(other + L"\\o.txt", "next row");
  sources::SourceRow& first = AddRow(src, L"Docs");
  sources::SourceRow& second = AddRow(other, L"Other");

  Press(target);

  std::vector<std::wstring> lines = LogLines(target);
  EXPECT_NE(std::find(lines.begin(), lines.end(), src + L"\\Sub\\\t-->*not copied*"), lines.end());
  EXPECT_EQ(ReadFile(dst + L"\\z.txt"), "goes on");
  EXPECT_EQ(ReadFile(target + L"\\Other\\o.txt"), "next row");
  EXPECT_TRUE(Shown(first.imgError));
  EXPECT_TRUE(Shown(second.imgOK));
  EXPECT_EQ(main.error_label.caption(), L"");
}

TEST(MakePathTest, CreatesEveryMissingLevelAndStops) {
  TempFolder temp;
  EXPECT_TRUE(backup::MakePath(temp / L"a\\b\\c"));
  EXPECT_TRUE(platform::FolderExists(temp / L"a\\b\\c"));
  // Three backslashes at the end leave a remainder with no level in it.
  EXPECT_TRUE(backup::MakePath(temp / L"d\\\\\\"));
  EXPECT_TRUE(platform::FolderExists(temp / L"d"));
  WriteFile(temp / L"file", "x");
  EXPECT_FALSE(backup::MakePath(temp / L"file\\sub"));
  EXPECT_FALSE(backup::MakePath(L"relative\\folder"));
  EXPECT_FALSE(platform::FolderExists(L"relative"));
}

}  // namespace
}  // namespace backup_testing
