// The user's scheduled task through ITaskService.
#include "platform/scheduled_task.h"

#include <windows.h>
#include <ole2.h>
#include <sddl.h>
#include <taskschd.h>

#include <cstdint>
#include <cwchar>
#include <vector>

namespace platform {
namespace {

// Releases what it holds when it goes.
template <typename Interface>
class Held {
 public:
  Held() = default;
  Held(const Held&) = delete;
  Held& operator=(const Held&) = delete;
  ~Held() {
    if (pointer_) pointer_->Release();
  }
  Interface* operator->() const { return pointer_; }
  Interface** out() { return &pointer_; }
  void** void_out() { return reinterpret_cast<void**>(&pointer_); }

 private:
  Interface* pointer_ = nullptr;
};

// A BSTR for the length of one call.
class Text {
 public:
  explicit Text(const std::wstring& text) : bstr_(SysAllocStringLen(text.data(), static_cast<UINT>(text.size()))) {}
  ~Text() { SysFreeString(bstr_); }
  Text(const Text&) = delete;
  Text& operator=(const Text&) = delete;
  operator BSTR() const { return bstr_; }

 private:
  BSTR bstr_;
};

// COM for this thread while a call runs; a thread that has it keeps it.
class ComScope {
 public:
  ComScope() : result_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
  ~ComScope() {
    if (SUCCEEDED(result_)) CoUninitialize();
  }

 private:
  HRESULT result_;
};

VARIANT Empty() {
  VARIANT empty;
  VariantInit(&empty);
  return empty;
}

// The system's words for a failure; the scheduler's own failures are worded
// in its library.
std::wstring ErrorText(HRESULT result) {
  wchar_t* words = nullptr;
  const DWORD flags = FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS;
  DWORD length = FormatMessageW(flags | FORMAT_MESSAGE_FROM_SYSTEM, nullptr, result, 0,
                                reinterpret_cast<wchar_t*>(&words), 0, nullptr);
  if (length == 0) {
    if (HMODULE library = LoadLibraryExW(L"taskschd.dll", nullptr, LOAD_LIBRARY_AS_DATAFILE)) {
      length = FormatMessageW(flags | FORMAT_MESSAGE_FROM_HMODULE, library, result, 0,
                              reinterpret_cast<wchar_t*>(&words), 0, nullptr);
      FreeLibrary(library);
    }
  }
  std::wstring text(words ? words : L"", length);
  LocalFree(words);
  while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' '))
    text.pop_back();
  wchar_t code[16];
  std::swprintf(code, 16, L"0x%08lX", static_cast<unsigned long>(result));
  return text.empty() ? std::wstring(code) : text + L" (" + code + L")";
}

// The local scheduler, connected as the signed-in user.
HRESULT Connect(Held<ITaskService>& service) {
  HRESULT result = CoCreateInstance(CLSID_TaskScheduler, nullptr, CLSCTX_INPROC_SERVER,
                                    IID_ITaskService, service.void_out());
  if (FAILED(result)) return result;
  return service->Connect(Empty(), Empty(), Empty(), Empty());
}

// Lets every signed-in user add a task of their own to the folder (each
// user of the PC schedules their own backups in it); the system, the
// administrators and each task's creator keep full control.
constexpr wchar_t kFolderSecurity[] =
    L"D:(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)(A;OICI;FA;;;CO)(A;;FRFW;;;AU)";

}  // namespace

std::wstring RegisterTask(const std::wstring& folder_path, const std::wstring& name,
                          const std::wstring& xml, const std::wstring& user_id) {
  ComScope com;
  Held<ITaskService> service;
  HRESULT result = Connect(service);
  Held<ITaskFolder> folder;
  if (SUCCEEDED(result) && FAILED(service->GetFolder(Text(folder_path), folder.out()))) {
    Held<ITaskFolder> root;
    result = service->GetFolder(Text(L"\\"), root.out());
    VARIANT security = Empty();
    security.vt = VT_BSTR;
    security.bstrVal = SysAllocString(kFolderSecurity);
    if (SUCCEEDED(result)) result = root->CreateFolder(Text(folder_path), security, folder.out());
    VariantClear(&security);
  }
  if (FAILED(result)) return ErrorText(result);
  VARIANT user = Empty();
  user.vt = VT_BSTR;
  user.bstrVal = SysAllocString(user_id.c_str());
  Held<IRegisteredTask> task;
  result = folder->RegisterTask(Text(name), Text(xml), TASK_CREATE_OR_UPDATE, user, Empty(),
                                TASK_LOGON_INTERACTIVE_TOKEN, Empty(), task.out());
  VariantClear(&user);
  return FAILED(result) ? ErrorText(result) : L"";
}

std::wstring DeleteTask(const std::wstring& folder_path, const std::wstring& name) {
  ComScope com;
  Held<ITaskService> service;
  HRESULT result = Connect(service);
  if (FAILED(result)) return ErrorText(result);
  Held<ITaskFolder> folder;
  if (FAILED(service->GetFolder(Text(folder_path), folder.out()))) return L"";  // nothing there
  Held<IRegisteredTask> task;
  if (SUCCEEDED(folder->GetTask(Text(name), task.out()))) {
    result = folder->DeleteTask(Text(name), 0);
    if (FAILED(result)) return ErrorText(result);
  }
  // The folder goes once it is empty; another user's task keeps it.
  Held<IRegisteredTaskCollection> tasks;
  Held<ITaskFolderCollection> folders;
  LONG task_count = 1, folder_count = 1;
  if (SUCCEEDED(folder->GetTasks(TASK_ENUM_HIDDEN, tasks.out()))) tasks->get_Count(&task_count);
  if (SUCCEEDED(folder->GetFolders(0, folders.out()))) folders->get_Count(&folder_count);
  Held<ITaskFolder> root;
  if (task_count == 0 && folder_count == 0 && SUCCEEDED(service->GetFolder(Text(L"\\"), root.out())))
    root->DeleteFolder(Text(folder_path), 0);
  return L"";
}

bool TaskRegistered(const std::wstring& folder_path, const std::wstring& name) {
  ComScope com;
  Held<ITaskService> service;
  Held<ITaskFolder> folder;
  Held<IRegisteredTask> task;
  return SUCCEEDED(Connect(service)) &&
         SUCCEEDED(service->GetFolder(Text(folder_path), folder.out())) &&
         SUCCEEDED(folder->GetTask(Text(name), task.out()));
}

std::wstring CurrentUserSid() {
  HANDLE token = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return L"";
  std::wstring sid;
  DWORD size = 0;
  GetTokenInformation(token, TokenUser, nullptr, 0, &size);
  std::vector<std::uint64_t> buffer(size / sizeof(std::uint64_t) + 1);  // aligned for TOKEN_USER
  wchar_t* text = nullptr;
  if (size > 0 && GetTokenInformation(token, TokenUser, buffer.data(), size, &size) &&
      ConvertSidToStringSidW(reinterpret_cast<TOKEN_USER*>(buffer.data())->User.Sid, &text)) {
    sid = text;
    LocalFree(text);
  }
  CloseHandle(token);
  return sid;
}

}  // namespace platform
