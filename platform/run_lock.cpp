// The run lock: CreateMutexW and a wait of no time.
#include "platform/run_lock.h"

#include <windows.h>

namespace platform {

bool RunLock::TryHold() {
  if (handle_) return true;
  HANDLE mutex = CreateMutexW(nullptr, FALSE, name_.c_str());
  if (!mutex) return false;
  const DWORD waited = WaitForSingleObject(mutex, 0);
  // An abandoned mutex: the run that held it was killed; its leftovers are
  // what any killed run leaves, and this run may go.
  if (waited != WAIT_OBJECT_0 && waited != WAIT_ABANDONED) {
    CloseHandle(mutex);
    return false;
  }
  handle_ = mutex;
  return true;
}

void RunLock::Release() {
  if (!handle_) return;
  ReleaseMutex(handle_);
  CloseHandle(handle_);
  handle_ = nullptr;
}

}  // namespace platform
