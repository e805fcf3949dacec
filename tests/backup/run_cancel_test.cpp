// Cancelling a run by a second press, by closing the window or the session ending: what
// stops, the window and the log telling one story, also when a cancel is too late.
#include "backup/backup_run.h"

#include "backup_fixture.h"

namespace backup_testing {
namespace {

using RunCancelTest = BackupTest;

TEST_F(RunCancelTest, ASecondPressCancelsWhileADeepFolderCopies) {
  const std::wstring deep = src + L"\\a\\b\\c\\d";
  for (int i = 1; i <= 5; ++i) WriteFile(deep + L"\\f" + std::to_wstring(i) + L".txt", "deep");
  WriteFile(src + L"\\z1.txt", "after the deep folder");
  WriteFile(src + L"\\y\\x\\g.txt", "never reached");
  WriteFile(temp / L"After\\b.txt", "b");
  sources::SourceRow& row = AddRow(src, L"Docs");
  sources::SourceRow& later = AddRow(temp / L"After", L"After");
  bool looked_busy = false;
  // The walk holds after its first entry, one of the deep files in whatever
  // order the folder lists them; the press comes once that one is copied.
  auto deep_copies = [&] { return CountFound(dst + L"\\a\\b\\c\\d\\f*.txt"); };
  PauseAt(seams.engine.after_entry, 1, [&] {
    WaitFor([&] { return deep_copies() > 0; });
    looked_busy = main.backup_button.text() == L"CANCEL" && main.backup_button.enabled() &&
                  !main.rows_panel.enabled() && !main.target_box.enabled() &&
                  !main.write_log_box.enabled() && !main.pick_target_button.enabled() &&
                  !main.changed_only_item.enabled() && !main.keep_versions_item.enabled() &&
                  row.busy_image.visible();
    main.target_box.set_text(L"");  // a cancel, whatever became of the target
    PressLater();  // no second half of a double click
  });
  Press(target);
  EXPECT_TRUE(looked_busy);
  const std::vector<std::wstring> lines = LogLines(target);
  ASSERT_GE(lines.size(), 2u);
  const std::wstring copied = lines[lines.size() - 2], stopped = lines.back();
  EXPECT_EQ(copied.substr(0, 1) + copied.substr(6), L"f\t-->file copied");
  EXPECT_EQ(stopped.substr(0, 1) + stopped.substr(6), L"f\t-->user cancelled");
  EXPECT_EQ(deep_copies(), 1);
  EXPECT_FALSE(platform::FileExists(dst + L"\\z1.txt"));
  EXPECT_FALSE(platform::FolderExists(dst + L"\\y")) << "no empty folder for what was not reached";
  EXPECT_EQ(main.error_label.text(), L"Canceled!");
  EXPECT_FALSE(main.total_ok_image.visible() || main.total_error_image.visible());
  EXPECT_FALSE(row.ok_image.visible() || row.error_image.visible() || row.busy_image.visible());
  EXPECT_FALSE(later.progress_bar.visible());
  EXPECT_TRUE(main.backup_button.text() == L"Backup!" && main.backup_button.enabled() && main.rows_panel.enabled());

  // A late press handled as the run ended does nothing; the next run starts
  // afresh and finishes, and a double click starts it once.
  seams.engine.after_entry = nullptr;
  main.target_box.set_text(target);
  main.backup_button.on_click();
  EXPECT_FALSE(main.backup_run.running());
  PressLater();
  main.backup_button.on_click();
  WaitForRun();
  EXPECT_EQ(ReadFile(dst + L"\\z1.txt"), "after the deep folder");
  EXPECT_TRUE(main.total_ok_image.visible() && later.ok_image.visible());
  EXPECT_NE(main.error_label.text(), L"Canceled!");
  EXPECT_TRUE(main.changed_only_item.enabled() && main.keep_versions_item.enabled());
}

// A cancel while a file of an earlier folder is still tried: every line stands under its
// own folder, the stopped file's too, and the folder made for it alone goes again.
TEST_F(RunCancelTest, AfterACancelEveryLineStandsUnderItsFolder) {
  for (const wchar_t* name : {L"\\A\\a.txt", L"\\B\\b.txt", L"\\C\\c.txt"}) WriteFile(src + name, "x");
  HANDLE held = Hold(src + L"\\A\\a.txt");
  seams.engine.pause = [&](std::chrono::milliseconds, const backup::RunFlags& flags) {
    WaitFor([&] { return flags.cancel_requested.load(); });
  };
  AddRow(src, L"Docs");
  // The walk holds after B's file (its third entry), once that is copied.
  PauseAt(seams.engine.after_entry, 3, [&] {
    WaitFor([&] { return platform::FileExists(dst + L"\\B\\b.txt"); });
    PressLater();
  });
  Press(target);
  CloseHandle(held);
  const std::vector<std::wstring> expected = {
      L"Folder: " + src + L"\\",     L"Folder: " + src + L"\\A\\", L"a.txt\t-->user cancelled",
      L"Folder: " + src + L"\\B\\", L"b.txt\t-->file copied",     src + L"\\C\\\t-->user cancelled"};
  EXPECT_EQ(LogLines(target), expected);
  EXPECT_FALSE(platform::FolderExists(dst + L"\\A") || platform::FolderExists(dst + L"\\C"));
}

// Closing the window, or the session ending, during a run cancels it: the
// log ends with the cancel, no temporary file is left, then the window goes.
TEST_F(RunCancelTest, ClosingOrTheSessionEndingMidRunCancelsItFirst) {
  for (int i = 0; i < 40; ++i) WriteFile(src + L"\\f" + std::to_wstring(i) + L".txt", "some text");
  WriteFile(src + L"\\big.bin", std::string(backup::CopyEngine::kChunkBytes * 3, 'b'));
  AddRow(src, L"Docs");
  for (const UINT message : {WM_ENDSESSION, WM_CLOSE}) {
    LRESULT query_during = 0;
    PauseAt(seams.engine.after_entry, 3, [&] {
      if (message == WM_ENDSESSION) query_during = SendMessageW(main.handle(), WM_QUERYENDSESSION, 0, 0);
      SendMessageW(main.handle(), message, TRUE, 0);  // returns once the run has stopped
    });
    Press(target);
    EXPECT_EQ(query_during, 0) << "the system is asked to wait while a run goes on";
    if (message == WM_ENDSESSION) {
      EXPECT_EQ(SendMessageW(main.handle(), WM_QUERYENDSESSION, 0, 0), 1) << "and lets it end once the run stopped";
    }
    const std::wstring last = LogLines(target).back();
    EXPECT_EQ(last.substr(last.find(L'\t')), L"\t-->user cancelled") << message;
    EXPECT_FALSE(HasTemporaryFiles(dst));
  }
  EXPECT_FALSE(main.loaded()) << "the window went once the run stopped";
}

// Between rows a cancel stops the next row, and the log names its folder. One after the
// last row's copy, or once the outcome is settled (between the run's last message and its
// handling), stops nothing: the run ends complete, in the window and the log alike.
TEST_F(RunCancelTest, CancelBetweenRowsStopsTheNextALateOneNothing) {
  WriteFile(src + L"\\a.txt", "a");
  WriteFile(temp / L"After\\b.txt", "b");
  sources::SourceRow& first = AddRow(src, L"Docs");
  sources::SourceRow& next = AddRow(temp / L"After", L"After");
  PauseAt(seams.after_row, 1, [&] { PressLater(); });
  Press(target);
  EXPECT_TRUE(first.ok_image.visible());
  EXPECT_FALSE(next.progress_bar.visible() || next.ok_image.visible() || next.error_image.visible());
  EXPECT_EQ(main.error_label.text(), L"Canceled!");
  EXPECT_FALSE(main.total_ok_image.visible() || main.total_error_image.visible());
  EXPECT_EQ(LogLines(target).back(), temp / L"After\\" + L"\t-->user cancelled");
  EXPECT_FALSE(platform::FolderExists(target + L"\\After"));
  for (const bool before_last_message : {false, true}) {
    PauseAt(before_last_message ? seams.before_last_message : seams.after_row, before_last_message ? 1 : 2,
            [&] { PressLater(); });
    Press(target);
    EXPECT_TRUE(next.ok_image.visible() && !next.progress_bar.visible() && main.total_ok_image.visible());
    EXPECT_FALSE(main.error_label.visible()) << "no \"Please, wait...\" left";
    EXPECT_EQ(LogLines(target).back(), L"b.txt\t-->file copied");
    EXPECT_TRUE(main.backup_button.text() == L"Backup!" && main.backup_button.enabled());
  }
}

}  // namespace
}  // namespace backup_testing
