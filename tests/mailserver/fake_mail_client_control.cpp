// The tests' side of the stand-in mail client: its configuration in the
// registry, its registration, and a running instance.
#include "mailserver/fake_mail_client.h"

#include <windows.h>

#include "support/build_path.h"

namespace fake_mail_client {
namespace {

const DWORD kWaitMs = 60000;  // a stuck tool fails the test instead of hanging it

void SetText(HKEY key, const wchar_t* name, const std::wstring& value) {
  RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                 static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

bool RunTool(const std::wstring& arguments) {
  std::wstring command = L"\"" + testing_support::BuildPath(TAVRIK_FAKE_MAIL_CLIENT_PATH) + L"\" " + arguments;
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process = {};
  if (!CreateProcessW(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &process))
    return false;
  bool done = WaitForSingleObject(process.hProcess, kWaitMs) == WAIT_OBJECT_0;
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return done;
}

}  // namespace

void Configure(const std::wstring& version, const std::vector<Store>& stores) {
  RemoveConfiguration();
  HKEY root = nullptr;
  RegCreateKeyExW(HKEY_CURRENT_USER, kConfigKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &root,
                  nullptr);
  SetText(root, L"Version", version);
  for (size_t n = 0; n < stores.size(); ++n) {
    HKEY store = nullptr;
    std::wstring name = L"Stores\\" + std::to_wstring(n + 1);
    RegCreateKeyExW(root, name.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &store, nullptr);
    SetText(store, L"Name", stores[n].name);
    SetText(store, L"StoreID", stores[n].store_id);
    RegCloseKey(store);
  }
  RegCloseKey(root);
}

void RemoveConfiguration() { RegDeleteTreeW(HKEY_CURRENT_USER, kConfigKey); }

std::wstring StoreIdForPath(const std::string& ansi_path, bool sixteen_bit) {
  std::string bytes("\x00\x00\x00\x00\x38\xA1\xBB\x10\x05\xE5\x10\x1A\xA1\xBB\x08\x00", 16);
  bytes += std::string("mspst.dll") + '\0';
  for (char c : ansi_path) {
    bytes += c;
    if (sixteen_bit) bytes += '\0';
  }
  bytes += std::string(sixteen_bit ? 2 : 1, '\0');
  static const wchar_t kDigits[] = L"0123456789ABCDEF";
  std::wstring hex;
  for (unsigned char b : bytes) {
    hex += kDigits[b >> 4];
    hex += kDigits[b & 0xF];
  }
  return hex;
}

bool Register() { return RunTool(L"/regserver"); }
bool Unregister() { return RunTool(L"/unregserver"); }

RunningInstance::RunningInstance() {
  static int counter = 0;
  std::wstring base = L"TavrikFakeMailClient-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                      std::to_wstring(++counter);
  std::wstring stop_name = base + L"-stop", ready_name = base + L"-ready";
  stop_event_ = CreateEventW(nullptr, TRUE, FALSE, stop_name.c_str());
  HANDLE ready = CreateEventW(nullptr, TRUE, FALSE, ready_name.c_str());
  std::wstring command = L"\"" + testing_support::BuildPath(TAVRIK_FAKE_MAIL_CLIENT_PATH) + L"\" /running " + stop_name + L" " +
                         ready_name;
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process = {};
  if (CreateProcessW(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                     &process)) {
    CloseHandle(process.hThread);
    process_ = process.hProcess;
    HANDLE either[] = {ready, process.hProcess};
    started_ = WaitForMultipleObjects(2, either, FALSE, kWaitMs) == WAIT_OBJECT_0;
  }
  CloseHandle(ready);
}

RunningInstance::~RunningInstance() { Stop(); }

void RunningInstance::Stop() {
  if (stop_event_) SetEvent(stop_event_);
  if (process_) {
    WaitForSingleObject(process_, kWaitMs);
    CloseHandle(process_);
  }
  if (stop_event_) CloseHandle(stop_event_);
  process_ = stop_event_ = nullptr;
}

}  // namespace fake_mail_client
