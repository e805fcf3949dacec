// Arguments, the machine's registry, elevated starts and their ends,
// administrators' folders and file copies over the shell, advapi32 and
// kernel32.
#include "platform/elevation.h"

#include <windows.h>
#include <aclapi.h>
#include <objbase.h>
#include <sddl.h>
#include <shellapi.h>

#include <thread>

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

// The prompt, the wait for the program's end and its exit code all happen
// on a thread of their own, which holds the process handle and closes it:
// the window's thread never waits for the user's answer or the program.
void StartElevated(const std::wstring& program, const std::wstring& parameters, const Form& owner,
                   std::function<void(std::optional<unsigned long> exit_code)> ended) {
  const HWND owner_window = owner.handle();
  const Mailbox mailbox = owner.mailbox();
  std::thread([program, parameters, owner_window, mailbox, ended = std::move(ended)] {
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    SHELLEXECUTEINFOW info = {sizeof info};
    info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI;
    info.hwnd = owner_window;
    info.lpVerb = L"runas";
    info.lpFile = program.c_str();
    info.lpParameters = parameters.c_str();
    info.nShow = SW_SHOWNORMAL;
    std::optional<unsigned long> exit_code;
    if (ShellExecuteExW(&info) && info.hProcess) {
      DWORD code = 0;
      if (WaitForSingleObject(info.hProcess, INFINITE) == WAIT_OBJECT_0 &&
          GetExitCodeProcess(info.hProcess, &code)) {
        exit_code = code;
      }
      CloseHandle(info.hProcess);
    }
    if (SUCCEEDED(com)) CoUninitialize();
    mailbox.Post([ended, exit_code] { ended(exit_code); });
  }).detach();
}

bool MakeAdministratorsFolder(const std::wstring& path) {
  // Protected from what the parent folder grants: the system and the
  // administrators in full, no one else at all.
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(
          L"D:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)", SDDL_REVISION_1, &descriptor, nullptr)) {
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

namespace {

std::wstring SidText(PSID sid) {
  wchar_t* text = nullptr;
  if (!sid || !ConvertSidToStringSidW(sid, &text)) return L"";
  std::wstring result = text;
  LocalFree(text);
  return result;
}

}  // namespace

FolderRights RightsOfDescriptor(const void* descriptor) {
  const auto sd = const_cast<PSECURITY_DESCRIPTOR>(descriptor);
  FolderRights rights;
  PSID owner = nullptr;
  BOOL defaulted = FALSE, present = FALSE;
  if (GetSecurityDescriptorOwner(sd, &owner, &defaulted)) rights.owner = SidText(owner);
  PACL list = nullptr;
  if (!GetSecurityDescriptorDacl(sd, &present, &list, &defaulted) || !present || !list) return rights;
  rights.has_list = true;
  for (DWORD i = 0; i < list->AceCount; ++i) {
    void* ace = nullptr;
    if (!GetAce(list, i, &ace)) continue;
    const BYTE type = static_cast<ACE_HEADER*>(ace)->AceType;
    // Every kind keeps its rights in the same place; the plain and callback
    // kinds keep the account next. Any other kind counts as allowing
    // whatever it names to an account that is none of the trusted.
    AccessEntry entry;
    entry.rights = static_cast<ACCESS_ALLOWED_ACE*>(ace)->Mask;
    entry.denies = type == ACCESS_DENIED_ACE_TYPE || type == ACCESS_DENIED_CALLBACK_ACE_TYPE;
    if (type == ACCESS_ALLOWED_ACE_TYPE || type == ACCESS_ALLOWED_CALLBACK_ACE_TYPE || entry.denies)
      entry.account = SidText(&static_cast<ACCESS_ALLOWED_ACE*>(ace)->SidStart);
    rights.entries.push_back(entry);
  }
  return rights;
}

std::optional<FolderRights> ReadFolderRights(const std::wstring& path) {
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  if (GetNamedSecurityInfoW(LongPath(path).c_str(), SE_FILE_OBJECT,
                            OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION, nullptr, nullptr,
                            nullptr, nullptr, &descriptor) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  FolderRights rights = RightsOfDescriptor(descriptor);
  LocalFree(descriptor);
  return rights;
}

ReadOnlyHold::ReadOnlyHold(const std::wstring& path)
    : handle_(CreateFileW(LongPath(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                          FILE_ATTRIBUTE_NORMAL, nullptr)) {}

ReadOnlyHold::~ReadOnlyHold() {
  if (held()) CloseHandle(handle_);
}

bool ReadOnlyHold::held() const { return handle_ != INVALID_HANDLE_VALUE; }

bool CopyFileOver(const std::wstring& source, const std::wstring& destination) {
  return CopyFileW(LongPath(source).c_str(), LongPath(destination).c_str(), FALSE) != FALSE;
}

}  // namespace platform
