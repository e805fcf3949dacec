// A form's keyboard, as a dialog's: the focus kept while the window is left
// and given back when the user returns, the messages the system's dialog
// keys send to a window (IsDialogMessage, in the message loop), the default
// button and Esc.
#include "platform/form.h"

#include "platform/label.h"

namespace platform {
namespace {

// The control that takes the focus for one an access key reached: a
// label's access key hands it on to the control the label names, any other
// control keeps it.
HWND FocusTakerOf(HWND control) {
  const auto* label = dynamic_cast<const Label*>(Control::FromHandle(control));
  return label && label->access_key_target() ? label->access_key_target()->handle() : control;
}

bool CanTakeFocus(HWND window, HWND control) {
  return control && IsChild(window, control) && IsWindowVisible(control) &&
         IsWindowEnabled(control);
}

}  // namespace

void Form::set_default_button(Control& button) {
  SetWindowLongPtrW(button.handle(), GWLP_ID, IDOK);
  SendMessageW(button.handle(), BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
  default_button_ = button.handle();
}

// Asked by the dialog keys for the button Enter presses.
LRESULT Form::OnDefaultButton() const {
  return default_button_ ? MAKELRESULT(IDOK, DC_HASDEFID) : 0;
}

// Esc.
bool Form::OnCancelCommand() {
  if (escape_closes) SendMessageW(hwnd_, WM_CLOSE, 0, 0);
  return true;
}

// The dialog keys move the focus with this: to a control (an access key),
// then on to the next one, which for a label is the control it names; or
// to the next or previous tab stop.
void Form::OnNextControl(HWND control, bool by_handle, bool backwards) {
  if (by_handle) {
    HWND taker = FocusTakerOf(control);
    if (taker != control) {
      SetFocus(taker);
      access_key_moved_ = true;
      return;
    }
    if (CanTakeFocus(hwnd_, control)) SetFocus(control);
    return;
  }
  // The step on after an access key already reached the named control.
  if (access_key_moved_) {
    access_key_moved_ = false;
    return;
  }
  HWND from = GetFocus();
  HWND next = GetNextDlgTabItem(hwnd_, IsChild(hwnd_, from) ? from : nullptr, backwards);
  if (next) SetFocus(next);
}

void Form::KeepFocus() {
  HWND focus = GetFocus();
  if (IsChild(hwnd_, focus)) kept_focus_ = focus;
}

// Back to the control that had it, or else the first tab stop.
void Form::RestoreFocus() {
  HWND target = CanTakeFocus(hwnd_, kept_focus_) ? kept_focus_ : GetNextDlgTabItem(hwnd_, nullptr, FALSE);
  if (CanTakeFocus(hwnd_, target)) SetFocus(target);
}

}  // namespace platform
