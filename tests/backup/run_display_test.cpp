// What the window shows of a run beyond the rows' bars and icons: the taskbar button, the
// rows greyed, what a screen reader hears, the flash when a run ends behind other windows.
#include "backup_fixture.h"
#include "platform/taskbar.h"
#include "support/screen_reader.h"

namespace backup_testing {
namespace {

using testing_support::Hear;

// The taskbar calls, in order: "done/total", with "!" once failed; "clear"; "flash".
struct RecordingTaskbar : platform::Taskbar {
  RecordingTaskbar() { platform::SetTaskbar(this); }
  ~RecordingTaskbar() override { platform::SetTaskbar(nullptr); }
  void SetProgress(const platform::Form&, double done, double total, bool failed) override {
    calls.push_back(std::to_wstring(static_cast<long long>(done)) + L"/" +
                    std::to_wstring(static_cast<long long>(total)) + (failed ? L"!" : L""));
  }
  void ClearProgress(const platform::Form&) override { calls.push_back(L"clear"); }
  void Flash(const platform::Form&) override { calls.push_back(L"flash"); }
  std::vector<std::wstring> calls;
};

using RunDisplayTest = BackupTest;

TEST_F(RunDisplayTest, TaskbarAndBoxesFollowTheRun) {
  testing_support::HighContrastScheme scheme;
  RecordingTaskbar taskbar;
  WriteFile(src + L"\\locked.pst", std::string(1000, 'l'));
  WriteFile(temp / L"Other\\o.txt", std::string(3000, 'o'));
  HANDLE held = Hold(src + L"\\locked.pst");
  sources::SourceRow& docs = AddRow(src, L"Docs");
  AddRow(temp / L"Nothing", L"Unticked", false);
  AddRow(temp / L"Other", L"Other");
  main.Show();
  ASSERT_TRUE(main.in_front());

  bool checked_during_run = false;
  PauseAt(seams.engine.after_entry, 1, [&] {
    checked_during_run = true;
    for (const sources::SourceRow& row : main.rows) EXPECT_FALSE(row.check_box.enabled());
    EXPECT_EQ(Hear(docs.busy_image.handle()).name, L"Copying");
    EXPECT_EQ(Hear(docs.progress_bar.handle()).name, L"Docs");
    EXPECT_TRUE(main.backup_button.focused()) << "the focus left the greyed box for CANCEL";
  });
  main.target_box.focus();
  Press(target);
  CloseHandle(held);
  EXPECT_TRUE(checked_during_run);
  EXPECT_TRUE(main.rows[2].check_box.enabled());
  EXPECT_EQ(Hear(docs.error_image.handle()).name, L"Some files were not copied");
  ASSERT_GE(taskbar.calls.size(), 4u);
  EXPECT_EQ(taskbar.calls.front(), L"0/4000") << "the ticked rows' bytes, the unticked row's not";
  EXPECT_EQ(taskbar.calls[taskbar.calls.size() - 2], L"4000/4000!") << "red once a row failed";
  EXPECT_EQ(taskbar.calls.back(), L"clear") << "no flash: the window was in front";

  platform::Form other_program;  // the user works elsewhere meanwhile
  other_program.CreateForm({L"Elsewhere", 3000, 2000});
  other_program.Show();
  SetForegroundWindow(other_program.handle());
  ASSERT_FALSE(main.in_front());
  Press(target);
  EXPECT_EQ(taskbar.calls.back(), L"clear");
  EXPECT_EQ(taskbar.calls[taskbar.calls.size() - 2], L"flash");
}

}  // namespace
}  // namespace backup_testing
