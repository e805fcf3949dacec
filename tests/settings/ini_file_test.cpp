// The settings file through the real private-profile functions: where it is
// and what survives a write and a read.
#include "settings/ini_file.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "platform/files.h"
#include "support/temp_folder.h"

namespace settings {
namespace {

using testing_support::TempFolder;
using testing_support::WriteFile;

TEST(IniFileTest, ValuesComeBackAsWrittenWithinTheFileLimits) {
  TempFolder folder;
  const std::wstring file = folder / kIniFileName;
  EXPECT_EQ(ReadIni(file, L"main", L"target", L"none"), L"none");
  std::wstring target = L"D:\\Año";
  while (target.size() < 300) target += L"abcdefghij";
  WriteIni(file, L"main", L"target", target);
  std::wstring store_id;  // a store's StoreID is a key as it comes
  while (store_id.size() < 140) store_id += L"0123456789ABCDEF"[store_id.size() % 16];
  WriteIni(file, L"PST", store_id, L"1");
  WriteIni(file, L"main", L"log", L"D:\\a\r\nb\nc\rd");

  const std::string bytes = testing_support::ReadFile(file);
  EXPECT_NE(bytes.find(platform::ToAnsi(target)), std::string::npos) << "saved whole, in ANSI";
  EXPECT_EQ(bytes.find("\xEF\xBB\xBF"), std::string::npos) << "no UTF-8 mark";
  EXPECT_EQ(ReadIni(file, L"main", L"target", L""), target.substr(0, kMaxValueLength));
  EXPECT_EQ(ReadIni(file, L"PST", store_id, L""), L"1");
  EXPECT_EQ(ReadIni(file, L"main", L"log", L""), L"D:\\a  b c d") << "one line";
}

class LocateIniFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    old_app_data_ = platform::EnvironmentValue(L"AppData");
    SetEnvironmentVariableW(L"AppData", app_data.path().c_str());
  }
  void TearDown() override { SetEnvironmentVariableW(L"AppData", old_app_data_.c_str()); }

  TempFolder program, app_data;
  std::wstring old_app_data_;
};

TEST_F(LocateIniFileTest, ANormalFileBesideTheProgramWinsOverAppData) {
  EXPECT_EQ(LocateIniFile(program.path()), app_data / kIniFileName) << "existing or not";
  WriteFile(program / kIniFileName, "[main]\r\n");
  testing_support::SetAttributes(program / kIniFileName, platform::kAttributeHidden);
  EXPECT_EQ(LocateIniFile(program.path()), app_data / kIniFileName) << "a hidden one does not count";
  testing_support::SetAttributes(program / kIniFileName, FILE_ATTRIBUTE_NORMAL);
  const std::wstring file = LocateIniFile(program.path());
  EXPECT_EQ(file, program / kIniFileName);
  WriteIni(file, L"main", L"log", L"1");
  EXPECT_FALSE(platform::FileExists(app_data / kIniFileName));
}

TEST_F(LocateIniFileTest, TheRunningProgramLooksInItsOwnFolder) {
  const std::wstring beside = platform::ProgramFolder() + L"\\" + kIniFileName;
  ASSERT_FALSE(platform::FileExists(beside)) << "a settings file was left beside the tests";
  EXPECT_EQ(LocateIniFile(), app_data / kIniFileName);
  WriteFile(beside, "[main]\r\n");
  const std::wstring found = LocateIniFile();
  platform::DeleteFileAt(beside);
  EXPECT_EQ(found, beside);
}

}  // namespace
}  // namespace settings
