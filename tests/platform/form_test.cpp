// A form at another scale: the window, its controls and its fonts anew.
#include <gtest/gtest.h>

#include <windows.h>

#include "platform/controls.h"
#include "support/window_input.h"

namespace platform {
namespace {

int FontHeight(const Control& control) {
  LOGFONTW font{};
  GetObjectW(reinterpret_cast<HFONT>(SendMessageW(control.handle(), WM_GETFONT, 0, 0)), sizeof(font), &font);
  return std::abs(font.lfHeight);
}

TEST(FormTest, AtTwiceTheScaleEverythingIsTwiceAsLargeAndDrawnAnew) {
  testing_support::ForgetQuit();
  Form form;
  form.CreateForm({L"Test", 6000, 4000});
  Button button;
  button.Create({&form, {3600, 1200, 1500, 495}, Font{L"Tahoma", 9.75}}, L"Go");
  form.Show();
  RECT frame, place;
  GetWindowRect(form.handle(), &frame);
  const int width = form.client_width_px(), height = form.client_height_px(), font = FontHeight(button);
  RECT suggested = {frame.left, frame.top, frame.left + 2 * (frame.right - frame.left),
                    frame.top + 2 * (frame.bottom - frame.top)};
  SendMessageW(form.handle(), WM_DPICHANGED, MAKEWPARAM(192, 192), reinterpret_cast<LPARAM>(&suggested));
  EXPECT_EQ(form.dpi(), 192);
  // Twice the size, as the layout's twips give it at the new scale.
  EXPECT_EQ(form.client_width_px(), 2 * width);
  EXPECT_NEAR(form.client_height_px(), 2 * height, 1);
  EXPECT_EQ(form.client_height_px(), TwipsToPixels(4000, 192));
  GetWindowRect(button.handle(), &place);
  MapWindowPoints(nullptr, form.handle(), reinterpret_cast<POINT*>(&place), 2);
  EXPECT_EQ(place.left, TwipsToPixels(3600, 192));
  EXPECT_EQ(place.bottom - place.top, 2 * TwipsToPixels(495, 96));
  EXPECT_EQ(FontHeight(button), 2 * font);
}

}  // namespace
}  // namespace platform
