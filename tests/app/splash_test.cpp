// The splash window: on top and centred, it closes at whichever comes later
// of its minimum time and the main window's readiness, and only then gives
// the main window to the user.
#include "app/frm_splash.h"

#include <gtest/gtest.h>
#include <windows.h>

#include "platform/controls.h"

namespace app {
namespace {

// A quit posted when an earlier test unloaded its last window would keep
// timers from ticking here.
void ForgetEarlierQuit() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
  }
}

class SplashTest : public testing::Test {
 protected:
  void SetUp() override {
    ForgetEarlierQuit();
    main_.CreateForm({L"Main", 6000, 4000, platform::Form::Border::kFixedSingle, platform::Font{}});
    main_.set_enabled(false);
    main_.Show();
  }

  platform::Form main_;
  FrmSplash splash_{main_};
};

TEST_F(SplashTest, ReadyBeforeTheMinimumTimeWaitsForTheTick) {
  splash_.ShowSplash(L"ENU");
  EXPECT_EQ(splash_.SplashTimer.interval(), FrmSplash::kMinimumMs);
  EXPECT_TRUE(splash_.SplashTimer.enabled());

  splash_.ReadyToWork();  // the main window was ready after about a second
  EXPECT_TRUE(splash_.loaded());
  EXPECT_FALSE(main_.enabled());

  splash_.SplashTimer_Timer();
  EXPECT_FALSE(splash_.loaded());
  EXPECT_TRUE(main_.enabled());
}

TEST_F(SplashTest, ReadyAfterTheTickClosesAtOnce) {
  splash_.ShowSplash(L"ENU");
  splash_.SplashTimer_Timer();  // three seconds pass; the main window is still busy
  EXPECT_TRUE(splash_.loaded());
  EXPECT_FALSE(main_.enabled());
  EXPECT_FALSE(splash_.SplashTimer.enabled()) << "the timer ticks once";

  splash_.ReadyToWork();  // ten seconds after start
  EXPECT_FALSE(splash_.loaded());
  EXPECT_TRUE(main_.enabled());
}

TEST_F(SplashTest, TheRealTimerClosesItAfterReadyToWork) {
  splash_.ShowSplash(L"ENU");
  splash_.ReadyToWork();
  // Timer ticks arrive only through the message loop, not before.
  EXPECT_TRUE(splash_.loaded());
  const DWORD give_up = GetTickCount() + 30000;
  while (splash_.loaded() && GetTickCount() < give_up) {
    platform::DoEvents();
    Sleep(20);
  }
  EXPECT_FALSE(splash_.loaded());
  EXPECT_TRUE(main_.enabled());
}

TEST_F(SplashTest, OnTopAndCentredOnTheScreen) {
  splash_.ShowSplash(L"ENU");
  HWND window = splash_.handle();
  EXPECT_TRUE(IsWindowVisible(window));
  EXPECT_TRUE(GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOPMOST);
  EXPECT_FALSE(GetWindowLongW(window, GWL_STYLE) & WS_CAPTION) << "no title bar";
  RECT rect;
  GetWindowRect(window, &rect);
  EXPECT_NEAR(rect.left + rect.right, GetSystemMetrics(SM_CXSCREEN), 1);
  EXPECT_NEAR(rect.top + rect.bottom, GetSystemMetrics(SM_CYSCREEN), 1);
}

TEST_F(SplashTest, LoadingTextFollowsTheLanguage) {
  splash_.ShowSplash(L"ESP");
  EXPECT_EQ(splash_.lblLoading.caption(), L"Cargando...");
  EXPECT_EQ(splash_.Label1.caption(), L"Tavrik Backup");
}

TEST_F(SplashTest, EnglishKeepsTheDesignText) {
  splash_.ShowSplash(L"ENU");
  EXPECT_EQ(splash_.lblLoading.caption(), L"Loading...");
  EXPECT_EQ(splash_.Label1.caption(), L"Tavrik Backup");
}

}  // namespace
}  // namespace app
