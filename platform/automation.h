// Automation (IDispatch) objects of another program, late-bound: every
// member is found by its name at the moment it is used, so any version of
// the program that answers to its class name will do. The mail client is
// the one the program drives this way.
#pragma once

#include <cstdint>
#include <string>

struct IDispatch;

namespace platform {

// A failed automation call: the COM result and the description the server
// or the system gives for it. cannot_create is set when the program's
// application object could not be made at all (not installed, not
// registered, its server missing).
struct AutomationError {
  std::int32_t number = 0;
  std::wstring description;
  bool cannot_create = false;
};

// One automation object, released when it goes. The calls throw
// AutomationError when the object refuses them.
class AutomationObject {
 public:
  AutomationObject() = default;
  explicit AutomationObject(IDispatch* dispatch) : dispatch_(dispatch) {}
  ~AutomationObject();
  AutomationObject(AutomationObject&& other) noexcept;
  AutomationObject& operator=(AutomationObject&& other) noexcept;
  AutomationObject(const AutomationObject&) = delete;
  AutomationObject& operator=(const AutomationObject&) = delete;

  bool exists() const { return dispatch_ != nullptr; }
  void Release();

  // A property read as text (numbers come out in their decimal form).
  std::wstring Text(const std::wstring& member) const;
  std::int32_t Number(const std::wstring& member) const;
  // A property or a method that gives an object, with no argument, a text
  // argument (GetNamespace("MAPI")) or a number argument (Item(1)).
  AutomationObject Object(const std::wstring& member) const;
  AutomationObject Object(const std::wstring& member, const std::wstring& argument) const;
  AutomationObject Object(const std::wstring& member, std::int32_t argument) const;

 private:
  IDispatch* dispatch_ = nullptr;
};

// Starts (or reaches) the program registered under class_name and gives its
// application object; cannot_create when there is none.
AutomationObject CreateAutomationObject(const std::wstring& class_name);

// Whether an instance of that program runs now (its application object is in
// the running object table). Any failure counts as not running.
bool AutomationObjectRunning(const std::wstring& class_name);

}  // namespace platform
