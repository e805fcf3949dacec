// The drawing objects the controls share, made once and kept for the life of
// the program: fonts (per DPI), brushes, pictures (per size) and cursors.
// Used inside platform/ only.
#pragma once

#include <windows.h>

#include "platform/appearance.h"

namespace platform {

HFONT FontHandle(const Font& font, int dpi);
HBRUSH BrushFor(COLORREF color);
// A picture of the program's resources at size x size pixels, as a 32-bit
// bitmap with premultiplied alpha (drawn over any background with
// AlphaBlend). Each picture is stored as PNGs of several sizes, resource
// number picture x 1000 + size; the size asked for is taken, else the
// smallest larger one (or the largest) scaled. Null when there is none.
HBITMAP PictureBitmap(int picture, int size);
// The program's hand cursor when it has one, else the system's.
HCURSOR HandCursor();

}  // namespace platform
