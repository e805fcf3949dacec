// A named mutex that one program's runs share, so that only one of them
// writes the target and the settings file at a time. Ownership is the
// thread's that took it, as with every Win32 mutex; a process that ends
// without letting go gives it up to the next taker.
#pragma once

#include <string>

namespace platform {

class RunLock {
 public:
  explicit RunLock(std::wstring name) : name_(std::move(name)) {}
  ~RunLock() { Release(); }
  RunLock(const RunLock&) = delete;
  RunLock& operator=(const RunLock&) = delete;

  // Takes the mutex without waiting; false when another thread, in this
  // process or another, holds it. The thread that holds it may take it again.
  bool TryHold();
  void Release();
  bool held() const { return handle_ != nullptr; }

 private:
  std::wstring name_;
  void* handle_ = nullptr;
};

}  // namespace platform
