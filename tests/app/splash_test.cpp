// The splash window closes at whichever comes later of its minimum time and
// the main window's readiness, and only then gives the main window to the
// user.
#include "app/splash_window.h"

#include <gtest/gtest.h>
#include <windows.h>

#include "support/window_input.h"

namespace app {
namespace {

class SplashTest : public testing::Test {
 protected:
  void SetUp() override {
    testing_support::ForgetQuit();
    main_.CreateForm({L"Main", 6000, 4000, platform::Form::Border::kFixedSingle, platform::Font{}});
    main_.set_enabled(false);
    main_.Show();
  }

  platform::Form main_;
  SplashWindow splash_{main_};
};

TEST_F(SplashTest, ClosesAtTheLaterOfReadyAndTheMinimumTime) {
  splash_.ShowSplash(L"ESP");
  EXPECT_EQ(splash_.loading_label.caption(), L"Cargando...");
  EXPECT_TRUE(GetWindowLongW(splash_.handle(), GWL_EXSTYLE) & WS_EX_TOPMOST);
  splash_.ReadyToWork();
  EXPECT_TRUE(splash_.loaded()) << "ready at once: the minimum time still runs";
  EXPECT_FALSE(main_.enabled());
  splash_.OnMinimumTimeUp();
  EXPECT_FALSE(splash_.loaded());
  EXPECT_TRUE(main_.enabled());
}

TEST_F(SplashTest, ReadyAfterTheMinimumTimeClosesAtOnce) {
  splash_.ShowSplash(L"ENU");
  EXPECT_EQ(splash_.loading_label.caption(), L"Loading...");
  splash_.OnMinimumTimeUp();
  EXPECT_TRUE(splash_.loaded());
  EXPECT_FALSE(main_.enabled());
  splash_.ReadyToWork();
  EXPECT_FALSE(splash_.loaded());
  EXPECT_TRUE(main_.enabled());
}

TEST_F(SplashTest, TheRealTimerClosesItAfterThreeSeconds) {
  const DWORD start = GetTickCount();
  splash_.ShowSplash(L"ENU");
  splash_.ReadyToWork();
  EXPECT_TRUE(splash_.loaded()) << "ticks arrive only through the message loop";
  while (splash_.loaded() && GetTickCount() - start < 30000) {
    platform::DoEvents();
    Sleep(20);
  }
  EXPECT_FALSE(splash_.loaded());
  EXPECT_TRUE(main_.enabled());
  EXPECT_GE(GetTickCount() - start, static_cast<DWORD>(SplashWindow::kMinimumMs) - 50);
}

}  // namespace
}  // namespace app
