// Arguments, the machine's registry, elevated starts and their ends,
// administrators' folders and file copies over the shell, advapi32 and
// kernel32.
#include "platform/elevation.h"

#include <windows.h>
#include <sddl.h>
#include <shellapi.h>

#include "platform/files.h"

namespace platform {

std::vector<std::wstring> ProgramArguments() {
  int count = 0;
  LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
  std::vector<std::wstring> result;
  for (int i = 1; arguments && i < count; ++i) result.push_back(arguments[i]);
  if (arguments) LocalFree(arguments);
  return result;
}

std::wstring MachineRegistryText(const std::wstring& key, const std::wstring& value) {
  DWORD size = 0;
  // The program is 64-bit: its view of the registry is the 64-bit one.
  const DWORD flags = RRF_RT_REG_SZ;
  if (RegGetValueW(HKEY_LOCAL_MACHINE, key.c_str(), value.c_str(), flags, nullptr, nullptr, &size) !=
          ERROR_SUCCESS ||
      size < sizeof(wchar_t)) {
    return L"";
  }
  std::wstring text(size / sizeof(wchar_t), L'\0');
  if (RegGetValueW(HKEY_LOCAL_MACHINE, key.c_str(), value.c_str(), flags, nullptr, &text[0], &size) !=
      ERROR_SUCCESS) {
    return L"";
  }
  text.resize(wcslen(text.c_str()));
  return text;
}

namespace {

// An elevated program being waited for; freed on the window's thread.
struct ElevatedWait {
  HANDLE process = nullptr;
  HANDLE wait = nullptr;
  Mailbox mailbox;
  std::function<void(std::optional<unsigned long>)> ended;
};

void CALLBACK OnElevatedEnd(void* context, BOOLEAN) {
  auto* waiting = static_cast<ElevatedWait*>(context);
  waiting->mailbox.Post([waiting] {
    // The callback has run, so this returns at once.
    UnregisterWaitEx(waiting->wait, INVALID_HANDLE_VALUE);
    DWORD code = 0;
    std::optional<unsigned long> exit_code;
    if (GetExitCodeProcess(waiting->process, &code)) exit_code = code;
    CloseHandle(waiting->process);
    const auto ended = std::move(waiting->ended);
    delete waiting;
    ended(exit_code);
  });
}

}  // namespace

bool StartElevated(const std::wstring& program, const std::wstring& parameters, const Mailbox& mailbox,
                   std::function<void(std::optional<unsigned long> exit_code)> ended) {
  SHELLEXECUTEINFOW info = {sizeof info};
  info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI;
  info.lpVerb = L"runas";
  info.lpFile = program.c_str();
  info.lpParameters = parameters.c_str();
  info.nShow = SW_SHOWNORMAL;
  if (!ShellExecuteExW(&info) || !info.hProcess) return false;
  auto* waiting = new ElevatedWait{info.hProcess, nullptr, mailbox, std::move(ended)};
  if (!RegisterWaitForSingleObject(&waiting->wait, info.hProcess, OnElevatedEnd, waiting, INFINITE,
                                   WT_EXECUTEONLYONCE)) {
    CloseHandle(info.hProcess);
    delete waiting;
    return false;
  }
  return true;
}

bool MakeAdministratorsFolder(const std::wstring& path) {
  // Protected from what the parent folder grants: the system and the
  // administrators in full, everyone else to read and run.
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(
          L"D:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)(A;OICI;GRGX;;;BU)(A;OICI;GRGX;;;WD)", SDDL_REVISION_1,
          &descriptor, nullptr)) {
    return false;
  }
  SECURITY_ATTRIBUTES attributes = {sizeof attributes, descriptor, FALSE};
  const std::wstring long_path = LongPath(path);
  bool ok = CreateDirectoryW(long_path.c_str(), &attributes) != FALSE;
  // One that is there already gets the same rights, unless it is no plain
  // folder (a link could lead anywhere).
  if (!ok && GetLastError() == ERROR_ALREADY_EXISTS) {
    const DWORD found = GetFileAttributesW(long_path.c_str());
    ok = found != INVALID_FILE_ATTRIBUTES && (found & FILE_ATTRIBUTE_DIRECTORY) &&
         !(found & FILE_ATTRIBUTE_REPARSE_POINT) &&
         SetFileSecurityW(long_path.c_str(), DACL_SECURITY_INFORMATION, descriptor);
  }
  LocalFree(descriptor);
  return ok;
}

bool CopyFileOver(const std::wstring& source, const std::wstring& destination) {
  return CopyFileW(LongPath(source).c_str(), LongPath(destination).c_str(), FALSE) != FALSE;
}

}  // namespace platform
