// The command line's modes, the run's result and the run lock's name. No
// Windows call: also run natively under the sanitizers.
#include "app/command_line.h"

#include <gtest/gtest.h>

namespace app {
namespace {

TEST(CommandLineTest, OnlyBackupAloneOrTheUpdateSwitchAreAccepted) {
  EXPECT_EQ(ModeOfArguments({}), StartMode::kWindow);
  EXPECT_EQ(ModeOfArguments({L"/backup"}), StartMode::kBackup);
  EXPECT_EQ(ModeOfArguments({L"/BackUp"}), StartMode::kBackup);
  EXPECT_EQ(ModeOfArguments({L"/apply-update", L"C:\\x.exe"}), StartMode::kApplyUpdate);
  for (const std::vector<std::wstring>& refused :
       std::vector<std::vector<std::wstring>>{{L"/backup", L"now"}, {L"backup"}, {L"/backupx"}, {L""}}) {
    EXPECT_EQ(ModeOfArguments(refused), StartMode::kRefused) << refused[0];
    EXPECT_NE(RefusedArgumentsText(refused).find(L"/backup"), std::wstring::npos);
  }
}

TEST(CommandLineTest, ARefusedTargetOutranksACancelWhichOutranksFailures) {
  EXPECT_EQ(ResultOfRun(false, false, false), RunResult::kComplete);
  EXPECT_EQ(ResultOfRun(false, false, true), RunResult::kNotAllCopied);
  EXPECT_EQ(ResultOfRun(false, true, true), RunResult::kCancelled);
  EXPECT_EQ(ResultOfRun(true, true, true), RunResult::kNothingBackedUp);
}

TEST(CommandLineTest, TheRunLockIsPerSessionAndSettingsFileWhateverTheLetterCase) {
  const std::wstring name = RunLockName(L"C:\\Users\\Ana\\AppData\\TAVRIK Backup.ini");
  EXPECT_EQ(name.rfind(L"Local\\", 0), 0u);
  EXPECT_EQ(name, RunLockName(L"c:\\users\\ana\\appdata\\tavrik backup.ini"));
  EXPECT_NE(name, RunLockName(L"D:\\Portable\\TAVRIK Backup.ini"));
}

}  // namespace
}  // namespace app
