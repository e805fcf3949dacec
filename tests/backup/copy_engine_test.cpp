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
