// A control's accessible object: the system's own (CreateStdAccessibleObject,
// which knows buttons, edits and statics), with the name, description, role
// and default action the program gives answered first. Answered through
// WM_GETOBJECT, which screen readers on Windows and AccessibleObjectFromWindow
// everywhere ask.
#include "platform/accessible.h"

#include <oleacc.h>

#include "platform/control.h"

namespace platform {
namespace {

// The live setting of UI Automation, set on a window through the system's
// annotation service; polite waits until the reader is done speaking.
const GUID kLiveSettingProperty = {0xc12bcd8e, 0x2a8e, 0x4950,
                                   {0x8a, 0xe7, 0x36, 0x25, 0x11, 0x1d, 0x58, 0xeb}};
constexpr int kPolite = 1;
// The system's annotation service (oleacc's CAccPropServices).
const CLSID kAnnotationService = {0xb5f8350b, 0x0548, 0x48b1,
                                  {0xa6, 0xee, 0x88, 0xbd, 0x00, 0xb4, 0xa5, 0xe7}};
#ifndef EVENT_OBJECT_LIVEREGIONCHANGED
constexpr DWORD EVENT_OBJECT_LIVEREGIONCHANGED = 0x8019;
#endif

LONG SystemRole(AccessibleRole role) {
  switch (role) {
    case AccessibleRole::kPushButton: return ROLE_SYSTEM_PUSHBUTTON;
    case AccessibleRole::kCheckBox: return ROLE_SYSTEM_CHECKBUTTON;
    case AccessibleRole::kRadioButton: return ROLE_SYSTEM_RADIOBUTTON;
    case AccessibleRole::kText: return ROLE_SYSTEM_TEXT;
    case AccessibleRole::kStaticText: return ROLE_SYSTEM_STATICTEXT;
    case AccessibleRole::kLink: return ROLE_SYSTEM_LINK;
    case AccessibleRole::kPicture: return ROLE_SYSTEM_GRAPHIC;
    case AccessibleRole::kProgressBar: return ROLE_SYSTEM_PROGRESSBAR;
    case AccessibleRole::kScrollBar: return ROLE_SYSTEM_SCROLLBAR;
    case AccessibleRole::kGrouping: return ROLE_SYSTEM_GROUPING;
    case AccessibleRole::kSystem: break;
  }
  return 0;
}

bool IsSelf(const VARIANT& child) { return child.vt == VT_I4 && child.lVal == CHILDID_SELF; }

HRESULT Text(const std::wstring& text, BSTR* out) {
  *out = nullptr;
  if (text.empty()) return S_FALSE;
  *out = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
  return *out ? S_OK : E_OUTOFMEMORY;
}

// What the system says, with the control's own facts first. The control is
// looked up at each question: a reader may hold the object after the
// window has gone, and then hears only the system.
class ControlAccessible final : public IAccessible {
 public:
  ControlAccessible(HWND hwnd, IAccessible* system) : hwnd_(hwnd), system_(system) {}
  ~ControlAccessible() { system_->Release(); }

  STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
    if (iid == IID_IUnknown || iid == IID_IDispatch || iid == IID_IAccessible) {
      *out = static_cast<IAccessible*>(this);
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return InterlockedIncrement(&references_); }
  STDMETHODIMP_(ULONG) Release() override {
    const LONG left = InterlockedDecrement(&references_);
    if (left == 0) delete this;
    return left;
  }

  STDMETHODIMP GetTypeInfoCount(UINT* count) override { return system_->GetTypeInfoCount(count); }
  STDMETHODIMP GetTypeInfo(UINT n, LCID locale, ITypeInfo** info) override {
    return system_->GetTypeInfo(n, locale, info);
  }
  STDMETHODIMP GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID locale,
                             DISPID* ids) override {
    return system_->GetIDsOfNames(iid, names, count, locale, ids);
  }
  STDMETHODIMP Invoke(DISPID id, REFIID iid, LCID locale, WORD flags, DISPPARAMS* parameters,
                      VARIANT* result, EXCEPINFO* exception, UINT* wrong_argument) override {
    return system_->Invoke(id, iid, locale, flags, parameters, result, exception, wrong_argument);
  }

  STDMETHODIMP get_accParent(IDispatch** parent) override { return system_->get_accParent(parent); }
  STDMETHODIMP get_accChildCount(LONG* count) override { return system_->get_accChildCount(count); }
  STDMETHODIMP get_accChild(VARIANT child, IDispatch** out) override {
    return system_->get_accChild(child, out);
  }
  STDMETHODIMP get_accName(VARIANT child, BSTR* name) override {
    const Control* control = Self(child);
    return control ? Text(control->accessible_name(), name) : system_->get_accName(child, name);
  }
  STDMETHODIMP get_accValue(VARIANT child, BSTR* value) override {
    return system_->get_accValue(child, value);
  }
  STDMETHODIMP get_accDescription(VARIANT child, BSTR* description) override {
    const Control* control = Self(child);
    if (control && !control->accessible_description().empty())
      return Text(control->accessible_description(), description);
    return system_->get_accDescription(child, description);
  }
  STDMETHODIMP get_accRole(VARIANT child, VARIANT* role) override {
    const Control* control = Self(child);
    if (!control || !SystemRole(control->accessible_role())) return system_->get_accRole(child, role);
    role->vt = VT_I4;
    role->lVal = SystemRole(control->accessible_role());
    return S_OK;
  }
  STDMETHODIMP get_accState(VARIANT child, VARIANT* state) override;
  STDMETHODIMP get_accHelp(VARIANT child, BSTR* help) override { return system_->get_accHelp(child, help); }
  STDMETHODIMP get_accHelpTopic(BSTR* file, VARIANT child, LONG* topic) override {
    return system_->get_accHelpTopic(file, child, topic);
  }
  STDMETHODIMP get_accKeyboardShortcut(VARIANT child, BSTR* keys) override {
    return system_->get_accKeyboardShortcut(child, keys);
  }
  STDMETHODIMP get_accFocus(VARIANT* child) override { return system_->get_accFocus(child); }
  STDMETHODIMP get_accSelection(VARIANT* children) override {
    return system_->get_accSelection(children);
  }
  STDMETHODIMP get_accDefaultAction(VARIANT child, BSTR* action) override {
    const Control* control = Self(child);
    if (control && !control->default_action().empty()) return Text(control->default_action(), action);
    return system_->get_accDefaultAction(child, action);
  }
  STDMETHODIMP accSelect(LONG flags, VARIANT child) override { return system_->accSelect(flags, child); }
  STDMETHODIMP accLocation(LONG* left, LONG* top, LONG* width, LONG* height,
                           VARIANT child) override {
    return system_->accLocation(left, top, width, height, child);
  }
  STDMETHODIMP accNavigate(LONG direction, VARIANT start, VARIANT* end) override {
    return system_->accNavigate(direction, start, end);
  }
  STDMETHODIMP accHitTest(LONG x, LONG y, VARIANT* child) override {
    return system_->accHitTest(x, y, child);
  }
  STDMETHODIMP accDoDefaultAction(VARIANT child) override {
    Control* control = Self(child);
    if (!control || control->default_action().empty()) return system_->accDoDefaultAction(child);
    control->DoDefaultAction();
    return S_OK;
  }
  STDMETHODIMP put_accName(VARIANT child, BSTR name) override { return system_->put_accName(child, name); }
  STDMETHODIMP put_accValue(VARIANT child, BSTR value) override {
    return system_->put_accValue(child, value);
  }

 private:
  Control* Self(const VARIANT& child) const {
    return IsSelf(child) && IsWindow(hwnd_) ? Control::FromHandle(hwnd_) : nullptr;
  }

  LONG references_ = 1;
  HWND hwnd_;
  IAccessible* system_;
};

// The system's state, made sure of what it may not know: whether the
// control can be used, is seen, has the focus, is ticked, is a link.
STDMETHODIMP ControlAccessible::get_accState(VARIANT child, VARIANT* state) {
  const Control* control = Self(child);
  const HRESULT answer = system_->get_accState(child, state);
  if (!control) return answer;
  LONG bits = SUCCEEDED(answer) && state->vt == VT_I4 ? state->lVal : 0;
  auto set = [&bits](LONG bit, bool on) { bits = on ? (bits | bit) : (bits & ~bit); };
  set(STATE_SYSTEM_UNAVAILABLE, !IsWindowEnabled(hwnd_));
  set(STATE_SYSTEM_INVISIBLE, !IsWindowVisible(hwnd_));
  set(STATE_SYSTEM_FOCUSED, GetFocus() == hwnd_);
  const bool takes_focus = (GetWindowLongW(hwnd_, GWL_STYLE) & WS_TABSTOP) != 0;
  set(STATE_SYSTEM_FOCUSABLE, takes_focus && IsWindowEnabled(hwnd_));
  if (control->accessible_role() == AccessibleRole::kCheckBox ||
      control->accessible_role() == AccessibleRole::kRadioButton) {
    const LRESULT check = SendMessageW(hwnd_, BM_GETCHECK, 0, 0);
    set(STATE_SYSTEM_CHECKED, check == BST_CHECKED);
    set(STATE_SYSTEM_MIXED, check == BST_INDETERMINATE);
  }
  if (control->accessible_role() == AccessibleRole::kLink) set(STATE_SYSTEM_LINKED, true);
  state->vt = VT_I4;
  state->lVal = bits;
  return S_OK;
}

}  // namespace

LRESULT AnswerAccessibleObject(const Control& control, WPARAM wparam, LPARAM lparam) {
  if (static_cast<LONG>(lparam) != OBJID_CLIENT) return 0;
  IAccessible* system = nullptr;
  if (FAILED(CreateStdAccessibleObject(control.handle(), OBJID_CLIENT, IID_IAccessible,
                                       reinterpret_cast<void**>(&system))) ||
      !system)
    return 0;
  auto* accessible = new ControlAccessible(control.handle(), system);
  const LRESULT answer = LresultFromObject(IID_IAccessible, wparam, accessible);
  accessible->Release();
  return answer > 0 ? answer : 0;
}

void MarkLiveRegion(HWND hwnd) {
  IAccPropServices* annotations = nullptr;
  if (FAILED(CoCreateInstance(kAnnotationService, nullptr, CLSCTX_INPROC_SERVER,
                              IID_IAccPropServices, reinterpret_cast<void**>(&annotations))))
    return;
  VARIANT polite;
  polite.vt = VT_I4;
  polite.lVal = kPolite;
  // A system that keeps no live setting (before Windows 8) still passes the
  // change events on; its readers read the text when told.
  annotations->SetHwndProp(hwnd, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF,
                           kLiveSettingProperty, polite);
  annotations->Release();
}

void RaiseLiveRegionChanged(HWND hwnd) {
  NotifyWinEvent(EVENT_OBJECT_LIVEREGIONCHANGED, hwnd, OBJID_CLIENT, CHILDID_SELF);
}

}  // namespace platform
