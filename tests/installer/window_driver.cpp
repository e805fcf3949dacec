// Drives the program's and the installer's windows for the installer tests,
// the way a user would: waits for a window or a button by its text, presses
// it, types keys, reads an executable's version. Exit code 0 when
// done, 1 when what it waited for did not come, 2 on bad arguments.
//
//   window_driver wait TITLE SECONDS          a visible, enabled top-level window
//   window_driver gone TITLE SECONDS          no visible window of that title left
//   window_driver seen TITLE TEXT SECONDS     a control of the window shows TEXT
//   window_driver press TITLE TEXT SECONDS    an enabled button TEXT, then press it
//   window_driver keys TITLE KEY...           bring the window to the front and
//                                             type keys: F10 Left Right Up Down
//                                             Return Escape Space
//   window_driver close TITLE                 ask the window to close
//   window_driver version FILE                print the file's version a.b.c
//   window_driver trust PEM                   add the certificate to the current
//                                             user's trusted roots (a process of
//                                             its own: a process sees the roots
//                                             as they were at its first look)
//   window_driver distrust PEM                remove it again
//
// A TITLE ending in "*" matches every title that starts with the rest.
// Texts are compared without the "&" that marks access keys.
#include <windows.h>
#include <wincrypt.h>

#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

namespace {

std::wstring WindowText(HWND window) {
  wchar_t text[512] = L"";
  GetWindowTextW(window, text, 512);
  return text;
}

std::wstring WithoutAccessKeys(std::wstring text) {
  std::wstring plain;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == L'&' && i + 1 < text.size()) ++i;
    plain += text[i];
  }
  return plain;
}

bool TitleMatches(const std::wstring& title, const std::wstring& pattern) {
  if (!pattern.empty() && pattern.back() == L'*') {
    return title.compare(0, pattern.size() - 1, pattern, 0, pattern.size() - 1) == 0;
  }
  return title == pattern;
}

struct Search {
  std::wstring pattern;
  std::vector<HWND> found;
};

BOOL CALLBACK CollectTopLevel(HWND window, LPARAM data) {
  auto* search = reinterpret_cast<Search*>(data);
  if (IsWindowVisible(window) && TitleMatches(WindowText(window), search->pattern)) {
    search->found.push_back(window);
  }
  return TRUE;
}

BOOL CALLBACK CollectChildren(HWND window, LPARAM data) {
  reinterpret_cast<std::vector<HWND>*>(data)->push_back(window);
  return TRUE;
}

std::vector<HWND> TopLevel(const std::wstring& pattern) {
  Search search{pattern, {}};
  EnumWindows(CollectTopLevel, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

std::vector<HWND> Children(HWND window) {
  std::vector<HWND> children;
  EnumChildWindows(window, CollectChildren, reinterpret_cast<LPARAM>(&children));
  return children;
}

bool IsButton(HWND window) {
  wchar_t window_class[64] = L"";
  GetClassNameW(window, window_class, 64);
  return _wcsicmp(window_class, L"Button") == 0;
}

// The first visible control of a matching window showing text; with
// button_only, an enabled button.
HWND FindControl(const std::wstring& title, const std::wstring& text, bool button_only) {
  for (HWND window : TopLevel(title)) {
    for (HWND child : Children(window)) {
      if (!IsWindowVisible(child) || WithoutAccessKeys(WindowText(child)) != text) continue;
      if (button_only && (!IsButton(child) || !IsWindowEnabled(child))) continue;
      return child;
    }
  }
  return nullptr;
}

HWND FindEnabledWindow(const std::wstring& title) {
  for (HWND window : TopLevel(title)) {
    if (IsWindowEnabled(window)) return window;
  }
  return nullptr;
}

// Polls until found returns true or the seconds are over.
template <typename Found>
bool WaitFor(double seconds, Found found) {
  const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(seconds * 1000);
  for (;;) {
    if (found()) return true;
    if (GetTickCount64() >= end) return false;
    Sleep(100);
  }
}

// Posted, not sent: what the press starts (a download, the end of the
// program) must not hold this driver.
void Press(HWND button) {
  PostMessageW(GetParent(button), WM_COMMAND,
               MAKEWPARAM(GetDlgCtrlID(button), BN_CLICKED), reinterpret_cast<LPARAM>(button));
}

WORD KeyCode(const std::wstring& name) {
  if (name == L"F10") return VK_F10;
  if (name == L"Left") return VK_LEFT;
  if (name == L"Right") return VK_RIGHT;
  if (name == L"Up") return VK_UP;
  if (name == L"Down") return VK_DOWN;
  if (name == L"Return") return VK_RETURN;
  if (name == L"Escape") return VK_ESCAPE;
  if (name == L"Space") return VK_SPACE;
  return 0;
}

// Menus cannot be read from another process under Wine, so a menu entry is
// reached as a user reaches it from the keyboard.
bool TypeKeys(HWND window, const std::vector<WORD>& keys) {
  if (!WaitFor(5, [&] {
        SetForegroundWindow(window);
        Sleep(200);
        return GetForegroundWindow() == window;
      })) {
    return false;
  }
  for (WORD key : keys) {
    INPUT input[2] = {};
    input[0].type = input[1].type = INPUT_KEYBOARD;
    input[0].ki.wVk = input[1].ki.wVk = key;
    input[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, input, sizeof(INPUT));
    Sleep(200);
  }
  return true;
}

bool PrintVersion(const std::wstring& file) {
  DWORD ignored = 0;
  DWORD size = GetFileVersionInfoSizeW(file.c_str(), &ignored);
  if (size == 0) return false;
  std::vector<char> block(size);
  VS_FIXEDFILEINFO* info = nullptr;
  UINT length = 0;
  if (!GetFileVersionInfoW(file.c_str(), 0, size, block.data()) ||
      !VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&info), &length)) {
    return false;
  }
  std::printf("%u.%u.%u\n", HIWORD(info->dwFileVersionMS), LOWORD(info->dwFileVersionMS),
              HIWORD(info->dwFileVersionLS));
  return true;
}

// Adds or removes a PEM certificate in the current user's root store.
bool Trust(const std::wstring& pem_file, bool trusted) {
  HANDLE file = CreateFileW(pem_file.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  char pem[16384];
  DWORD size = 0;
  ReadFile(file, pem, sizeof pem, &size, nullptr);
  CloseHandle(file);
  BYTE der[16384];
  DWORD der_size = sizeof der;
  if (!CryptStringToBinaryA(pem, size, CRYPT_STRING_BASE64HEADER, der, &der_size, nullptr, nullptr)) return false;
  HCERTSTORE store = CertOpenStore(CERT_STORE_PROV_SYSTEM_W, 0, 0, CERT_SYSTEM_STORE_CURRENT_USER, L"Root");
  PCCERT_CONTEXT added = nullptr;
  bool ok = CertAddEncodedCertificateToStore(store, X509_ASN_ENCODING, der, der_size,
                                             CERT_STORE_ADD_REPLACE_EXISTING, &added) != FALSE;
  if (ok && !trusted) ok = CertDeleteCertificateFromStore(added) != FALSE;
  else if (added) CertFreeCertificateContext(added);
  CertCloseStore(store, 0);
  return ok;
}

int Usage() {
  std::fputs("usage: window_driver wait|gone|seen|press|keys|close|version|trust|distrust ...\n", stderr);
  return 2;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 3) return Usage();
  const std::wstring command = argv[1];
  const std::wstring title = argv[2];
  if (command == L"wait" && argc == 4) {
    return WaitFor(_wtof(argv[3]), [&] { return FindEnabledWindow(title) != nullptr; }) ? 0 : 1;
  }
  if (command == L"gone" && argc == 4) {
    return WaitFor(_wtof(argv[3]), [&] { return TopLevel(title).empty(); }) ? 0 : 1;
  }
  if (command == L"seen" && argc == 5) {
    return WaitFor(_wtof(argv[4]), [&] { return FindControl(title, argv[3], false) != nullptr; }) ? 0 : 1;
  }
  if (command == L"press" && argc == 5) {
    HWND button = nullptr;
    if (!WaitFor(_wtof(argv[4]), [&] { return (button = FindControl(title, argv[3], true)) != nullptr; })) {
      return 1;
    }
    Press(button);
    return 0;
  }
  if (command == L"keys" && argc >= 4) {
    std::vector<WORD> keys;
    for (int i = 3; i < argc; ++i) {
      keys.push_back(KeyCode(argv[i]));
      if (keys.back() == 0) return Usage();
    }
    HWND window = FindEnabledWindow(title);
    return window && TypeKeys(window, keys) ? 0 : 1;
  }
  if (command == L"close" && argc == 3) {
    for (HWND window : TopLevel(title)) PostMessageW(window, WM_CLOSE, 0, 0);
    return 0;
  }
  if (command == L"version" && argc == 3) return PrintVersion(title) ? 0 : 1;
  if ((command == L"trust" || command == L"distrust") && argc == 3) return Trust(title, command == L"trust") ? 0 : 1;
  return Usage();
}
