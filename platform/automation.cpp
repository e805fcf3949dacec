// Late-bound calls into another program's automation objects.
#include "platform/automation.h"

#include <windows.h>
#include <ole2.h>
#include <oleauto.h>

namespace platform {
namespace {

// A VARIANT that clears itself.
struct Variant {
  VARIANT value;
  Variant() { VariantInit(&value); }
  ~Variant() { VariantClear(&value); }
  Variant(const Variant&) = delete;
  Variant& operator=(const Variant&) = delete;
};

std::wstring SystemDescription(HRESULT result) {
  wchar_t* text = nullptr;
  FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                     FORMAT_MESSAGE_IGNORE_INSERTS,
                 nullptr, static_cast<DWORD>(result), 0, reinterpret_cast<LPWSTR>(&text), 0,
                 nullptr);
  std::wstring description = text ? text : L"Automation error";
  LocalFree(text);
  while (!description.empty() && (description.back() == L'\n' || description.back() == L'\r'))
    description.pop_back();
  return description;
}

[[noreturn]] void Fail(HRESULT result, bool cannot_create = false) {
  throw AutomationError{static_cast<std::int32_t>(result), SystemDescription(result), cannot_create};
}

// The server's own account of an exception it raised.
[[noreturn]] void FailWith(EXCEPINFO& info) {
  if (info.pfnDeferredFillIn) info.pfnDeferredFillIn(&info);
  HRESULT code = info.scode ? info.scode : DISP_E_EXCEPTION;
  std::wstring description = info.bstrDescription ? info.bstrDescription : SystemDescription(code);
  SysFreeString(info.bstrSource);
  SysFreeString(info.bstrDescription);
  SysFreeString(info.bstrHelpFile);
  throw AutomationError{static_cast<std::int32_t>(code), description, false};
}

// The results that mean the program is not there to start.
bool MeansNotInstalled(HRESULT result) {
  switch (result) {
    case CO_E_CLASSSTRING:
    case REGDB_E_CLASSNOTREG:
    case REGDB_E_READREGDB:
    case REGDB_E_KEYMISSING:
    case CO_E_SERVER_EXEC_FAILURE:
    case CO_E_APPNOTFOUND:
    case CO_E_DLLNOTFOUND:
    case CO_E_ERRORINDLL:
    case E_NOINTERFACE:
    case HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND):
    case HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND):
    case HRESULT_FROM_WIN32(ERROR_BAD_EXE_FORMAT):
      return true;
    default:
      return false;
  }
}

void Call(IDispatch* dispatch, const std::wstring& member, VARIANT* arguments, UINT count,
          VARIANT* result) {
  if (!dispatch) Fail(E_POINTER);
  DISPID id = 0;
  LPOLESTR name = const_cast<LPOLESTR>(member.c_str());
  HRESULT found = dispatch->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &id);
  if (FAILED(found)) Fail(found);
  DISPPARAMS parameters = {arguments, nullptr, count, 0};
  EXCEPINFO info = {};
  HRESULT called = dispatch->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT,
                                    DISPATCH_METHOD | DISPATCH_PROPERTYGET, &parameters, result,
                                    &info, nullptr);
  if (called == DISP_E_EXCEPTION) FailWith(info);
  if (FAILED(called)) Fail(called);
}

void ChangeType(Variant& variant, VARTYPE type) {
  HRESULT changed = VariantChangeType(&variant.value, &variant.value, 0, type);
  if (FAILED(changed)) Fail(changed);
}

AutomationObject ObjectFrom(Variant& result) {
  ChangeType(result, VT_DISPATCH);
  IDispatch* dispatch = V_DISPATCH(&result.value);
  if (!dispatch) Fail(E_POINTER);
  dispatch->AddRef();
  return AutomationObject(dispatch);
}

}  // namespace

AutomationObject::~AutomationObject() { Release(); }

AutomationObject::AutomationObject(AutomationObject&& other) noexcept : dispatch_(other.dispatch_) {
  other.dispatch_ = nullptr;
}

AutomationObject& AutomationObject::operator=(AutomationObject&& other) noexcept {
  if (this != &other) {
    Release();
    dispatch_ = other.dispatch_;
    other.dispatch_ = nullptr;
  }
  return *this;
}

void AutomationObject::Release() {
  if (dispatch_) dispatch_->Release();
  dispatch_ = nullptr;
}

std::wstring AutomationObject::Text(const std::wstring& member) const {
  Variant result;
  Call(dispatch_, member, nullptr, 0, &result.value);
  ChangeType(result, VT_BSTR);
  BSTR text = V_BSTR(&result.value);
  return text ? std::wstring(text, SysStringLen(text)) : std::wstring();
}

std::int32_t AutomationObject::Number(const std::wstring& member) const {
  Variant result;
  Call(dispatch_, member, nullptr, 0, &result.value);
  ChangeType(result, VT_I4);
  return V_I4(&result.value);
}

AutomationObject AutomationObject::Object(const std::wstring& member) const {
  Variant result;
  Call(dispatch_, member, nullptr, 0, &result.value);
  return ObjectFrom(result);
}

AutomationObject AutomationObject::Object(const std::wstring& member,
                                          const std::wstring& argument) const {
  Variant text;
  V_VT(&text.value) = VT_BSTR;
  V_BSTR(&text.value) = SysAllocStringLen(argument.data(), static_cast<UINT>(argument.size()));
  Variant result;
  Call(dispatch_, member, &text.value, 1, &result.value);
  return ObjectFrom(result);
}

AutomationObject AutomationObject::Object(const std::wstring& member, std::int32_t argument) const {
  Variant number;
  V_VT(&number.value) = VT_I4;
  V_I4(&number.value) = argument;
  Variant result;
  Call(dispatch_, member, &number.value, 1, &result.value);
  return ObjectFrom(result);
}

AutomationObject CreateAutomationObject(const std::wstring& class_name) {
  CLSID clsid;
  HRESULT found = CLSIDFromProgID(class_name.c_str(), &clsid);
  if (FAILED(found)) Fail(found, MeansNotInstalled(found));
  IDispatch* application = nullptr;
  HRESULT created = CoCreateInstance(clsid, nullptr, CLSCTX_LOCAL_SERVER | CLSCTX_INPROC_SERVER,
                                     IID_IDispatch, reinterpret_cast<void**>(&application));
  if (FAILED(created)) Fail(created, MeansNotInstalled(created));
  return AutomationObject(application);
}

bool AutomationObjectRunning(const std::wstring& class_name) {
  CLSID clsid;
  if (FAILED(CLSIDFromProgID(class_name.c_str(), &clsid))) return false;
  IUnknown* running = nullptr;
  if (FAILED(GetActiveObject(clsid, nullptr, &running)) || !running) return false;
  running->Release();
  return true;
}

}  // namespace platform
