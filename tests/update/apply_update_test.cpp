// The update of an installation for all users, in this process: the
// elevation is a seam that runs the apply-update step at once, as the
// installed program started with an administrator's rights would. Also the
// clean-up of what updates leave behind.
#include "update/apply_update.h"

#include <windows.h>
#include <sddl.h>

#include "app/texts.h"
#include "platform/elevation.h"
#include "update/about_fixture.h"

namespace update {
namespace {

struct AllUsersTest : AboutTest {
  void SetUp() override {
    AboutTest::SetUp();
    about.all_users_install = true;
    about.program_folder = program;
    // The installation's folder, which the user's programs cannot change.
    MakeFolders(program);
    SetAttributes(program, 0x1);  // FILE_ATTRIBUTE_READONLY
    // The user's own writable folder gets the downloads.
    about.local_data_folder = folder / L"local";
    MakeFolders(about.local_data_folder);
    about.start_elevated = [this](const std::wstring& exe, const std::wstring& parameters, auto ended) {
      elevated.push_back(exe + L" " + parameters);
      if (refuse_prompt) return false;
      if (before_apply) before_apply();
      const std::wstring downloaded = parameters.substr(parameters.find(L'"') + 1, parameters.rfind(L'"') - parameters.find(L'"') - 1);
      ApplySetup setup{program, TAVRIK_TEST_UPDATE_PUBLIC_KEY_PEM, kRunning,
                       [this](const std::wstring& file, const std::wstring& options) {
                         started.push_back(file + L" " + options);
                         started_bytes = ReadFile(file);
                         HANDLE writer = CreateFileW(file.c_str(), GENERIC_WRITE, 7, nullptr, OPEN_EXISTING, 0, nullptr);
                         changeable = writer != INVALID_HANDLE_VALUE || DeleteFileW(file.c_str());
                         if (writer != INVALID_HANDLE_VALUE) CloseHandle(writer);
                         return true;
                       },
                       [this](const std::wstring& checked) { return checked != changed_by_others; }};
      ended(ApplyDownloadedUpdate(downloaded, setup));
      return true;
    };
  }
  void TearDown() override {
    SetAttributes(program, 0x80);  // FILE_ATTRIBUTE_NORMAL
    AboutTest::TearDown();
  }

  const std::wstring program = folder / L"Program";
  const std::wstring user_copy = folder / L"local\\Tavrik Backup\\install.exe";
  std::vector<std::wstring> elevated, started;
  std::string started_bytes;
  bool changeable = true;
  std::wstring changed_by_others;
  bool refuse_prompt = false;
  std::function<void()> before_apply;
};

TEST_F(AllUsersTest, TheInstalledProgramStartsOnlyItsOwnVerifiedCopy) {
  about.before_install = [this] { shell_calls.push_back(L"run stopped"); };
  Offer();
  Press();
  EXPECT_EQ(elevated, std::vector<std::wstring>{program + L"\\TavrikBackup.exe /apply-update \"" + user_copy + L"\""});
  EXPECT_EQ(started, std::vector<std::wstring>{program + L"\\Update\\install.exe /S /ALLUSERS /START"});
  EXPECT_EQ(started_bytes, NewInstaller());
  EXPECT_FALSE(changeable);
  EXPECT_EQ(shell_calls, std::vector<std::wstring>{L"run stopped"}) << "the user's file is never started";
  EXPECT_TRUE(ended);
}

TEST_F(AllUsersTest, NothingIsCopiedOrStartedFromAFolderOthersCanChange) {
  for (const std::wstring& folder : {program, program + L"\\Update"}) {
    changed_by_others = folder;
    Offer();
    Press();
    EXPECT_TRUE(started.empty());
    EXPECT_FALSE(platform::FileExists(program + L"\\Update\\install.exe"));
    EXPECT_EQ(about.status.text(), L"Error updating...");
  }
}

// Closing would remove the user's copies from under the elevated step.
TEST_F(AllUsersTest, TheWindowStaysOpenWhileTheElevatedStepRuns) {
  std::function<void(bool)> elevated_end;
  about.start_elevated = [&](const std::wstring&, const std::wstring&, auto end) { return elevated_end = end, true; };
  Offer();
  about.OnButtonClick();
  ASSERT_TRUE(PumpUntil([&] { return elevated_end != nullptr; }));
  SendMessageW(about.handle(), WM_CLOSE, 0, 0);
  EXPECT_TRUE(about.loaded() && platform::FileExists(user_copy));
  elevated_end(false);
  EXPECT_EQ(about.status.text(), L"Error updating...");
  SendMessageW(about.handle(), WM_CLOSE, 0, 0);
  EXPECT_FALSE(about.loaded());
}

TEST_F(AllUsersTest, AFileSwappedAfterTheCheckIsRefusedAndNothingStarts) {
  for (const auto& swap : std::vector<std::pair<std::string, std::string>>{
           {OldInstaller(), OldSignature()}, {NewInstaller() + "tail", NewSignature()}}) {
    before_apply = [&] { WriteFile(user_copy, swap.first), WriteFile(user_copy + L".sig", swap.second); };
    Offer();
    Press();
    EXPECT_TRUE(started.empty());
    EXPECT_FALSE(platform::FileExists(program + L"\\Update\\install.exe"));
    EXPECT_EQ(about.status.text(), L"Error updating...");
    EXPECT_EQ(about.button.text(), kTexts.close);
    EXPECT_FALSE(ended || platform::FileExists(user_copy));
  }
}

TEST_F(AllUsersTest, ARefusedPromptLeavesTheProgramAsItWasInEitherLanguage) {
  refuse_prompt = true;
  Offer();
  about.texts = app::TextsOf(app::Language::kSpanish).about;
  Press();
  EXPECT_EQ(elevated.size(), 1u);
  EXPECT_TRUE(started.empty() && !ended);
  EXPECT_EQ(about.status.text(), L"Error updating...");
  EXPECT_EQ(about.button.text(), L"CERRAR");
  EXPECT_TRUE(about.button.enabled());
}

bool FromNotation(const wchar_t* sddl) {
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  EXPECT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl, SDDL_REVISION_1, &descriptor, nullptr));
  const bool only = platform::OnlyAdministratorsCanChange(platform::RightsOfDescriptor(descriptor));
  LocalFree(descriptor);
  return only;
}

// Folder rights read from security descriptors in the system's notation.
TEST(FolderRightsTest, ReadFromSecurityDescriptors) {
  EXPECT_TRUE(FromNotation(L"O:BAD:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)(A;OICI;0x1200a9;;;BU)(D;OICI;FA;;;WD)"));
  EXPECT_FALSE(FromNotation(L"O:BAD:(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)(A;OICIIO;SDGXGWGR;;;AU)"));
  EXPECT_FALSE(FromNotation(L"O:BUD:P(A;OICI;FA;;;BA)")) << "the users own it";
}
TEST(InstallerLeftoversTest, TheNextStartRemovesThemAndAnEmptyUserFolder) {
  testing_support::TempFolder folder;
  const std::wstring program = folder / L"Program", local = folder / L"Local\\Tavrik Backup";
  const std::vector<std::wstring> names = {L"install.exe", L"install.exe.sig", L"install.exe.part",
                                           L"install.exe.sig.part"};
  for (const std::wstring& place : {program, program + L"\\Update", local})
    for (const std::wstring& name : names) WriteFile(place + L"\\" + name, "left");
  WriteFile(program + L"\\TavrikBackup.exe", "the program");
  RemoveInstallerLeftovers(program, local);
  for (const std::wstring& place : {program, program + L"\\Update", local})
    for (const std::wstring& name : names) EXPECT_FALSE(platform::FileExists(place + L"\\" + name)) << place << name;
  EXPECT_FALSE(platform::FolderExists(local) || platform::FolderExists(program + L"\\Update"));
  EXPECT_TRUE(platform::FileExists(program + L"\\TavrikBackup.exe"));
  // A user folder that holds more stays.
  WriteFile(local + L"\\TavrikBackup.upd", kOffer);
  WriteFile(local + L"\\install.exe", "left");
  RemoveInstallerLeftovers(program, local);
  EXPECT_EQ(ReadFile(local + L"\\TavrikBackup.upd"), kOffer);
  EXPECT_FALSE(platform::FileExists(local + L"\\install.exe"));
}

}  // namespace
}  // namespace update
