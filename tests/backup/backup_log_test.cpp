// backup.log: its exact lines and bytes, and when it is written, replaced or
// left alone.
#include "backup/backup_log.h"

#include "backup_fixture.h"

namespace backup_testing {
namespace {

using BackupLogTest = BackupTest;

TEST_F(BackupLogTest, OneLineAFolderOrFileEndingInCrLfInTheAnsiCodePage) {
  ASSERT_EQ(platform::ToAnsi(L"\u00F1").size(), 1u) << "one byte per character";
  WriteFile(target + L"\\backup.log", std::string(5000, 'x'));  // an older run's, replaced
  WriteFile(src + L"\\a\u00F1o.txt", "a");
  WriteFile(src + L"\\Sub\\b.txt", "b");
  AddRow(src, L"Docs");
  Press(target);
  // Sub may be listed before or after the file; both orders are right.
  const std::wstring top = L"Folder: " + src + L"\\", file = L"a\u00F1o.txt\t-->file copied",
                     sub = L"Folder: " + src + L"\\Sub\\", b = L"b.txt\t-->file copied";
  const std::vector<std::wstring> lines = LogLines(target);
  EXPECT_TRUE(lines == (std::vector<std::wstring>{top, file, sub, b}) ||
              lines == (std::vector<std::wstring>{top, sub, b, file}))
      << ::testing::PrintToString(lines);
  EXPECT_TRUE(main.view_log_link.visible());
  EXPECT_EQ(main.log_folder, target);
}

TEST_F(BackupLogTest, OffItLeavesAnOldLogAloneAndANoRowRunLeavesItEmpty) {
  WriteFile(target + L"\\backup.log", "an older run\r\n");
  WriteFile(src + L"\\a.txt", "a");
  sources::SourceRow& row = AddRow(src, L"Docs");
  Press(target, false);
  EXPECT_EQ(ReadFile(target + L"\\backup.log"), "an older run\r\n");
  EXPECT_FALSE(main.view_log_link.visible());

  row.check_box.set_value(0);
  Press(target);
  EXPECT_TRUE(platform::FileExists(target + L"\\backup.log"));
  EXPECT_EQ(ReadFile(target + L"\\backup.log"), "");
  EXPECT_TRUE(main.total_ok_image.visible() && main.view_log_link.visible());
}

TEST_F(BackupLogTest, ALogThatCannotBeWrittenDoesNotStopTheBackup) {
  testing_support::MakeFolders(target + L"\\backup.log");  // a folder in the log's place
  WriteFile(src + L"\\a.txt", "a");
  sources::SourceRow& row = AddRow(src, L"Docs");
  Press(target);
  EXPECT_EQ(ReadFile(dst + L"\\a.txt"), "a");
  EXPECT_TRUE(row.ok_image.visible());
  EXPECT_EQ(main.error_label.caption(), L"Error writing to " + target + L"\\");
  EXPECT_TRUE(main.total_error_image.visible()) << "the log the user asked for is missing";
}

}  // namespace
}  // namespace backup_testing
