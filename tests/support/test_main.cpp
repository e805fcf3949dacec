// Test entry point: COM and the common controls are ready before any test
// creates a window.
#include <gtest/gtest.h>

#include "platform/controls.h"

int wmain(int argc, wchar_t** argv) {
  platform::OleScope ole;
  platform::InitCommonControls();
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
