// The real program, started as its own process: the splash window comes and
// goes, the main window becomes usable and shows its header, and a close
// request ends the program.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "environment/mail_client.h"
#include "environment/system_info.h"
#include "mailserver/fake_mail_client.h"
#include "support/build_path.h"

namespace {

const DWORD kPatienceMs = 60000;  // a hung program fails the test instead of blocking it

// The program's top-level windows of its own class, by caption; the splash
// window's is empty.
HWND FindForm(const wchar_t* caption) { return FindWindowW(L"TavrikForm", caption); }

std::vector<std::wstring> ChildTexts(HWND window) {
  std::vector<std::wstring> texts;
  EnumChildWindows(
      window,
      [](HWND child, LPARAM found) -> BOOL {
        wchar_t text[512] = {};
        GetWindowTextW(child, text, 512);
        reinterpret_cast<std::vector<std::wstring>*>(found)->push_back(text);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&texts));
  return texts;
}

bool Contains(const std::vector<std::wstring>& texts, const std::wstring& text) {
  for (const std::wstring& t : texts)
    if (t == text) return true;
  return false;
}

template <typename Condition>
bool WaitFor(Condition condition) {
  const DWORD give_up = GetTickCount() + kPatienceMs;
  while (!condition()) {
    if (GetTickCount() > give_up) return false;
    Sleep(50);
  }
  return true;
}

class ProgramTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(FindForm(L"Tavrik Backup"), nullptr) << "another copy of the program is open";
  }
  void TearDown() override {
    if (process_.hProcess) {
      if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT)
        TerminateProcess(process_.hProcess, 1);
      CloseHandle(process_.hProcess);
      CloseHandle(process_.hThread);
    }
    RegDeleteTreeW(HKEY_CURRENT_USER, environment::kProfileKeys[0]);
    RegDeleteKeyW(HKEY_CURRENT_USER, environment::kProfileKeys[0]);
    fake_mail_client::Unregister();
    fake_mail_client::RemoveConfiguration();
  }

  // Starts the program and waits until its splash has closed and its main
  // window takes input; the main window.
  HWND StartAndWaitUntilUsable() {
    std::wstring command = L"\"" + testing_support::BuildPath(TAVRIK_EXE_PATH) + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    if (!CreateProcessW(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process_))
      return nullptr;
    // The splash stays at least three seconds, so it is seen.
    saw_splash_ = WaitFor([] { return FindForm(L"") != nullptr; });
    HWND main = nullptr;
    WaitFor([&] {
      main = FindForm(L"Tavrik Backup");
      return main && IsWindowEnabled(main) && !FindForm(L"");
    });
    return main;
  }

  // Asks the program to close as the close box does; whether it ended.
  bool Close(HWND main) {
    PostMessageW(main, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(process_.hProcess, kPatienceMs) != WAIT_OBJECT_0) return false;
    DWORD code = 1;
    GetExitCodeProcess(process_.hProcess, &code);
    return code == 0;
  }

  PROCESS_INFORMATION process_{};
  bool saw_splash_ = false;
};

TEST_F(ProgramTest, SplashThenUsableMainWindowThenCloses) {
  HWND main = StartAndWaitUntilUsable();
  ASSERT_NE(main, nullptr);
  EXPECT_TRUE(saw_splash_);
  EXPECT_TRUE(IsWindowVisible(main));
  EXPECT_TRUE(IsWindowEnabled(main));
  std::vector<std::wstring> texts = ChildTexts(main);
  EXPECT_TRUE(Contains(texts, environment::OperatingSystemName()));
  EXPECT_TRUE(Contains(texts, environment::UserName()));
  EXPECT_TRUE(Contains(texts, L"Backup!"));
  EXPECT_TRUE(Close(main));
}

TEST_F(ProgramTest, HeaderNamesTheMailClientAndItsStatus) {
  HKEY key = nullptr;
  RegCreateKeyExW(HKEY_CURRENT_USER, environment::kProfileKeys[0], 0, nullptr, 0, KEY_ALL_ACCESS,
                  nullptr, &key, nullptr);
  RegCloseKey(key);
  ASSERT_TRUE(fake_mail_client::Register());
  fake_mail_client::Configure(L"12.0.0.6504",
                              {{L"Personal Folders", fake_mail_client::StoreIdForPath("C:\\none.pst")}});
  HWND main = StartAndWaitUntilUsable();
  ASSERT_NE(main, nullptr);
  std::vector<std::wstring> texts = ChildTexts(main);
  EXPECT_TRUE(Contains(texts, L"Outlook 2007 SP2"));
  EXPECT_TRUE(Contains(texts, L"Closed (OK)"));
  EXPECT_TRUE(Contains(texts, L"Outlook [Personal Folders]"));
  EXPECT_TRUE(Close(main));
}

}  // namespace
