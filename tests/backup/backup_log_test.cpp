// backup.log: its lines in both languages, its bytes, and when it is
// written, replaced or left alone.
#include "backup/backup_log.h"

#include "backup_fixture.h"

namespace backup_testing {
namespace {

class BackupLogTest : public BackupTest {
 protected:
  // The four-line example: a.txt beside a sub-folder Sub holding b.txt.
  void RunFourLineExample() {
    WriteFile(src + L"\\a.txt", "a");
    WriteFile(src + L"\\Sub\\b.txt", "b");
    AddRow(src, L"Docs");
    Press(target);
  }
  // Sub may be listed before or after a.txt; both orders are right.
  void ExpectFourLines(const std::wstring& folder, const std::wstring& copied) {
    std::vector<std::wstring> fileFirst = {folder + src + L"\\", L"a.txt\t-->" + copied,
                                           folder + src + L"\\Sub\\", L"b.txt\t-->" + copied};
    std::vector<std::wstring> subFirst = {folder + src + L"\\", folder + src + L"\\Sub\\",
                                          L"b.txt\t-->" + copied, L"a.txt\t-->" + copied};
    std::vector<std::wstring> lines = LogLines(target);
    EXPECT_TRUE(lines == fileFirst || lines == subFirst) << ::testing::PrintToString(lines);
  }

  std::wstring src = temp / L"Docs";
  std::wstring target = temp / L"Copias";
};

TEST_F(BackupLogTest, FourLinesInEnglish) {
  RunFourLineExample();
  ExpectFourLines(L"Folder: ", L"file copied");
  EXPECT_TRUE(Shown(main.view_log_link));
  EXPECT_EQ(main.log_folder, target);
}

TEST_F(BackupLogTest, FourLinesInSpanish) {
  main.ApplyLanguage(L"ESP");
  RunFourLineExample();
  ExpectFourLines(L"Carpeta: ", L"archivo copiado");
  EXPECT_EQ(main.backup_button.caption(), L"Backup!");
}

TEST_F(BackupLogTest, NamesAreWrittenInTheAnsiCodePage) {
  WriteFile(src + L"\\a\u00F1o.txt", "in the code page");
  WriteFile(src + L"\\\u0416\u4E2D.txt", "outside it");
  AddRow(src, L"Docs");

  Press(target);

  std::string expected = platform::ToAnsi(L"Folder: " + src + L"\\") + "\r\n" +
                         platform::ToAnsi(L"a\u00F1o.txt\t-->file copied") + "\r\n" +
                         platform::ToAnsi(L"\u0416\u4E2D.txt\t-->file copied") + "\r\n";
  std::string bytes = ReadFile(target + L"\\backup.log");
  // Either order of the two names is a walk order.
  std::string swapped = platform::ToAnsi(L"Folder: " + src + L"\\") + "\r\n" +
                        platform::ToAnsi(L"\u0416\u4E2D.txt\t-->file copied") + "\r\n" +
                        platform::ToAnsi(L"a\u00F1o.txt\t-->file copied") + "\r\n";
  EXPECT_TRUE(bytes == expected || bytes == swapped) << bytes;
  EXPECT_EQ(platform::ToAnsi(L"\u00F1").size(), 1u) << "one byte per character";
  EXPECT_EQ(ReadFile(target + L"\\Docs\\\u0416\u4E2D.txt"), "outside it");
}

TEST_F(BackupLogTest, AnotherRunReplacesTheLog) {
  WriteFile(target + L"\\backup.log", std::string(5000, 'x'));
  WriteFile(src + L"\\a.txt", "a");
  AddRow(src, L"Docs");
  Press(target);
  EXPECT_EQ(LogLines(target).size(), 2u);
}

TEST_F(BackupLogTest, WithTheOptionOffAnOldLogIsLeftAlone) {
  WriteFile(target + L"\\backup.log", "an older run\r\n");
  WriteFile(src + L"\\a.txt", "a");
  AddRow(src, L"Docs");

  Press(target, false);

  EXPECT_EQ(ReadFile(target + L"\\backup.log"), "an older run\r\n");
  EXPECT_FALSE(Shown(main.view_log_link));
  EXPECT_EQ(ReadFile(target + L"\\Docs\\a.txt"), "a");
  EXPECT_EQ(Ini(L"main", L"log"), L"0");
}

TEST_F(BackupLogTest, ARunWithNothingTickedLeavesAnEmptyLog) {
  WriteFile(src + L"\\a.txt", "a");
  AddRow(src, L"Docs", false);

  Press(target);

  EXPECT_TRUE(platform::FileExists(target + L"\\backup.log"));
  EXPECT_EQ(ReadFile(target + L"\\backup.log"), "");
  EXPECT_TRUE(Shown(main.total_ok_image));
  EXPECT_TRUE(Shown(main.view_log_link));
  EXPECT_FALSE(platform::FolderExists(target + L"\\Docs"));
}

TEST_F(BackupLogTest, ALogThatCannotBeWrittenDoesNotStopTheBackup) {
  // A folder where the log file should go: the log cannot be made.
  testing_support::MakeFolders(target + L"\\backup.log");
  WriteFile(src + L"\\a.txt", "a");
  sources::SourceRow& row = AddRow(src, L"Docs");

  Press(target);

  EXPECT_EQ(ReadFile(target + L"\\Docs\\a.txt"), "a");
  EXPECT_TRUE(Shown(row.imgOK));
  EXPECT_TRUE(Shown(main.error_label));
  EXPECT_EQ(main.error_label.caption(), L"Error writing to " + target + L"\\");
  EXPECT_TRUE(Shown(main.total_error_image)) << "the log the user asked for is missing";
}

}  // namespace
}  // namespace backup_testing
