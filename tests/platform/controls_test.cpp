// The control wrappers against real windows: what the user sees is the
// window text, check boxes keep three states, progress bars draw any range,
// scroll bars reach both ends, and twips become pixels at the screen's DPI.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include "platform/controls.h"

namespace {

using platform::Font;
using platform::Layout;

class ControlsTest : public testing::Test {
 protected:
  void SetUp() override { form.CreateForm({L"Test", 6000, 4000}); }
  Layout At(int left, int top, int width, int height) {
    return Layout{&form, {left, top, width, height}, Font{L"Tahoma", 9.75}};
  }
  platform::Form form;
};

TEST_F(ControlsTest, TwipsBecomePixelsAtTheScreenDpi) {
  int dpi = platform::ScreenDpi();
  EXPECT_EQ(platform::TwipsToPixels(1440), dpi);
  if (dpi == 96) {
    EXPECT_EQ(platform::TwipsToPixels(15), 1);
    EXPECT_EQ(platform::TwipsToPixels(10140), 676);
  }
  platform::Label label;
  label.Create(At(120, 240, 1500, 300), L"x");
  RECT rect;
  GetWindowRect(label.handle(), &rect);
  MapWindowPoints(nullptr, form.handle(), reinterpret_cast<POINT*>(&rect), 2);
  EXPECT_EQ(rect.left, platform::TwipsToPixels(120));
  EXPECT_EQ(rect.top, platform::TwipsToPixels(240));
  EXPECT_EQ(rect.right - rect.left, platform::TwipsToPixels(1500));
}

TEST_F(ControlsTest, FormClientAreaHasTheDesignedSize) {
  EXPECT_EQ(form.client_width_px(), platform::TwipsToPixels(6000));
  EXPECT_EQ(form.client_height_px(), platform::TwipsToPixels(4000));
}

TEST_F(ControlsTest, CaptionIsTheWindowText) {
  platform::Button button;
  button.Create(At(0, 0, 1000, 400), L"Backup!");
  wchar_t text[64];
  GetWindowTextW(button.handle(), text, 64);
  EXPECT_STREQ(text, L"Backup!");
  button.set_caption(L"CANCELAR");
  EXPECT_EQ(button.caption(), L"CANCELAR");
}

TEST_F(ControlsTest, CheckBoxKeepsThreeStatesAndRaisesClickOnChangeOnly) {
  platform::CheckBox box;
  box.Create(At(0, 0, 2000, 255), L"Documents");
  int clicks = 0;
  box.on_click = [&] { ++clicks; };
  box.set_value(2);
  EXPECT_EQ(box.value(), 2);
  EXPECT_EQ(SendMessageW(box.handle(), BM_GETCHECK, 0, 0), BST_INDETERMINATE);
  box.set_value(2);
  EXPECT_EQ(clicks, 1);
  box.set_value(1);
  EXPECT_EQ(clicks, 2);
}

TEST_F(ControlsTest, UserClickTogglesBetweenCheckedAndUnchecked) {
  platform::CheckBox box;
  box.Create(At(0, 0, 2000, 255), L"Documents");
  int clicks = 0;
  box.on_click = [&] { ++clicks; };
  SendMessageW(box.handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(box.value(), 1);
  SendMessageW(box.handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(box.value(), 0);
  box.set_value(2);
  SendMessageW(box.handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(box.value(), 1);
  EXPECT_EQ(clicks, 4);
}

TEST_F(ControlsTest, ProgressBarStartsAtZeroOfHundredAndDrawsItsShare) {
  platform::ProgressBar bar;
  bar.Create(At(0, 0, 3000, 255));
  EXPECT_EQ(bar.maximum(), 100);
  EXPECT_EQ(bar.value(), 0);
  bar.set_value(41);
  EXPECT_EQ(SendMessageW(bar.handle(), PBM_GETPOS, 0, 0),
            41 * platform::ProgressBar::kSteps / 100);
}

TEST_F(ControlsTest, ProgressBarDrawsRangesPastTwoGibibytes) {
  platform::ProgressBar bar;
  bar.Create(At(0, 0, 3000, 255));
  bar.set_maximum(6442450944.0);  // 6 GiB
  bar.set_value(3221225472.0);    // half of it
  EXPECT_EQ(bar.value(), 3221225472.0);
  EXPECT_EQ(SendMessageW(bar.handle(), PBM_GETPOS, 0, 0), platform::ProgressBar::kSteps / 2);
}

TEST_F(ControlsTest, ProgressBarValueOutsideItsRangeDrawsAtTheEnds) {
  platform::ProgressBar bar;
  bar.Create(At(0, 0, 3000, 255));
  bar.set_value(250);
  EXPECT_EQ(bar.position(), platform::ProgressBar::kSteps);
  bar.set_value(-5);
  EXPECT_EQ(bar.position(), 0);
  bar.set_maximum(0);
  EXPECT_EQ(bar.position(), 0);
}

TEST_F(ControlsTest, ScrollBarRunsFromMinToMaxByLineSteps) {
  platform::ScrollBar bar;
  bar.Create(At(0, 0, 375, 3000), 1, 10, 1);
  int changes = 0;
  bar.on_change = [&] { ++changes; };
  SendMessageW(form.handle(), WM_VSCROLL, SB_LINEDOWN, reinterpret_cast<LPARAM>(bar.handle()));
  EXPECT_EQ(bar.value(), 2);
  SendMessageW(form.handle(), WM_VSCROLL, SB_BOTTOM, reinterpret_cast<LPARAM>(bar.handle()));
  EXPECT_EQ(bar.value(), 10);
  SendMessageW(form.handle(), WM_VSCROLL, SB_LINEDOWN, reinterpret_cast<LPARAM>(bar.handle()));
  EXPECT_EQ(bar.value(), 10);
  SendMessageW(form.handle(), WM_VSCROLL, SB_LINEUP, reinterpret_cast<LPARAM>(bar.handle()));
  EXPECT_EQ(bar.value(), 9);
  EXPECT_EQ(changes, 3);
  SCROLLINFO info = {sizeof(info), SIF_ALL};
  GetScrollInfo(bar.handle(), SB_CTL, &info);
  EXPECT_EQ(info.nPos, 9);
}

TEST_F(ControlsTest, TimerTicksOnlyWhileEnabledWithAnInterval) {
  platform::Timer timer;
  timer.Create(form, 0, true);
  int ticks = 0;
  timer.on_tick = [&] { ++ticks; };
  timer.set_interval(20);
  DWORD until = GetTickCount() + 2000;
  while (ticks == 0 && GetTickCount() < until) {
    platform::DoEvents();
    Sleep(5);
  }
  EXPECT_GE(ticks, 1);
  timer.set_enabled(false);
  int seen = ticks;
  DWORD later = GetTickCount() + 100;
  while (GetTickCount() < later) {
    platform::DoEvents();
    Sleep(5);
  }
  EXPECT_EQ(ticks, seen);
}

TEST_F(ControlsTest, MenuCaptionsChangeInPlace) {
  platform::MenuItem file, exit;
  form.AddMenu(file, L"File", {{&exit, L"Exit"}});
  file.set_caption(L"Archivo");
  exit.set_caption(L"Salir");
  EXPECT_EQ(file.caption(), L"Archivo");
  EXPECT_EQ(exit.caption(), L"Salir");
  int clicks = 0;
  exit.on_click = [&] { ++clicks; };
  SendMessageW(form.handle(), WM_COMMAND, MAKEWPARAM(1000, 0), 0);
  EXPECT_EQ(clicks, 1);
  // The menu bar does not eat into the designed client area.
  EXPECT_EQ(form.client_height_px(), platform::TwipsToPixels(4000));
}

}  // namespace
