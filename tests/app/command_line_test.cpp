// The command line's modes and the run's result; also run natively.
#include "app/command_line.h"

#include <gtest/gtest.h>

namespace app {
namespace {

TEST(CommandLineTest, ModesAndTheRunsResult) {
  EXPECT_EQ(ModeOfArguments({}), StartMode::kWindow);
  EXPECT_EQ(ModeOfArguments({L"/BackUp"}), StartMode::kBackup) << "only /backup alone, in any case";
  EXPECT_EQ(ModeOfArguments({L"/apply-update", L"C:\\x.exe"}), StartMode::kApplyUpdate);
  for (const std::vector<std::wstring>& refused :
       std::vector<std::vector<std::wstring>>{{L"/backup", L"now"}, {L"backup"}, {L"/backupx"}, {L""}}) {
    EXPECT_EQ(ModeOfArguments(refused), StartMode::kRefused) << refused[0];
    EXPECT_NE(RefusedArgumentsText(refused).find(L"/backup"), std::wstring::npos);
  }
  // A run ends as its worst part: a refused target, then a cancel, then failures.
  EXPECT_EQ(ResultOfRun(true, true, true), RunResult::kNothingBackedUp);
  EXPECT_EQ(ResultOfRun(false, true, true), RunResult::kCancelled);
  EXPECT_EQ(ResultOfRun(false, false, true), RunResult::kNotAllCopied);
}

}  // namespace
}  // namespace app
