// The splash window closes at whichever comes later of its minimum time and
// the main window's readiness, and only then gives the main window to the
// user. Its real timer runs in the program's own test.
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
    main_.CreateForm({L"Main", 6000, 4000});
    main_.set_enabled(false);
    main_.Show();
  }

  platform::Form main_;
};

TEST_F(SplashTest, ClosesAtTheLaterOfReadyAndTheMinimumTimeInEitherOrder) {
  for (bool ready_first : {true, false}) {
    SplashWindow splash{main_};
    splash.ShowSplash(L"ENU");
    EXPECT_TRUE(GetWindowLongW(splash.handle(), GWL_EXSTYLE) & WS_EX_TOPMOST);
    ready_first ? splash.ReadyToWork() : splash.OnMinimumTimeUp();
    EXPECT_TRUE(splash.loaded()) << ready_first;
    EXPECT_FALSE(main_.enabled());
    ready_first ? splash.OnMinimumTimeUp() : splash.ReadyToWork();
    EXPECT_FALSE(splash.loaded());
    EXPECT_TRUE(main_.enabled());
    main_.set_enabled(false);
  }
}

}  // namespace
}  // namespace app
