// The taskbar through the shell's ITaskbarList3, and FlashWindowEx.
#include "platform/taskbar.h"

#include <windows.h>
#include <shobjidl.h>

#include <algorithm>

#include "platform/form.h"

namespace platform {
namespace {

// The shell's taskbar object, made at the first use on the window's thread
// and kept; null where there is none (no shell running).
ITaskbarList3* TaskbarList() {
  static ITaskbarList3* list = [] {
    ITaskbarList3* made = nullptr;
    if (FAILED(CoCreateInstance(CLSID_TaskbarList, nullptr, CLSCTX_INPROC_SERVER, IID_ITaskbarList3,
                                reinterpret_cast<void**>(&made))))
      return static_cast<ITaskbarList3*>(nullptr);
    if (FAILED(made->HrInit())) {
      made->Release();
      return static_cast<ITaskbarList3*>(nullptr);
    }
    return made;
  }();
  return list;
}

Taskbar*& Replacement() {
  static Taskbar* taskbar = nullptr;
  return taskbar;
}

}  // namespace

void Taskbar::SetProgress(const Form& window, double done, double total, bool failed) {
  ITaskbarList3* list = TaskbarList();
  if (!list) return;
  // The button counts in whole units; a byte count of any size fits.
  constexpr double kUnits = 1000000.0;
  const double share = total > 0 ? std::clamp(done / total, 0.0, 1.0) : 0.0;
  list->SetProgressState(window.handle(), failed ? TBPF_ERROR : TBPF_NORMAL);
  list->SetProgressValue(window.handle(), static_cast<ULONGLONG>(share * kUnits),
                         static_cast<ULONGLONG>(kUnits));
}

void Taskbar::ClearProgress(const Form& window) {
  if (ITaskbarList3* list = TaskbarList()) list->SetProgressState(window.handle(), TBPF_NOPROGRESS);
}

void Taskbar::Flash(const Form& window) {
  FLASHWINFO flash = {sizeof(flash), window.handle(), FLASHW_TRAY | FLASHW_TIMERNOFG, 0, 0};
  FlashWindowEx(&flash);
}

Taskbar& CurrentTaskbar() {
  static Taskbar real;
  return Replacement() ? *Replacement() : real;
}

void SetTaskbar(Taskbar* taskbar) { Replacement() = taskbar; }

}  // namespace platform
