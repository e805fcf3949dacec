// The real program, started as its own process with the stand-in mail
// client: the splash window comes and goes, the main window becomes usable
// and shows its header and rows, and a close request ends the program.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "app/splash_window.h"
#include "environment/mail_client.h"
#include "environment/system_info.h"
#include "mailserver/fake_mail_client.h"
#include "support/build_path.h"

namespace {

// The program's top-level windows of its own class, by caption; the
// splash window's is empty.
HWND FindForm(const wchar_t* caption) { return FindWindowW(L"TavrikForm", caption); }

template <typename Condition>
bool WaitFor(Condition condition) {
  // A hung program fails the test instead of blocking it.
  for (const DWORD give_up = GetTickCount() + 60000; !condition(); Sleep(50))
    if (GetTickCount() > give_up) return false;
  return true;
}

bool HasChildText(HWND window, const std::wstring& text) {
  for (HWND child = nullptr; (child = FindWindowExW(window, child, nullptr, nullptr));) {
    wchar_t buffer[512] = {};
    GetWindowTextW(child, buffer, 512);
    if (text == buffer || HasChildText(child, text)) return true;
  }
  return false;
}

TEST(ProgramTest, SplashThenTheFilledMainWindowThenAClose) {
  ASSERT_EQ(FindForm(L"Tavrik Backup"), nullptr) << "another copy of the program is open";
  RegSetKeyValueW(HKEY_CURRENT_USER, environment::kProfileKeys[0], nullptr, REG_SZ, L"", 2);
  ASSERT_TRUE(fake_mail_client::Register());
  fake_mail_client::Configure(
      L"12.0.0.6504", {{L"Personal Folders", fake_mail_client::StoreIdForPath("C:\\none.pst")}});

  const DWORD started = GetTickCount();
  std::wstring command = L"\"" + testing_support::BuildPath(TAVRIK_EXE_PATH) + L"\"";
  STARTUPINFOW startup{sizeof(startup)};
  PROCESS_INFORMATION process{};
  ASSERT_TRUE(CreateProcessW(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                             &startup, &process));
  EXPECT_TRUE(WaitFor([] { return FindForm(L"") != nullptr; }));
  HWND main = nullptr;
  EXPECT_TRUE(WaitFor([&] {
    main = FindForm(L"Tavrik Backup");
    return main && IsWindowEnabled(main) && !FindForm(L"");
  }));
  EXPECT_GE(GetTickCount() - started, static_cast<DWORD>(app::SplashWindow::kMinimumMs))
      << "the splash timer's own tick frees the window, not before";
  if (main) {
    EXPECT_TRUE(IsWindowVisible(main));
    for (const std::wstring& text : {environment::OperatingSystemName(), environment::UserName(),
                                     std::wstring(L"Outlook 2007 SP2"), std::wstring(L"Closed (OK)"),
                                     std::wstring(L"Outlook [Personal Folders]")})
      EXPECT_TRUE(HasChildText(main, text)) << text;
    PostMessageW(main, WM_CLOSE, 0, 0);
  }
  DWORD code = 1;
  EXPECT_EQ(WaitForSingleObject(process.hProcess, 60000), WAIT_OBJECT_0);
  GetExitCodeProcess(process.hProcess, &code);
  EXPECT_EQ(code, 0u);
  if (code == STILL_ACTIVE) TerminateProcess(process.hProcess, 1);
  CloseHandle(process.hProcess);
  CloseHandle(process.hThread);
  RegDeleteTreeW(HKEY_CURRENT_USER, environment::kProfileKeys[0]);
  RegDeleteKeyW(HKEY_CURRENT_USER, environment::kProfileKeys[0]);
  fake_mail_client::Unregister();
  fake_mail_client::RemoveConfiguration();
}

}  // namespace
