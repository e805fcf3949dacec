// The shell's open verb, the message box and the folder picker.
#include "platform/shell.h"

#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include "platform/control.h"
#include "platform/program.h"

namespace platform {

int ShellOpen(const std::wstring& file, const std::wstring* parameters,
              const std::wstring* directory) {
  HINSTANCE result = ShellExecuteW(nullptr, L"open", file.c_str(),
                                   parameters ? parameters->c_str() : nullptr,
                                   directory ? directory->c_str() : nullptr, SW_SHOWNORMAL);
  return static_cast<int>(reinterpret_cast<INT_PTR>(result));
}

void Dialogs::MessageBoxOk(const Control& owner, const std::wstring& text) {
  MessageBoxW(owner.handle(), text.c_str(), CurrentProgramFacts().title.c_str(), MB_OK);
}

std::optional<std::wstring> Dialogs::BrowseForFolder(const Control& owner,
                                                     const std::wstring& title) {
  BROWSEINFOW info = {};
  info.hwndOwner = owner.handle();
  info.lpszTitle = title.c_str();
  info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE | BIF_NONEWFOLDERBUTTON | BIF_SHAREABLE;
  PIDLIST_ABSOLUTE chosen = SHBrowseForFolderW(&info);
  if (!chosen) return std::nullopt;
  std::wstring path(32768, L'\0');
  bool ok = SHGetPathFromIDListEx(chosen, &path[0], static_cast<DWORD>(path.size()), GPFIDL_DEFAULT);
  CoTaskMemFree(chosen);
  if (!ok) return std::nullopt;
  path.resize(wcslen(path.c_str()));
  return path;
}

namespace {
Dialogs g_system_dialogs;
Dialogs* g_dialogs = &g_system_dialogs;
}  // namespace

Dialogs& CurrentDialogs() { return *g_dialogs; }

void SetDialogs(Dialogs* dialogs) { g_dialogs = dialogs ? dialogs : &g_system_dialogs; }

}  // namespace platform
