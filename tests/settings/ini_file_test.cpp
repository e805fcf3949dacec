// The settings file through the real private-profile functions: where it is,
// what survives a write and a read, and how stored values become states.
#include "settings/ini_file.h"

#include <gtest/gtest.h>

#include "platform/files.h"
#include "settings/check_state.h"
#include "support/temp_folder.h"
#include "support/window_input.h"

namespace settings {
namespace {

using testing_support::ScopedEnvironmentValue;
using testing_support::TempFolder;

class IniFileTest : public ::testing::Test {
 protected:
  TempFolder folder;
  std::wstring file = folder / kIniFileName;
};

TEST_F(IniFileTest, MissingFileSectionOrKeyGivesTheFallback) {
  EXPECT_EQ(ReadIni(file, L"main", L"target", L""), L"");
  WriteIni(file, L"main", L"log", L"1");
  EXPECT_EQ(ReadIni(file, L"main", L"target", L""), L"");
  EXPECT_EQ(ReadIni(file, L"PST", L"log", L""), L"");
  EXPECT_EQ(ReadIni(file, L"main", L"target", L"none"), L"none");
  EXPECT_EQ(ReadIni(file, L"main", L"log", L""), L"1");
}

TEST_F(IniFileTest, ALongTargetReadsBackAsIts254FirstCharacters) {
  std::wstring target = L"D:\\";
  while (target.size() < 300) target += L"abcdefghij";
  target.resize(300);
  WriteIni(file, L"main", L"target", target);
  EXPECT_NE(testing_support::ReadFile(file).find(platform::ToAnsi(target)), std::string::npos)
      << "saved whole";
  EXPECT_EQ(ReadIni(file, L"main", L"target", L""), target.substr(0, 254));
}

TEST_F(IniFileTest, LineBreaksAreStoredAsSpacesOnOneLine) {
  std::wstring value = L"D:\\a\r\nb\nc\rd";
  WriteIni(file, L"main", L"target", value);
  WriteIni(file, L"main", L"log", L"0");
  EXPECT_EQ(ReadIni(file, L"main", L"target", L""), L"D:\\a  b c d");
  EXPECT_EQ(ReadIni(file, L"main", L"log", L""), L"0");
  EXPECT_EQ(value, L"D:\\a\r\nb\nc\rd") << "the caller's text is not changed";
}

TEST_F(IniFileTest, TextIsKeptInTheAnsiCodePage) {
  WriteIni(file, L"main", L"target", L"D:\\Copias de seguridad\\Año");
  std::string bytes = testing_support::ReadFile(file);
  EXPECT_NE(bytes.find(platform::ToAnsi(L"Año")), std::string::npos);
  EXPECT_EQ(bytes.find("\xEF\xBB\xBF"), std::string::npos) << "no UTF-8 mark";
  EXPECT_EQ(ReadIni(file, L"main", L"target", L""), L"D:\\Copias de seguridad\\Año");
}

TEST_F(IniFileTest, EntriesOnlyAccumulate) {
  // A row saved as ticked in one run and left unticked in the next: the
  // second run writes nothing for it, so the old "1" stays.
  WriteIni(file, L"systemfolders", L"16", L"1");
  WriteIni(file, L"systemfolders", L"5", L"1");
  WriteIni(file, L"main", L"target", L"D:\\first");
  WriteIni(file, L"main", L"target", L"D:\\second");
  WriteIni(file, L"systemfolders", L"5", L"1");
  EXPECT_EQ(ReadIni(file, L"systemfolders", L"16", L""), L"1");
  EXPECT_EQ(ReadIni(file, L"systemfolders", L"5", L""), L"1");
  EXPECT_EQ(ReadIni(file, L"main", L"target", L""), L"D:\\second");
}

TEST_F(IniFileTest, StoreIdsAreKeysAsTheyCome) {
  std::wstring store_id(140, L'0');
  for (size_t i = 0; i < store_id.size(); ++i) store_id[i] = L"0123456789ABCDEF"[i % 16];
  WriteIni(file, L"PST", store_id, L"1");
  EXPECT_EQ(ReadIni(file, L"PST", store_id, L""), L"1");
  EXPECT_EQ(ReadIni(file, L"PST", store_id.substr(1), L""), L"");
}

class LocateIniFileTest : public ::testing::Test {
 protected:
  TempFolder program;
  TempFolder app_data;
  ScopedEnvironmentValue app_data_value{L"AppData", app_data.path()};
};

TEST_F(LocateIniFileTest, WithoutAFileBesideTheProgramItIsInAppDataExistingOrNot) {
  EXPECT_EQ(LocateIniFile(program.path()), app_data / kIniFileName);
  EXPECT_FALSE(platform::FileExists(app_data / kIniFileName));
  testing_support::WriteFile(app_data / kIniFileName, "[main]\r\nlog=1\r\n");
  EXPECT_EQ(LocateIniFile(program.path()), app_data / kIniFileName);
}

TEST_F(LocateIniFileTest, TheFileBesideTheProgramWinsAndTakesTheWrites) {
  testing_support::WriteFile(app_data / kIniFileName, "[main]\r\ntarget=D:\\appdata\r\n");
  testing_support::WriteFile(program / kIniFileName, "[main]\r\ntarget=D:\\beside\r\n");
  std::wstring file = LocateIniFile(program.path());
  EXPECT_EQ(file, program / kIniFileName);
  EXPECT_EQ(ReadIni(file, L"main", L"target", L""), L"D:\\beside");
  WriteIni(file, L"main", L"log", L"1");
  EXPECT_EQ(ReadIni(program / kIniFileName, L"main", L"log", L""), L"1");
  EXPECT_EQ(ReadIni(app_data / kIniFileName, L"main", L"log", L""), L"");
}

TEST_F(LocateIniFileTest, AHiddenOrSystemFileBesideTheProgramDoesNotCount) {
  testing_support::WriteFile(program / kIniFileName, "[main]\r\n");
  testing_support::SetAttributes(program / kIniFileName, platform::kAttributeHidden);
  EXPECT_EQ(LocateIniFile(program.path()), app_data / kIniFileName);
  testing_support::SetAttributes(program / kIniFileName, platform::kAttributeSystem);
  EXPECT_EQ(LocateIniFile(program.path()), app_data / kIniFileName);
}

TEST_F(LocateIniFileTest, AFolderOfThatNameBesideTheProgramDoesNotCount) {
  testing_support::MakeFolders(program / kIniFileName);
  EXPECT_EQ(LocateIniFile(program.path()), app_data / kIniFileName);
}

TEST_F(LocateIniFileTest, TheRunningProgramLooksInItsOwnFolder) {
  std::wstring beside = platform::ProgramFolder() + L"\\" + kIniFileName;
  ASSERT_FALSE(platform::FileExists(beside)) << "a settings file was left beside the tests";
  EXPECT_EQ(LocateIniFile(), app_data / kIniFileName);
  testing_support::WriteFile(beside, "[main]\r\n");
  std::wstring found = LocateIniFile();
  platform::DeleteFileAt(beside);
  EXPECT_EQ(found, beside);
}

// The stored value for a row or the log box, read from a real file, as the
// start-up turns it into a check-box state.
class StoredStateTest : public IniFileTest {
 protected:
  int StateOf(const std::wstring& value) {
    WriteIni(file, L"systemfolders", L"16", value);
    return StoredCheckState(ReadIni(file, L"systemfolders", L"16", L""));
  }
};

TEST_F(StoredStateTest, ZeroEmptyOrTextLeaveTheBoxUnchecked) {
  EXPECT_EQ(StateOf(L"0"), 0);
  EXPECT_EQ(StateOf(L""), 0);
  EXPECT_EQ(StateOf(L"yes"), 0);
  EXPECT_EQ(StoredCheckState(ReadIni(file, L"main", L"missing", L"")), 0);
}

TEST_F(StoredStateTest, OneChecksAndTwoGrays) {
  EXPECT_EQ(StateOf(L"1"), 1);
  EXPECT_EQ(StateOf(L"2"), 2);
  EXPECT_EQ(StateOf(L"1.5"), 2);
  EXPECT_EQ(StateOf(L"2.5"), 2);
}

TEST_F(StoredStateTest, LeadingSpacesAreSkipped) {
  // The profile functions drop the blanks around a value themselves; the
  // rule skips them too when a value reaches it with them.
  EXPECT_EQ(StateOf(L"   1"), 1);
  EXPECT_EQ(StoredCheckState(L"   1"), 1);
  EXPECT_EQ(StoredCheckState(L"  2x"), 2);
}

TEST_F(StoredStateTest, NumbersThatAreNoStateLeaveTheBoxUnchecked) {
  EXPECT_EQ(StateOf(L"7"), 0);
  EXPECT_EQ(StateOf(L"-1"), 0);
  EXPECT_EQ(StateOf(L"3.5"), 0);
}

}  // namespace
}  // namespace settings
