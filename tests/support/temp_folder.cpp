#include "support/temp_folder.h"

#include <windows.h>

#include <stdexcept>

#include "support/window_input.h"

namespace testing_support {

TempFolder::TempFolder() {
  static int counter = 0;
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  path_ = std::wstring(temp) + L"tavrik-test-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
          std::to_wstring(++counter);
  RemoveTree(path_);
  MakeFolders(path_);
}

TempFolder::~TempFolder() { RemoveTree(path_); }

void MakeFolders(const std::wstring& path) {
  for (size_t i = 3; i <= path.size(); ++i) {
    if (i == path.size() || path[i] == L'\\')
      CreateDirectoryW(platform::LongPath(path.substr(0, i)).c_str(), nullptr);
  }
}

void WriteFile(const std::wstring& path, const std::string& bytes) {
  size_t slash = path.find_last_of(L'\\');
  if (slash != std::wstring::npos) MakeFolders(path.substr(0, slash));
  HANDLE file = CreateFileW(platform::LongPath(path).c_str(), GENERIC_WRITE, 0, nullptr,
                            CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) throw std::runtime_error("cannot create test file");
  DWORD written = 0;
  ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(file);
}

void SetAttributes(const std::wstring& path, std::uint32_t attributes) {
  SetFileAttributesW(platform::LongPath(path).c_str(), attributes);
}

void RemoveTree(const std::wstring& path) {
  platform::FileSearch search(path + L"\\*");
  if (search.found()) {
    do {
      const auto& entry = search.entry();
      if (entry.name == L"." || entry.name == L"..") continue;
      std::wstring child = path + L"\\" + entry.name;
      SetFileAttributesW(platform::LongPath(child).c_str(), FILE_ATTRIBUTE_NORMAL);
      entry.is_directory() ? RemoveTree(child) : void(DeleteFileW(platform::LongPath(child).c_str()));
    } while (search.Next());
  }
  search.Close();
  RemoveDirectoryW(platform::LongPath(path).c_str());
}

bool RunInLinuxShell(const std::wstring& folder, const std::string& command) {
  using UnixName = char*(CDECL*)(const wchar_t*);
  auto unix_name = reinterpret_cast<UnixName>(
      GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name"));
  if (!unix_name) return false;
  char* name = unix_name(folder.c_str());
  if (!name) return false;
  // Wine gives no handle to wait on for a Linux program: the command leaves
  // a mark when it is through.
  const std::string mark = ".shell-done";
  std::string script = "cd '" + std::string(name) + "' && " + command + " && touch " + mark;
  HeapFree(GetProcessHeap(), 0, name);
  std::wstring line = L"/bin/sh -c \"" + platform::FromAnsi(script) + L"\"";
  STARTUPINFOW startup{sizeof startup};
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &process))
    return false;
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  const std::wstring mark_path = folder + L"\\" + platform::FromAnsi(mark);
  PumpUntil([&] { return platform::FileExists(mark_path); }, 15000);
  return platform::DeleteFileAt(mark_path);
}

}  // namespace testing_support
