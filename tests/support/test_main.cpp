// Test entry point: COM and the common controls are ready before any test
// creates a window; a run with a skipped case and no failure ends with 77.
#include <gtest/gtest.h>

#include "platform/controls.h"

int wmain(int argc, wchar_t** argv) {
  platform::OleScope ole;
  platform::InitCommonControls();
  testing::InitGoogleTest(&argc, argv);
  const int failed = RUN_ALL_TESTS();
  // ctest shows the program as skipped (its SKIP_RETURN_CODE) only when no
  // case failed: a failure is never hidden behind a skip.
  if (failed == 0 && testing::UnitTest::GetInstance()->skipped_test_count() > 0) return 77;
  return failed;
}
