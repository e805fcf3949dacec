// The control wrappers against real windows (check boxes: the source list's tests).
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <cstdlib>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/controls.h"
#include "support/window_input.h"

namespace platform {
namespace {

class ControlsTest : public testing::Test {
 protected:
  void SetUp() override { testing_support::ForgetQuit(), form.CreateForm({L"Test", 6000, 4000}); }
  Layout At(int width, int height) { return Layout{&form, {0, 0, width, height}, Font{}}; }
  Form form;
};

TEST_F(ControlsTest, BarsDrawTheirShareOfAnyRangeAndReachBothEnds) {
  ProgressBar bar;
  bar.Create(At(3000, 255));
  bar.set_maximum(6442450944.0);  // 6 GiB
  bar.set_value(3221225472.0);
  EXPECT_EQ(SendMessageW(bar.handle(), PBM_GETPOS, 0, 0), ProgressBar::kSteps / 2);
  bar.set_value(1e12);
  EXPECT_EQ(bar.position(), ProgressBar::kSteps);
  bar.set_maximum(0);
  EXPECT_EQ(bar.position(), 0);

  // A scroll bar runs from its minimum to its maximum by line steps.
  ScrollBar scroll_bar;
  scroll_bar.Create(At(375, 3000), 1, 10, 1);
  int changes = 0;
  scroll_bar.on_change = [&] { ++changes; };
  for (WPARAM code : {SB_LINEDOWN, SB_BOTTOM, SB_LINEDOWN, SB_LINEUP})
    SendMessageW(form.handle(), WM_VSCROLL, code, reinterpret_cast<LPARAM>(scroll_bar.handle()));
  EXPECT_EQ(changes, 3) << "a step past the end changes nothing";
  SCROLLINFO info = {sizeof(info), SIF_POS};
  GetScrollInfo(scroll_bar.handle(), SB_CTL, &info);
  EXPECT_EQ(info.nPos, 9);
  EXPECT_EQ(scroll_bar.value(), 9);
}

TEST_F(ControlsTest, MenusAnswerByItemAndKeepTheClientArea) {
  MenuItem file, exit;
  form.AddMenu(file, L"File", {{&exit, L"Exit"}});
  int clicks = 0;
  exit.on_click = [&] { ++clicks; };
  SendMessageW(form.handle(), WM_COMMAND, MAKEWPARAM(1000, 0), 0);
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(form.client_height_px(), TwipsToPixels(4000, form.dpi()));
}

TEST_F(ControlsTest, UnloadingAllFormsReachesEachOnce) {
  Form about;
  about.CreateForm({L"About", 2000, 2000}, &form);
  int form_unloads = 0, about_unloads = 0;
  form.on_unload = [&] { ++form_unloads; };
  about.on_unload = [&] { ++about_unloads, form.Unload(); };  // like a window that closes another as it goes
  UnloadAllForms();
  EXPECT_TRUE(form_unloads == 1 && about_unloads == 1);
  EXPECT_EQ(LoadedForms(), 0);
}

TEST_F(ControlsTest, AnExceptionInAHandlerStopsAtTheWindowProcedure) {
  std::vector<std::wstring> reported;
  Form::on_unexpected_error = [&](const std::wstring& what) { reported.push_back(what); };
  form.on_activate = [] { throw std::runtime_error("broken handler"); };
  SendMessageW(form.handle(), WM_ACTIVATE, WA_ACTIVE, 0);
  form.mailbox().Post([] { throw 7; });
  EXPECT_TRUE(testing_support::PumpUntil([&] { return reported.size() == 2; }));
  Form::on_unexpected_error = nullptr;
  EXPECT_EQ(reported, (std::vector<std::wstring>{L"broken handler", L"?"}));
  EXPECT_TRUE(IsWindow(form.handle())) << "reported, not carried through the system's code";
}

int FontHeight(const Control& control) {
  LOGFONTW font{};
  GetObjectW(reinterpret_cast<HFONT>(SendMessageW(control.handle(), WM_GETFONT, 0, 0)), sizeof(font), &font);
  return std::abs(font.lfHeight);
}

// The window, its controls and its fonts anew.
TEST_F(ControlsTest, TwiceTheScaleDrawsTwiceAsLarge) {
  Button button;
  button.Create({&form, {3600, 1200, 1500, 495}, Font{L"Tahoma", 9.75}}, L"Go");
  form.Show();
  RECT frame, place;
  GetWindowRect(form.handle(), &frame);
  const int width = form.client_width_px(), font = FontHeight(button);
  RECT suggested = {frame.left, frame.top, 2 * frame.right - frame.left, 2 * frame.bottom - frame.top};
  SendMessageW(form.handle(), WM_DPICHANGED, MAKEWPARAM(192, 192), reinterpret_cast<LPARAM>(&suggested));
  EXPECT_EQ(form.client_width_px(), 2 * width);
  EXPECT_EQ(form.client_height_px(), TwipsToPixels(4000, 192));
  GetWindowRect(button.handle(), &place);
  MapWindowPoints(nullptr, form.handle(), reinterpret_cast<POINT*>(&place), 2);
  EXPECT_EQ(place.left, TwipsToPixels(3600, 192));
  EXPECT_EQ(place.bottom - place.top, 2 * TwipsToPixels(495, 96));
  EXPECT_EQ(FontHeight(button), 2 * font);
}

// Work posted to a window that goes before it runs, or after, is freed.
TEST_F(ControlsTest, TasksPostedToAWindowThatGoesAreFreedUnrun) {
  auto counted = std::make_shared<std::vector<int>>();
  for (int cycle = 0; cycle < 200; ++cycle) {
    Form window;
    window.CreateForm({L"Posted", 3000, 2000});
    const Mailbox mailbox = window.mailbox();
    mailbox.Post([counted] { counted->push_back(0); });
    window.Unload();
    mailbox.Post([counted] { counted->push_back(0); });
  }
  testing_support::RunPendingMessages();
  EXPECT_TRUE(counted->empty());
  EXPECT_EQ(counted.use_count(), 1) << "every task freed";
}

}  // namespace
}  // namespace platform
