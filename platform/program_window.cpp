// A window property marks the program's window; a registered message asks
// it for a backup, answered in a subclass (SetWindowSubclass).
#include "platform/program_window.h"

#include <windows.h>
#include <commctrl.h>

#include "platform/form.h"
#include "platform/program.h"

namespace platform {
namespace {

constexpr UINT_PTR kSubclassId = 0x7A4B;
constexpr LRESULT kStarted = 1, kBusy = 2;

UINT BackupRequestMessage() {
  static const UINT message = RegisterWindowMessageW(L"Tavrik Backup: start a backup");
  return message;
}

std::wstring MarkName(const std::wstring& name) { return name + L" window"; }

struct Answer {
  std::wstring mark;
  std::function<bool()> start_backup;
};

LRESULT CALLBACK Subclass(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam, UINT_PTR,
                          DWORD_PTR data) {
  auto* answer = reinterpret_cast<Answer*>(data);
  if (msg == BackupRequestMessage()) return answer->start_backup() ? kStarted : kBusy;
  if (msg == WM_NCDESTROY) {
    RemovePropW(hwnd, answer->mark.c_str());
    RemoveWindowSubclass(hwnd, Subclass, kSubclassId);
    delete answer;
  }
  return DefSubclassProc(hwnd, msg, wparam, lparam);
}

HWND FindMarked(const std::wstring& name) {
  struct Search {
    std::wstring mark;
    DWORD own_process;
    HWND found = nullptr;
  } search{MarkName(name), GetCurrentProcessId()};
  EnumWindows(
      [](HWND hwnd, LPARAM param) -> BOOL {
        auto* search = reinterpret_cast<Search*>(param);
        DWORD process = 0;
        GetWindowThreadProcessId(hwnd, &process);
        if (process == search->own_process || !GetPropW(hwnd, search->mark.c_str())) return TRUE;
        search->found = hwnd;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

}  // namespace

void AnswerOtherStarts(const Form& window, const std::wstring& name,
                       std::function<bool()> start_backup) {
  auto* answer = new Answer{MarkName(name), std::move(start_backup)};
  SetPropW(window.handle(), answer->mark.c_str(), reinterpret_cast<HANDLE>(1));
  if (!SetWindowSubclass(window.handle(), Subclass, kSubclassId, reinterpret_cast<DWORD_PTR>(answer))) {
    RemovePropW(window.handle(), answer->mark.c_str());
    delete answer;
  }
}

bool BringProgramWindowForward(const std::wstring& name) {
  HWND window = FindMarked(name);
  if (!window) return false;
  if (IsIconic(window)) ShowWindow(window, SW_RESTORE);
  // The About window or a message box, when one is open over it.
  SetForegroundWindow(GetLastActivePopup(window));
  return true;
}

BackupHandOver HandBackupToProgramWindow(const std::wstring& name) {
  HWND window = FindMarked(name);
  if (!window) return BackupHandOver::kNoWindow;
  DWORD_PTR reply = 0;
  // A window that does not answer within the time is as good as busy.
  if (!SendMessageTimeoutW(window, BackupRequestMessage(), 0, 0, SMTO_ABORTIFHUNG, 10000, &reply))
    return BackupHandOver::kBusy;
  return reply == kStarted ? BackupHandOver::kStarted : BackupHandOver::kBusy;
}

void ShowProgramMessage(const std::wstring& text) {
  MessageBoxW(nullptr, text.c_str(), CurrentProgramFacts().title.c_str(), MB_OK | MB_ICONWARNING);
}

void ShowMinimizedWithoutFocus(const Form& window) {
  ShowWindow(window.handle(), SW_SHOWMINNOACTIVE);
}

}  // namespace platform
