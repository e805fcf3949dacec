// The settings file through the real private-profile functions: where it is,
// and what survives a write and a read.
#include "settings/ini_file.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "support/temp_folder.h"

namespace settings {
namespace {

using namespace testing_support;

TEST(IniFileTest, ValuesComeBackAsWrittenWithinTheFileLimits) {
  TempFolder folder;
  const std::wstring file = folder / kIniFileName;
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

TEST(LocateIniFileTest, AFileBesideTheProgramWinsOverAppData) {
  TempFolder program, app_data;
  const std::wstring old_app_data = platform::EnvironmentValue(L"AppData");
  SetEnvironmentVariableW(L"AppData", app_data.path().c_str());
  EXPECT_EQ(LocateIniFile(program.path()), app_data / kIniFileName) << "existing or not";
  WriteFile(program / kIniFileName, "[main]\r\n");
  for (std::uint32_t not_normal : {platform::kAttributeHidden, platform::kAttributeSystem}) {
    testing_support::SetAttributes(program / kIniFileName, not_normal);
    EXPECT_EQ(LocateIniFile(program.path()), app_data / kIniFileName) << "only a normal file counts";
  }
  testing_support::SetAttributes(program / kIniFileName, FILE_ATTRIBUTE_NORMAL);
  EXPECT_EQ(LocateIniFile(program.path()), program / kIniFileName);
  // As the file system spells it: the update's installer check compares it.
  EXPECT_EQ(platform::NormalFileName(program / L"tavrik backup.INI"), kIniFileName);

  // The running program looks in its own folder.
  const std::wstring beside = platform::ProgramFolder() + L"\\" + kIniFileName;
  WriteFile(beside, "[main]\r\n");
  const std::wstring found = LocateIniFile();
  platform::DeleteFileAt(beside);
  SetEnvironmentVariableW(L"AppData", old_app_data.c_str());
  EXPECT_EQ(found, beside);
}

}  // namespace
}  // namespace settings
