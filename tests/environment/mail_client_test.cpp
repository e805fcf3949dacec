// Mail-client detection against the real registry of the build's prefix,
// real files, and the stand-in mail client reached through COM.
#include "environment/mail_client.h"

#include <gtest/gtest.h>
#include <windows.h>

#include "mailserver/fake_mail_client.h"
#include "platform/mail_client.h"
#include "support/temp_folder.h"

namespace environment {
namespace {

using testing_support::TempFolder;

void CreateKey(const wchar_t* path) {
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                            nullptr),
            ERROR_SUCCESS);
  RegCloseKey(key);
}

void DeleteKey(const wchar_t* path) {
  RegDeleteTreeW(HKEY_CURRENT_USER, path);
  RegDeleteKeyW(HKEY_CURRENT_USER, path);
}

// Each case starts with none of the profile keys and leaves none behind.
class ProfileKeysTest : public testing::Test {
 protected:
  void SetUp() override { TearDown(); }
  void TearDown() override {
    for (const wchar_t* key : kProfileKeys) DeleteKey(key);
  }
};

TEST_F(ProfileKeysTest, NoKeyMeansNoMailClient) { EXPECT_FALSE(MailProfilePresent()); }

TEST_F(ProfileKeysTest, EachKeyAloneIsEnough) {
  for (const wchar_t* key : kProfileKeys) {
    CreateKey(key);
    EXPECT_TRUE(MailProfilePresent()) << key;
    DeleteKey(key);
  }
}

TEST_F(ProfileKeysTest, TheMessagingKeyEndsInProfileWithoutS) {
  CreateKey(L"Software\\Microsoft\\Windows NT\\CurrentVersion\\Windows Messaging Subsystem\\Profiles");
  EXPECT_FALSE(MailProfilePresent());
  DeleteKey(L"Software\\Microsoft\\Windows NT\\CurrentVersion\\Windows Messaging Subsystem\\Profiles");
}

TEST(RegKeyExistsTest, FollowsTheKeyBeingCreatedAndDeleted) {
  const wchar_t kKey[] = L"Software\\Tavrik Tests\\Some Key";
  DeleteKey(kKey);
  EXPECT_FALSE(RegKeyExists(kKey));
  CreateKey(kKey);
  EXPECT_TRUE(RegKeyExists(kKey));
  DeleteKey(kKey);
  EXPECT_FALSE(RegKeyExists(kKey));
}

TEST(FileSizeOfTest, MissingFileAndNoPathAreZero) {
  TempFolder folder;
  EXPECT_EQ(FileSizeOf(folder / L"none.pst"), 0u);
  EXPECT_EQ(FileSizeOf(L""), 0u);
}

TEST(FileSizeOfTest, SmallFile) {
  TempFolder folder;
  testing_support::WriteFile(folder / L"outlook.pst", std::string(1536, 'x'));
  EXPECT_EQ(FileSizeOf(folder / L"outlook.pst"), 1536u);
}

TEST(FileSizeOfTest, BetweenTwoAndFourGigabytesIsNotNegative) {
  TempFolder folder;
  testing_support::MakeSparseFile(folder / L"big.pst", 3000000000ull);
  EXPECT_EQ(FileSizeOf(folder / L"big.pst"), 3000000000ull);
}

TEST(FileSizeOfTest, FourGigabytesCountsTheHighWord) {
  TempFolder folder;
  testing_support::MakeSparseFile(folder / L"huge.pst", 4294967296ull);
  EXPECT_EQ(FileSizeOf(folder / L"huge.pst"), 4294967296ull);
  testing_support::MakeSparseFile(folder / L"huger.pst", 4294967296ull + 4294967295ull);
  EXPECT_EQ(FileSizeOf(folder / L"huger.pst"), 4294967296ull + 4294967295ull);
}

TEST(StorePathFromStoreIDTest, GivesWideTextForBothForms) {
  using fake_mail_client::StoreIdForPath;
  EXPECT_EQ(StorePathFromStoreID(StoreIdForPath("C:\\Mail\\archive.pst")), L"C:\\Mail\\archive.pst");
  EXPECT_EQ(StorePathFromStoreID(StoreIdForPath("C:\\Mail\\archive.pst", true)),
            L"C:\\Mail\\archive.pst");
  EXPECT_EQ(StorePathFromStoreID(StoreIdForPath("\\\\server\\share\\mail.pst")),
            L"\\\\server\\share\\mail.pst");
  EXPECT_EQ(StorePathFromStoreID(L"0000414243"), L"");
  EXPECT_EQ(StorePathFromStoreID(L"00ZZ"), std::nullopt);
}

TEST(StorePathFromStoreIDTest, AccentedBytesAreReadInTheAnsiCodePage) {
  if (GetACP() != 1252) GTEST_SKIP() << "the prefix's ANSI code page is not 1252";
  EXPECT_EQ(StorePathFromStoreID(fake_mail_client::StoreIdForPath("C:\\Correo\\espa\xF1ol.pst")),
            L"C:\\Correo\\espa\u00F1ol.pst");
}

// The automation layer against the stand-in, registered for the group.
class MailClientTest : public testing::Test {
 protected:
  static void SetUpTestSuite() { ASSERT_TRUE(fake_mail_client::Register()); }
  static void TearDownTestSuite() {
    fake_mail_client::Unregister();
    fake_mail_client::RemoveConfiguration();
  }
};

TEST_F(MailClientTest, ReadsVersionAndStoresByName) {
  fake_mail_client::Configure(L"14.0.0.6112", {{L"Personal Folders", L"0011AA"},
                                               {L"Archive", L"00BB"}});
  platform::AutomationObject application = platform::CreateMailClient();
  EXPECT_EQ(application.Text(L"Version"), L"14.0.0.6112");
  platform::AutomationObject folders = application.Object(L"GetNamespace", L"MAPI").Object(L"Folders");
  ASSERT_EQ(folders.Number(L"Count"), 2);
  EXPECT_EQ(folders.Object(L"Item", 1).Text(L"Name"), L"Personal Folders");
  EXPECT_EQ(folders.Object(L"Item", 1).Text(L"StoreID"), L"0011AA");
  EXPECT_EQ(folders.Object(L"Item", 2).Text(L"Name"), L"Archive");
}

TEST_F(MailClientTest, RefusedCallsAreErrorsNotCannotCreate) {
  fake_mail_client::Configure(L"12.0.0.6300", {});
  platform::AutomationObject application = platform::CreateMailClient();
  try {
    application.Text(L"NoSuchMember");
    FAIL() << "an unknown member was answered";
  } catch (const platform::AutomationError& error) {
    EXPECT_FALSE(error.cannot_create);
    EXPECT_NE(error.number, 0);
    EXPECT_FALSE(error.description.empty());
  }
  platform::AutomationObject folders = application.Object(L"GetNamespace", L"MAPI").Object(L"Folders");
  EXPECT_EQ(folders.Number(L"Count"), 0);
  EXPECT_THROW(folders.Object(L"Item", 1), platform::AutomationError);
}

TEST_F(MailClientTest, RunningOnlyWhileAnInstanceIsInTheTable) {
  fake_mail_client::Configure(L"15.0.0.4128", {});
  EXPECT_FALSE(platform::MailClientRunning());
  {
    fake_mail_client::RunningInstance running;
    ASSERT_TRUE(running.started());
    EXPECT_TRUE(platform::MailClientRunning());
    running.Stop();
    EXPECT_FALSE(platform::MailClientRunning());
  }
}

TEST(MailClientMissingTest, UnregisteredClassCannotBeCreated) {
  fake_mail_client::Unregister();
  try {
    platform::CreateMailClient();
    FAIL() << "created a mail client that is not there";
  } catch (const platform::AutomationError& error) {
    EXPECT_TRUE(error.cannot_create);
  }
  EXPECT_FALSE(platform::MailClientRunning());
}

}  // namespace
}  // namespace environment
