// The update of an installation for all users, in this process: the elevation
// is a seam that runs the apply-update step at once, as the installed program
// started with an administrator's rights would; and what updates leave behind.
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
    MakeFolders(program);  // the installation's folder, which the user's programs cannot change
    SetAttributes(program, 0x1);  // FILE_ATTRIBUTE_READONLY
    MakeFolders(about.local_data_folder);  // the user's own, for the downloads
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
  EXPECT_TRUE(started_bytes == NewInstaller() && !changeable) << "held unchangeable while it starts";
  EXPECT_TRUE(shell_calls == std::vector<std::wstring>{L"run stopped"} && ended) << "the user's file is never started";
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

// A folder others can change, a file swapped after the check (an older signed
// one, one with bytes added), a refused prompt; in either language.
TEST_F(AllUsersTest, EachRefusalStartsNothingAndLeavesTheProgramAsItWas) {
  const std::vector<std::function<void()>> refusals = {
      [this] { changed_by_others = program; },
      [this] { changed_by_others = program + L"\\Update"; },
      [this] { before_apply = [this] { WriteFile(user_copy, OldInstaller()), WriteFile(user_copy + L".sig", OldSignature()); }; },
      [this] { before_apply = [this] { WriteFile(user_copy, NewInstaller() + "tail"); }; },
      [this] { refuse_prompt = true; }};
  for (const auto& refuse : refusals) {
    changed_by_others.clear(), before_apply = nullptr;
    about.texts = kTexts;
    Offer();
    about.texts = app::TextsOf(app::Language::kSpanish).about;
    refuse();
    Press();
    EXPECT_TRUE(started.empty() && !ended);
    EXPECT_FALSE(platform::FileExists(program + L"\\Update\\install.exe") || platform::FileExists(user_copy));
    EXPECT_EQ(about.status.text(), L"Error updating...");
    EXPECT_TRUE(about.button.text() == L"CERRAR" && about.button.enabled());
  }
  EXPECT_EQ(elevated.size(), refusals.size()) << "one prompt each";
}

// Folder rights read from security descriptors in the system's notation.
TEST(FolderRightsTest, ReadFromSecurityDescriptors) {
  for (const auto& [sddl, only] : std::vector<std::pair<const wchar_t*, bool>>{
           {L"O:BAD:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)(A;OICI;0x1200a9;;;BU)(D;OICI;FA;;;WD)", true},
           {L"O:BAD:(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)(A;OICIIO;SDGXGWGR;;;AU)", false},
           {L"O:BUD:P(A;OICI;FA;;;BA)", false}}) {  // the users own it
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl, SDDL_REVISION_1, &descriptor, nullptr));
    EXPECT_EQ(platform::OnlyAdministratorsCanChange(platform::RightsOfDescriptor(descriptor)), only) << sddl;
    LocalFree(descriptor);
  }
}

TEST(InstallerLeftoversTest, TheNextStartRemovesThemAndAnEmptyUserFolder) {
  testing_support::TempFolder folder;
  const std::wstring program = folder / L"Program", local = folder / L"Local\\Tavrik Backup";
  const std::wstring places[] = {program, program + L"\\Update", local};
  const wchar_t* const names[] = {L"\\install.exe", L"\\install.exe.sig", L"\\install.exe.part", L"\\install.exe.sig.part"};
  for (const std::wstring& place : places)
    for (const wchar_t* name : names) WriteFile(place + name, "left");
  WriteFile(program + L"\\TavrikBackup.exe", "the program");
  RemoveInstallerLeftovers(program, local);
  for (const std::wstring& place : places)
    for (const wchar_t* name : names) EXPECT_FALSE(platform::FileExists(place + name)) << place << name;
  EXPECT_FALSE(platform::FolderExists(local) || platform::FolderExists(program + L"\\Update"));
  EXPECT_TRUE(platform::FileExists(program + L"\\TavrikBackup.exe"));
  WriteFile(local + L"\\TavrikBackup.upd", kOffer);  // a user folder that holds more stays
  WriteFile(local + L"\\install.exe", "left");
  RemoveInstallerLeftovers(program, local);
  EXPECT_TRUE(ReadFile(local + L"\\TavrikBackup.upd") == kOffer && !platform::FileExists(local + L"\\install.exe"));
}

}  // namespace
}  // namespace update
