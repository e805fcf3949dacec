// The settings file through the real private-profile functions: where it is
// and what survives a write and a read.
#include "settings/ini_file.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "platform/files.h"
#include "support/temp_folder.h"
#include "support/window_input.h"

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
  std::wstring store_id(140, L'0');  // a store's StoreID is a key as it comes
  for (size_t i = 0; i < store_id.size(); ++i) store_id[i] = L"0123456789ABCDEF"[i % 16];
  WriteIni(file, L"PST", store_id, L"1");
  const std::wstring broken = L"D:\\a\r\nb\nc\rd";
  WriteIni(file, L"main", L"log", broken);

  const std::string bytes = testing_support::ReadFile(file);
  EXPECT_NE(bytes.find(platform::ToAnsi(target)), std::string::npos) << "saved whole, in ANSI";
  EXPECT_EQ(bytes.find("\xEF\xBB\xBF"), std::string::npos) << "no UTF-8 mark";
  EXPECT_EQ(ReadIni(file, L"main", L"target", L""), target.substr(0, kMaxValueLength));
  EXPECT_EQ(ReadIni(file, L"PST", store_id, L""), L"1");
  EXPECT_EQ(ReadIni(file, L"PST", store_id.substr(1), L""), L"");
  EXPECT_EQ(ReadIni(file, L"main", L"log", L""), L"D:\\a  b c d") << "one line";
  EXPECT_EQ(ReadIni(file, L"main", L"missing", L""), L"");
}

class LocateIniFileTest : public ::testing::Test {
 protected:
  TempFolder program;
  TempFolder app_data;
  testing_support::ScopedEnvironmentValue app_data_value{L"AppData", app_data.path()};
};

TEST_F(LocateIniFileTest, ANormalFileBesideTheProgramWinsOverAppData) {
  EXPECT_EQ(LocateIniFile(program.path()), app_data / kIniFileName) << "existing or not";
  WriteFile(app_data / kIniFileName, "[main]\r\ntarget=D:\\appdata\r\n");
  // A folder, a hidden or a system file of that name does not count.
  testing_support::MakeFolders(program / kIniFileName);
  EXPECT_EQ(LocateIniFile(program.path()), app_data / kIniFileName);
  testing_support::RemoveTree(program / kIniFileName);
  WriteFile(program / kIniFileName, "[main]\r\n");
  for (std::uint32_t attribute : {platform::kAttributeHidden, platform::kAttributeSystem}) {
    testing_support::SetAttributes(program / kIniFileName, attribute);
    EXPECT_EQ(LocateIniFile(program.path()), app_data / kIniFileName);
  }
  testing_support::SetAttributes(program / kIniFileName, FILE_ATTRIBUTE_NORMAL);
  const std::wstring file = LocateIniFile(program.path());
  EXPECT_EQ(file, program / kIniFileName);
  WriteIni(file, L"main", L"log", L"1");
  EXPECT_EQ(ReadIni(app_data / kIniFileName, L"main", L"log", L""), L"");
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
