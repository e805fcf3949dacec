// The drawing objects the controls share, made once and kept for the life of
// the program: fonts, brushes, pictures and cursors. Used inside platform/
// only.
#pragma once

#include <windows.h>

#include "platform/appearance.h"

namespace platform {

HFONT FontHandle(const Font& font);
HBRUSH BrushFor(COLORREF color);
// A picture resource (BMP, GIF or JPEG, stored as RCDATA) drawn onto a bitmap
// of the window colour, so that transparent parts look right on the window.
HBITMAP PictureBitmap(int resource);
// The program's hand cursor when it has one, else the system's.
HCURSOR HandCursor();

}  // namespace platform
