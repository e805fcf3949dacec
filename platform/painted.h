// What the controls of the program's own window classes that paint
// themselves (the picture, the link) share: one window procedure, which
// paints through the control's Paint (for WM_PAINT and WM_PRINTCLIENT alike)
// and hands every other message to its HandleMessage.
#pragma once

#include <windows.h>

namespace platform {

class Painted {
 public:
  virtual ~Painted() = default;
  // Draws the whole box into dc: the window's own paint, or a print of it.
  virtual void Paint(HDC dc) const = 0;
  // A message beyond painting; unanswered ones go to DefWindowProc.
  virtual LRESULT HandleMessage(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam);

 protected:
  // Registers class_name with the shared window procedure.
  static void RegisterPaintedClass(const wchar_t* class_name);
  // Fills the box with the background the control's window hands out for
  // it (setting dc's text colour too); gives the box.
  static RECT FillBackground(HWND hwnd, HDC dc);
};

}  // namespace platform
