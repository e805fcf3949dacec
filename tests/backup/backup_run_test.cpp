// The press of "Backup!": target checks, what is saved, the icons, and
// backup.log's exact lines and when it is written.
#include "backup/backup_run.h"

#include <future>

#include "backup_fixture.h"
#include "platform/run_lock.h"

namespace backup_testing {
namespace {

constexpr COLORREF kYellow = RGB(255, 255, 0);

using BackupRunTest = BackupTest;

TEST_F(BackupRunTest, UnusableTargetsRefusedOrStopTheRun) {
  WriteFile(src + L"\\a.txt", "a");
  WriteFile(temp / L"After\\b.txt", "b");
  sources::SourceRow& docs = AddRow(src, L"Docs");
  sources::SourceRow& later = AddRow(temp / L"After", L"After");
  WriteFile(temp / L"file.txt", "a file, not a folder");
  std::wstring too_long = temp.path();
  while (too_long.size() <= settings::kMaxValueLength) too_long += L"\\abcdefghij";
  const std::pair<std::wstring, const std::wstring*> refused[] = {  // too long: the settings file would cut it
      {L"", &texts.run.enter_target}, {L"   ", &texts.run.enter_target}, {too_long, &texts.run.invalid_target},
      {temp / L"file.txt\\sub", &texts.run.invalid_target}, {L"relative\\target", &texts.run.invalid_target}};
  for (const auto& [typed, message] : refused) {
    Press(typed);
    EXPECT_EQ(main.error_label.text(), *message) << ::testing::PrintToString(typed);
    EXPECT_EQ(main.target_box.back_color(), kYellow);
  }
  Press(L"Q:\\Backups");  // a drive letter nothing is mapped to
  EXPECT_EQ(main.error_label.text(), texts.run.target_not_available + L"Q:\\Backups");
  EXPECT_EQ(Ini(L"main", L"target"), L"<none>");
  EXPECT_FALSE(platform::FolderExists(L"\\relative"));

  WriteFile(dst, "a file where the row's folder should go");
  Press(target);
  EXPECT_EQ(main.error_label.text(), L"Cannot backup to " + target + L"\\");
  EXPECT_TRUE(docs.error_image.visible() && main.total_error_image.visible() && main.target_box.enabled());
  EXPECT_FALSE(later.progress_bar.visible() || platform::FolderExists(target + L"\\After")) << "the run stopped";

  const std::wstring deep = temp / L"x\\y\\z";
  Press(L"  " + deep + L"  ");
  EXPECT_EQ(main.target_box.text(), deep) << "blanks trimmed";
  EXPECT_EQ(ReadFile(deep + L"\\Docs\\a.txt"), "a");
  EXPECT_NE(main.target_box.back_color(), kYellow);
  EXPECT_FALSE(main.error_label.visible());
}

// A target inside a ticked source however spelt, or one that puts a row's
// copy on its own folder: refused before anything is made or saved.
TEST_F(BackupRunTest, TargetInsideASourceRefused) {
  const std::wstring source = temp / L"Documents and more";
  WriteFile(source + L"\\a.txt", "a");
  WriteFile(temp / L"Home\\Pics\\p.jpg", "picture");
  AddRow(L"", L"Outlook [Archive]", true, sources::kMailStoreRow);  // no file known: blocks nothing
  sources::SourceRow& docs = AddRow(source, L"Docs");
  sources::SourceRow& unticked = AddRow(temp / L"Other", L"Other", false);
  AddRow(temp / L"Home\\Pics", L"Pics");
  wchar_t short_name[MAX_PATH] = L"";
  GetShortPathNameW(source.c_str(), short_name, MAX_PATH);
  std::wstring slashed = source, lower = source;
  for (wchar_t& c : slashed) c = c == L'\\' ? L'/' : c;
  for (wchar_t& c : lower) c = static_cast<wchar_t>(towlower(c));
  for (const std::wstring& typed :
       {slashed + L"/Copias", lower + L"\\Copias", source + L"\\\\Copias",
        source + L"\\x\\..\\Copias", L"\\\\?\\" + source + L"\\Copias", source + L".\\Copias",
        source + L" \\Copias", std::wstring(short_name) + L"\\Copias",
        temp / L"Home", temp / L"Home\\Pics\\.."}) {  // Pics would land on itself
    Press(typed);
    EXPECT_EQ(main.error_label.text(), texts.run.same_folder) << ::testing::PrintToString(typed);
  }
  EXPECT_FALSE(platform::FolderExists(source + L"\\Copias")) << "nothing made";
  EXPECT_EQ(Ini(L"main", L"target"), L"<none>") << "nothing saved";
  EXPECT_EQ(Ini(L"systemfolders", docs.key), L"<none>");

  Press(target, false);
  EXPECT_EQ(Ini(L"main", L"target"), target);
  EXPECT_EQ(Ini(L"main", L"log"), L"0");
  EXPECT_EQ(Ini(L"systemfolders", docs.key), L"1");
  EXPECT_EQ(Ini(L"systemfolders", unticked.key), L"<none>");
}

TEST_F(BackupRunTest, ProblemsAreToldAndTheRunGoesOn) {
  WriteFile(src + L"\\locked.pst", "held by the mail client");
  WriteFile(src + L"\\z.txt", "after the locked one");
  WriteFile(temp / L"Other\\o.txt", "third row");
  WriteFile(dst + L"\\locked.pst", "last week's good copy");
  WriteFile(settings_file, "");
  HANDLE held[] = {Hold(src + L"\\locked.pst"), Hold(settings_file)};
  sources::SourceRow& gone = AddRow(temp / L"Gone", L"Gone");
  sources::SourceRow& locked = AddRow(src, L"Docs");
  sources::SourceRow& other = AddRow(temp / L"Other", L"Other");
  sources::SourceRow& store = AddRow(src + L"\\locked.pst", L"Outlook [Personal]", true, sources::kMailStoreRow);
  Press(target);
  for (HANDLE file : held) CloseHandle(file);
  EXPECT_EQ(main.error_label.text(), texts.run.settings_not_saved);
  EXPECT_EQ(dialogs.boxes, std::vector<std::wstring>{L"Backup source file/folder " +
                                                     temp / L"Gone\\" + L" Not found"});
  EXPECT_EQ(dialogs.owners, std::vector<HWND>{main.handle()});
  EXPECT_TRUE(gone.ok_image.visible()) << "no file of it failed";
  EXPECT_FALSE(platform::FolderExists(target + L"\\Gone"));
  EXPECT_TRUE(Has(LogLines(target), L"locked.pst\t-->in use by the mail client, not copied"));
  EXPECT_TRUE(store.error_image.visible());
  EXPECT_EQ(ReadFile(dst + L"\\locked.pst"), "last week's good copy");
  EXPECT_EQ(ReadFile(dst + L"\\z.txt"), "after the locked one");
  EXPECT_TRUE(locked.error_image.visible() && locked.progress_bar.visible());
  EXPECT_TRUE(other.ok_image.visible());
  EXPECT_TRUE(main.total_error_image.visible() && !main.total_ok_image.visible()) << "an earlier row's failure counts";
}

// Nothing the window's thread does (a modal window, a menu, a drag) holds the
// copy: once it has begun, the thread here handles no message at all.
TEST_F(BackupRunTest, TheCopyGoesOnWhileTheWindowsThreadIsHeld) {
  for (int i = 0; i < 1000; ++i) WriteFile(src + L"\\f" + std::to_wstring(i) + L".txt", "x");
  AddRow(src, L"Docs");
  main.target_box.set_text(target);
  main.backup_button.on_click();
  ASSERT_TRUE(WaitFor([&] { return CountFound(dst + L"\\f*.txt") > 0; }));
  const auto end = std::chrono::steady_clock::now() + std::chrono::minutes(1);
  while (CountFound(dst + L"\\f*.txt") < 1000 && std::chrono::steady_clock::now() < end)
    Sleep(50);  // polls without handling a message
  EXPECT_EQ(CountFound(dst + L"\\f*.txt"), 1000) << "copied while the window's thread handled nothing";
  WaitForRun();
}

// One ANSI line a folder or file, each ending in CRLF. An older log is
// replaced with the log on, left alone with it off, emptied by a run of no
// row; one that cannot be written stops nothing, but is told and turns the run red.
TEST_F(BackupRunTest, LogReplacedLeftAloneOrUnwritable) {
  ASSERT_EQ(platform::ToAnsi(L"\u00F1").size(), 1u) << "one byte per character";
  WriteFile(src + L"\\a\u00F1o.txt", "a");
  WriteFile(src + L"\\Sub\\b.txt", "b");
  sources::SourceRow& row = AddRow(src, L"Docs");
  const std::wstring top = L"Folder: " + src + L"\\", file = L"a\u00F1o.txt\t-->file copied",
                     sub = L"Folder: " + src + L"\\Sub\\", b = L"b.txt\t-->file copied";
  const std::wstring older(5000, L'x');
  // a folder in the log's place, the log on, the row ticked; the log's lines
  const std::tuple<bool, bool, bool, std::vector<std::wstring>> cases[] = {
      {false, true, true, {top, file, sub, b}}, {false, false, true, {older}},
      {false, true, false, {}}, {true, true, true, {}}};
  for (const auto& [folder, log, ticked, lines] : cases) {
    testing_support::RemoveTree(target);
    if (folder) testing_support::MakeFolders(target + L"\\backup.log");
    else WriteFile(target + L"\\backup.log", platform::ToAnsi(older) + "\r\n");
    row.check_box.set_check_state(ticked ? platform::CheckState::kChecked : platform::CheckState::kUnchecked);
    Press(target, log);
    EXPECT_EQ(main.view_log_link.visible(), log);
    if (folder) {
      EXPECT_EQ(ReadFile(dst + L"\\a\u00F1o.txt"), "a");
      EXPECT_EQ(main.error_label.text(), L"Error writing to " + target + L"\\");
      EXPECT_TRUE(row.ok_image.visible() && main.total_error_image.visible()) << "the log asked for is missing";
      continue;
    }
    // Sub may be listed before or after the file; both orders are right.
    std::vector<std::wstring> read = LogLines(target);
    if (read.size() == 4 && read[1] == sub) std::rotate(read.begin() + 1, read.begin() + 3, read.end());
    EXPECT_EQ(read, lines);
    EXPECT_TRUE(main.total_ok_image.visible());
  }
  EXPECT_EQ(main.log_folder, target);
}

// A run started elsewhere (a scheduled one) holds the lock: a press starts nothing.
TEST_F(BackupRunTest, APressWhileAnotherRunHoldsTheLockStartsNothing) {
  AddRow(src, L"Docs");
  const std::wstring name = L"Local\\Tavrik Backup test " + std::to_wstring(GetCurrentProcessId());
  platform::RunLock lock(name);
  main.backup_run.run_lock = &lock;
  std::promise<void> held, done;
  std::thread scheduled([&] {
    platform::RunLock other(name);
    other.TryHold();
    held.set_value();
    done.get_future().wait();
  });
  held.get_future().wait();
  Press(target);
  EXPECT_EQ(main.error_label.text(), texts.run.other_run_going);
  EXPECT_FALSE(platform::FolderExists(target)) << "nothing started";
  done.set_value();
  scheduled.join();
}

}  // namespace
}  // namespace backup_testing
