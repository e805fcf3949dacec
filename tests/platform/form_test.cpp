// A form at another scale, and its keyboard: access keys, Enter, Esc, and
// the focus kept while another window is in front.
#include <gtest/gtest.h>

#include <windows.h>

#include "platform/controls.h"
#include "support/window_input.h"

namespace platform {
namespace {

class FormTest : public testing::Test {
 protected:
  void SetUp() override {
    testing_support::ForgetQuit();
    form.CreateForm({L"Test", 6000, 4000});
    label.Create({&form, {240, 240, 1500, 375}, Font{}}, L"&Name:");
    first.Create({&form, {240, 720, 3000, 375}, Font{}}, L"");
    second.Create({&form, {240, 1200, 3000, 375}, Font{}}, L"");
    button.Create({&form, {3600, 1200, 1500, 495}, Font{L"Tahoma", 9.75}}, L"Go");
    label.GiveAccessKeyTo(second);
    button.on_click = [this] { ++presses; };
    form.Show();
  }
  // A key as the user presses it, through the message loop.
  void Press(UINT message, WPARAM key) {
    PostMessageW(GetFocus(), message, key, message == WM_SYSCHAR ? 1 << 29 : 0);
    DoEvents();
  }
  static int Height(HFONT font) {
    LOGFONTW described{};
    GetObjectW(font, sizeof(described), &described);
    return std::abs(described.lfHeight);
  }
  Form form;
  Label label;
  TextBox first, second;
  Button button;
  int presses = 0;
};

TEST_F(FormTest, AtTwiceTheScaleEverythingIsTwiceAsLargeAndAsSharp) {
  RECT frame, place;
  GetWindowRect(form.handle(), &frame);
  const int width = form.client_width_px(), height = form.client_height_px();
  const int font = Height(reinterpret_cast<HFONT>(SendMessageW(button.handle(), WM_GETFONT, 0, 0)));
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
  EXPECT_EQ(Height(reinterpret_cast<HFONT>(SendMessageW(button.handle(), WM_GETFONT, 0, 0))), 2 * font);
}

TEST_F(FormTest, AccessKeysEnterAndEscWorkAsInADialog) {
  first.focus();
  Press(WM_SYSCHAR, 'n');
  EXPECT_TRUE(second.focused()) << "a label's access key moves to the box it names";
  Press(WM_KEYDOWN, VK_RETURN);
  EXPECT_EQ(presses, 0) << "no default button yet";
  form.set_default_button(button);
  Press(WM_KEYDOWN, VK_RETURN);
  EXPECT_EQ(presses, 1);
  button.set_enabled(false);
  Press(WM_KEYDOWN, VK_RETURN);
  EXPECT_EQ(presses, 1) << "a greyed default button is not pressed";
  Press(WM_KEYDOWN, VK_ESCAPE);
  EXPECT_TRUE(form.loaded()) << "Esc closes only a window that asks for it";
  form.escape_closes = true;
  Press(WM_KEYDOWN, VK_ESCAPE);
  EXPECT_FALSE(form.loaded());
}

TEST_F(FormTest, TheFocusComesBackWhereItWasOnceAWindowInFrontCloses) {
  second.focus();
  Form dialog;
  dialog.CreateForm({L"Dialog", 3000, 2000}, &form);
  dialog.escape_closes = true;
  Button close;
  close.Create({&dialog, {240, 240, 1500, 495}, Font{}}, L"Close");
  HWND focus_in_dialog = nullptr;
  Timer user;
  user.Create(dialog, 20, true);
  user.on_tick = [&] {
    user.set_enabled(false);
    focus_in_dialog = GetFocus();
    PostMessageW(GetFocus(), WM_KEYDOWN, VK_ESCAPE, 0);
  };
  dialog.ShowModal(form);
  EXPECT_EQ(focus_in_dialog, close.handle()) << "a window opens with the focus on its first control";
  EXPECT_TRUE(second.focused());
}

}  // namespace
}  // namespace platform
