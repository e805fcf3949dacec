// Unloading every window of the program, as the installer update does
// before it ends the program.
#include "platform/controls.h"

#include <gtest/gtest.h>

namespace platform {
namespace {

TEST(UnloadAllFormsTest, UnloadsOwnedAndOwningFormsEachOnce) {
  Form main, about;
  int main_unloads = 0, about_unloads = 0;
  main.CreateForm({L"Main", 3000, 3000, Form::Border::kFixedSingle, {}});
  about.CreateForm({L"About", 2000, 2000, Form::Border::kFixedSingle, {}}, &main);
  main.on_unload = [&] { ++main_unloads; };
  // Like a window that closes another one as it goes.
  about.on_unload = [&] {
    ++about_unloads;
    main.Unload();
  };
  UnloadAllForms();
  EXPECT_FALSE(main.loaded());
  EXPECT_FALSE(about.loaded());
  EXPECT_EQ(main_unloads, 1);
  EXPECT_EQ(about_unloads, 1);
  EXPECT_EQ(LoadedForms(), 0);
  // The last form going posts the end of the message loop; the tests that
  // follow still need theirs.
  MSG msg;
  while (PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
  }
}

}  // namespace
}  // namespace platform
