// The press of "Backup!": target checks, what is saved, the icons of a run,
// cancel by a second press, and a drive root as target.
#include "backup/backup_run.h"

#include <winioctl.h>

#include <cstring>

#include "backup_fixture.h"

namespace backup_testing {
namespace {

constexpr COLORREF kYellow = RGB(255, 255, 0);
constexpr COLORREF kWhite = RGB(255, 255, 255);

class BackupRunTest : public BackupTest {
 protected:
  std::wstring src = temp / L"Docs";
  std::wstring target = temp / L"Copias";
};

TEST_F(BackupRunTest, AnEmptyTargetOrOneOfBlanksIsAskedFor) {
  WriteFile(src + L"\\a.txt", "a");
  AddRow(src, L"Docs");
  for (const wchar_t* typed : {L"", L"   "}) {
    Press(typed);
    EXPECT_EQ(main.error_label.caption(), L"Please, enter backup folder");
    EXPECT_TRUE(Shown(main.error_label));
    EXPECT_EQ(main.target_box.back_color(), kYellow);
    EXPECT_EQ(Ini(L"main", L"target"), L"<none>") << "nothing saved";
  }
}

TEST_F(BackupRunTest, AMissingTargetIsCreatedLevelByLevel) {
  WriteFile(src + L"\\a.txt", "a");
  AddRow(src, L"Docs");
  const std::wstring deep = temp / L"x\\y\\z";

  Press(L"  " + deep + L"  ");

  EXPECT_EQ(main.target_box.text(), deep) << "blanks trimmed";
  EXPECT_EQ(ReadFile(deep + L"\\Docs\\a.txt"), "a");
  EXPECT_EQ(main.target_box.back_color(), kWhite);
  EXPECT_FALSE(Shown(main.error_label));
  EXPECT_TRUE(Shown(main.total_ok_image));
}

TEST_F(BackupRunTest, ATargetThatCannotBeMadeIsRefused) {
  WriteFile(temp / L"file.txt", "a file, not a folder");
  AddRow(src, L"Docs");
  for (const std::wstring& typed : {temp / L"file.txt\\sub", std::wstring(L"relative\\target")}) {
    Press(typed);
    EXPECT_EQ(main.error_label.caption(),
              L"Backup folder is not valid. Please, enter a valid target");
    EXPECT_EQ(main.target_box.back_color(), kYellow);
  }
  EXPECT_FALSE(platform::FolderExists(L"relative"));
  EXPECT_FALSE(platform::FolderExists(L"\\relative"));
}

TEST_F(BackupRunTest, SettingsAreSavedAsTheRunGoes) {
  WriteFile(src + L"\\a.txt", "a");
  const std::wstring other = temp / L"Other";
  WriteFile(other + L"\\o.txt", "o");
  sources::SourceRow& ticked = AddRow(src, L"Docs");
  sources::SourceRow& unticked = AddRow(other, L"Other", false);

  Press(target);

  EXPECT_EQ(Ini(L"main", L"target"), target);
  EXPECT_EQ(Ini(L"main", L"log"), L"1");
  EXPECT_EQ(Ini(L"systemfolders", ticked.Key), L"1");
  EXPECT_EQ(Ini(L"systemfolders", unticked.Key), L"<none>");
  EXPECT_FALSE(platform::FolderExists(target + L"\\Other"));
}

TEST_F(BackupRunTest, ATargetInsideATickedSourceIsRefusedWhateverTheCase) {
  WriteFile(src + L"\\a.txt", "a");
  const std::wstring after = temp / L"After";
  WriteFile(after + L"\\b.txt", "b");
  // A store whose file is unknown blocks nothing.
  AddRow(L"", L"Outlook [Archive]", true, L"PST", sources::kMailStoreRow);
  sources::SourceRow& docs = AddRow(src, L"Docs");
  sources::SourceRow& later = AddRow(after, L"After");
  std::wstring inside = src + L"\\Copias";
  for (wchar_t& c : inside) c = static_cast<wchar_t>(towlower(c));

  Press(inside);

  EXPECT_EQ(main.error_label.caption(), L"Backup folder cannot be the same as source folder");
  EXPECT_EQ(main.target_box.back_color(), kYellow);
  EXPECT_EQ(Ini(L"main", L"target"), inside);
  EXPECT_EQ(Ini(L"systemfolders", docs.Key), L"1");
  EXPECT_EQ(Ini(L"systemfolders", later.Key), L"<none>") << "rows after the refused one";
  EXPECT_FALSE(platform::FolderExists(inside + L"\\Docs"));
  EXPECT_TRUE(dialogs.boxes.empty());
}

TEST_F(BackupRunTest, ATargetInsideATickedSourceIsRefusedHoweverItIsSpelt) {
  const std::wstring source = temp / L"Documents and more";
  WriteFile(source + L"\\a.txt", "a");
  AddRow(source, L"Docs");
  wchar_t shortName[MAX_PATH] = L"";
  GetShortPathNameW(source.c_str(), shortName, MAX_PATH);
  std::wstring slashed = source;
  for (wchar_t& c : slashed) if (c == L'\\') c = L'/';
  const std::wstring spellings[] = {
      slashed + L"/Copias", source + L"\\\\Copias", source + L"\\.\\Copias",
      source + L"\\x\\..\\Copias", L"\\\\?\\" + source + L"\\Copias", source + L".\\Copias",
      source + L" \\Copias", std::wstring(shortName) + L"\\Copias"};
  for (const std::wstring& typed : spellings) {
    Press(typed);
    EXPECT_EQ(main.error_label.caption(), L"Backup folder cannot be the same as source folder")
        << ::testing::PrintToString(typed);
  }
  EXPECT_FALSE(platform::FolderExists(source + L"\\Copias\\Docs"));
}

TEST_F(BackupRunTest, SettingsThatCannotBeSavedAreToldAndTheRunGoesOn) {
  WriteFile(src + L"\\a.txt", "a");
  AddRow(src, L"Docs");
  std::wstring tooLong = temp / L"";
  while (tooLong.size() <= settings::kMaxValueLength) tooLong += L"abcdefghij";
  Press(tooLong);
  EXPECT_EQ(main.error_label.caption(), L"Backup folder is not valid. Please, enter a valid target");
  EXPECT_EQ(Ini(L"main", L"target"), L"<none>");

  WriteFile(main.settings_file, "");
  HANDLE locked = CreateFileW(main.settings_file.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0,
                              nullptr);
  ASSERT_NE(locked, INVALID_HANDLE_VALUE);
  Press(target);
  CloseHandle(locked);
  EXPECT_EQ(main.error_label.caption(), L"Settings could not be saved");
  EXPECT_EQ(ReadFile(target + L"\\Docs\\a.txt"), "a");
  EXPECT_TRUE(Shown(main.total_ok_image));
}

TEST_F(BackupRunTest, CancelAlwaysWins) {
  // Only folders in the row: the cancel arrives just before the next one.
  WriteFile(src + L"\\A\\a.txt", "a");
  WriteFile(src + L"\\B\\b.txt", "b");
  AddRow(src, L"Docs");
  bool pressed = false;
  main.backup_run.engine().yieldEvery = std::chrono::milliseconds(0);
  main.backup_run.engine().yield = [&] {
    if (!pressed) PostPress();
    pressed = true;
    platform::DoEvents();
  };
  Press(target);
  const std::wstring last = LogLines(target).back();
  EXPECT_EQ(last.substr(last.find(L'\t')), L"\t-->user cancelled");
  EXPECT_EQ(main.error_label.caption(), L"Canceled!");

  // The target gone and a file in its place: the cancel is still heard.
  pressed = false;
  main.backup_run.engine().yield = [&] {
    if (!pressed) {
      testing_support::RemoveTree(target);
      WriteFile(target, "in the way");
      PostPress();
    }
    pressed = true;
    platform::DoEvents();
  };
  Press(target, false);
  EXPECT_EQ(main.error_label.caption(), L"Canceled!");
  EXPECT_EQ(main.backup_button.caption(), L"Backup!");
}

TEST_F(BackupRunTest, ADestinationThatCannotBeMadeStopsTheRun) {
  WriteFile(src + L"\\a.txt", "a");
  const std::wstring after = temp / L"After";
  WriteFile(after + L"\\b.txt", "b");
  // A file where the row's folder should go.
  WriteFile(target + L"\\Docs", "in the way");
  sources::SourceRow& blocked = AddRow(src, L"Docs");
  sources::SourceRow& later = AddRow(after, L"After");

  Press(target);

  EXPECT_EQ(main.error_label.caption(), L"Cannot backup to " + target + L"\\");
  EXPECT_TRUE(Shown(blocked.imgError));
  EXPECT_TRUE(Shown(main.total_error_image));
  EXPECT_FALSE(Shown(later.barCopy));
  EXPECT_FALSE(Shown(later.imgOK));
  EXPECT_FALSE(platform::FolderExists(target + L"\\After"));
  EXPECT_EQ(main.backup_button.caption(), L"Backup!");
  EXPECT_TRUE(main.target_box.enabled());
}

TEST_F(BackupRunTest, ASecondPressCancelsWhileADeepFolderCopies) {
  const std::wstring deep = src + L"\\a\\b\\c\\d";
  for (int i = 1; i <= 5; ++i) WriteFile(deep + L"\\f" + std::to_wstring(i) + L".txt", "deep");
  WriteFile(src + L"\\z1.txt", "after the deep folder");
  const std::wstring after = temp / L"After";
  WriteFile(after + L"\\b.txt", "b");
  sources::SourceRow& row = AddRow(src, L"Docs");
  sources::SourceRow& later = AddRow(after, L"After");
  const std::wstring copiedDeep = target + L"\\Docs\\a\\b\\c\\d";
  bool pressed = false;
  bool busyLooked = false;
  main.backup_run.engine().yieldEvery = std::chrono::milliseconds(0);
  main.backup_run.engine().yield = [&] {
    if (!pressed && platform::FileExists(copiedDeep + L"\\f1.txt")) {
      busyLooked = main.backup_button.caption() == L"CANCEL" && main.backup_button.enabled() &&
                   !main.rows_panel.enabled() && !main.target_box.enabled() &&
                   !main.write_log_box.enabled() && !main.pick_target_button.enabled() && Shown(row.imgWait);
      PostPress();
      pressed = true;
    }
    platform::DoEvents();
  };

  Press(target);

  EXPECT_TRUE(pressed);
  EXPECT_TRUE(busyLooked);
  std::vector<std::wstring> lines = LogLines(target);
  ASSERT_GE(lines.size(), 2u);
  EXPECT_EQ(lines[lines.size() - 2], L"f1.txt\t-->file copied");
  EXPECT_EQ(lines.back(), L"f2.txt\t-->user cancelled");
  EXPECT_FALSE(platform::FileExists(copiedDeep + L"\\f3.txt"));
  EXPECT_FALSE(platform::FileExists(target + L"\\Docs\\z1.txt"));
  EXPECT_EQ(main.error_label.caption(), L"Canceled!");
  EXPECT_FALSE(Shown(main.total_ok_image));
  EXPECT_FALSE(Shown(main.total_error_image));
  EXPECT_FALSE(Shown(row.imgOK));
  EXPECT_FALSE(Shown(row.imgError));
  EXPECT_FALSE(Shown(row.imgWait));
  EXPECT_TRUE(Shown(row.barCopy));
  EXPECT_FALSE(Shown(later.barCopy));
  EXPECT_FALSE(platform::FolderExists(target + L"\\After"));
  EXPECT_EQ(main.backup_button.caption(), L"Backup!");
  EXPECT_TRUE(main.backup_button.enabled());
  EXPECT_TRUE(main.rows_panel.enabled());

  // The next run starts afresh and finishes.
  main.backup_run.engine().yield = platform::DoEvents;
  Press(target);
  EXPECT_EQ(ReadFile(target + L"\\Docs\\z1.txt"), "after the deep folder");
  EXPECT_TRUE(Shown(main.total_ok_image));
  EXPECT_TRUE(Shown(later.imgOK));
}

// Wine's own way to give a drive letter to a folder, as its configuration
// tool does; there is no such thing on Windows, where the test is skipped.
class WineDrive {
 public:
  WineDrive(wchar_t letter, const std::wstring& folder) : letter_(letter) {
    using UnixName = char*(CDECL*)(const wchar_t*);
    auto unixName = reinterpret_cast<UnixName>(
        GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name"));
    if (!unixName) return;
    char* name = unixName(folder.c_str());
    if (!name) return;
    mapped_ = Define(DRIVE_FIXED, name);
    HeapFree(GetProcessHeap(), 0, name);
  }
  ~WineDrive() {
    if (mapped_) Define(DRIVE_NO_ROOT_DIR, nullptr);
  }
  bool mapped() const { return mapped_; }

 private:
  struct UnixDrive {
    ULONG size, type, fs_type;
    DWORD serial;
    ULONGLONG unix_dev;
    WCHAR letter;
    USHORT mount_point_offset, device_offset, label_offset;
  };
  bool Define(ULONG type, const char* mountPoint) {
    const DWORD kDefineUnixDrive = CTL_CODE(0x6D, 32, METHOD_BUFFERED,
                                            FILE_READ_ACCESS | FILE_WRITE_ACCESS);
    HANDLE manager = CreateFileW(L"\\\\.\\MountPointManager", GENERIC_READ | GENERIC_WRITE,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                                 nullptr);
    if (manager == INVALID_HANDLE_VALUE) return false;
    std::vector<char> buffer(sizeof(UnixDrive) + (mountPoint ? strlen(mountPoint) + 1 : 0));
    UnixDrive drive = {};
    drive.size = static_cast<ULONG>(buffer.size());
    drive.type = type;
    drive.letter = static_cast<WCHAR>(towlower(letter_));
    if (mountPoint) {
      drive.mount_point_offset = sizeof(UnixDrive);
      memcpy(buffer.data() + sizeof(UnixDrive), mountPoint, strlen(mountPoint) + 1);
    }
    memcpy(buffer.data(), &drive, sizeof drive);
    DWORD returned = 0;
    BOOL ok = DeviceIoControl(manager, kDefineUnixDrive, buffer.data(),
                              static_cast<DWORD>(buffer.size()), nullptr, 0, &returned, nullptr);
    CloseHandle(manager);
    return ok != FALSE;
  }
  wchar_t letter_;
  bool mapped_ = false;
};

TEST_F(BackupRunTest, ADriveRootTargetTakesTheLogAtItsRoot) {
  const std::wstring root = temp / L"Root";
  testing_support::MakeFolders(root);
  wchar_t letter = 0;
  for (wchar_t c = L'Q'; c <= L'Y' && !letter; ++c) {
    if (GetDriveTypeW((std::wstring(1, c) + L":\\").c_str()) == DRIVE_NO_ROOT_DIR) letter = c;
  }
  ASSERT_NE(letter, 0) << "no free drive letter";
  WineDrive drive(letter, root);
  if (!drive.mapped()) GTEST_SKIP() << "cannot map a drive letter here (not under Wine?)";
  const std::wstring driveRoot = std::wstring(1, letter) + L":\\";
  ASSERT_TRUE(platform::FolderExists(driveRoot));
  WriteFile(src + L"\\a.txt", "a");
  AddRow(src, L"Docs");

  Press(driveRoot);

  EXPECT_EQ(ReadFile(root + L"\\Docs\\a.txt"), "a");
  EXPECT_EQ(LogLines(driveRoot).size(), 2u);
  EXPECT_TRUE(platform::FileExists(root + L"\\backup.log"));
  EXPECT_EQ(main.log_folder, driveRoot);
  EXPECT_TRUE(Shown(main.total_ok_image));
}

}  // namespace
}  // namespace backup_testing
