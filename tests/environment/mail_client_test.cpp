// Mail-client detection against the real registry of the build's prefix,
// real files, and the stand-in mail client reached through COM.
#include "environment/mail_client.h"

#include <gtest/gtest.h>
#include <windows.h>

#include "mailserver/fake_mail_client.h"
#include "support/temp_folder.h"

namespace environment {
namespace {

void CreateKey(const wchar_t* path) {
  HKEY key = nullptr;
  RegCreateKeyExW(HKEY_CURRENT_USER, path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
  RegCloseKey(key);
}

void DeleteKey(const wchar_t* path) {
  RegDeleteTreeW(HKEY_CURRENT_USER, path);
  RegDeleteKeyW(HKEY_CURRENT_USER, path);
}

TEST(MailProfileTest, EachProfileKeyAloneIsEnough) {
  for (const wchar_t* key : kProfileKeys) DeleteKey(key);
  EXPECT_FALSE(MailProfilePresent());
  for (const wchar_t* key : kProfileKeys) {
    CreateKey(key);
    EXPECT_TRUE(MailProfilePresent()) << key;
    DeleteKey(key);
  }
  // The messaging key ends in "Profile", without an s.
  const wchar_t kNear[] =
      L"Software\\Microsoft\\Windows NT\\CurrentVersion\\Windows Messaging Subsystem\\Profiles";
  CreateKey(kNear);
  EXPECT_FALSE(MailProfilePresent());
  DeleteKey(kNear);
}

TEST(StoreFileTest, PathsInBothFormsAndSizesPastFourGigabytes) {
  using fake_mail_client::StoreIdForPath;
  EXPECT_EQ(StorePathFromStoreID(StoreIdForPath("C:\\Mail\\archive.pst", true)),
            L"C:\\Mail\\archive.pst");
  EXPECT_EQ(StorePathFromStoreID(StoreIdForPath("\\\\server\\share\\mail.pst")),
            L"\\\\server\\share\\mail.pst");
  EXPECT_EQ(StorePathFromStoreID(L"00ZZ"), std::nullopt);

  testing_support::TempFolder folder;
  testing_support::MakeSparseFile(folder / L"huge.pst", 4294967296ull + 4294967295ull);
  EXPECT_EQ(FileSizeOf(folder / L"huge.pst"), 4294967296ull + 4294967295ull);
  EXPECT_EQ(FileSizeOf(folder / L"none.pst"), 0u);
  EXPECT_EQ(FileSizeOf(L""), 0u);
}

TEST(MailClientTest, TheStandInAnswersByNameUntilItIsGone) {
  ASSERT_TRUE(fake_mail_client::Register());
  fake_mail_client::Configure(L"14.0.0.6112", {{L"Personal Folders", L"0011AA"}});
  platform::AutomationObject application = CreateMailClient();
  EXPECT_EQ(application.Text(L"Version"), L"14.0.0.6112");
  platform::AutomationObject folders =
      application.Object(L"GetNamespace", L"MAPI").Object(L"Folders");
  ASSERT_EQ(folders.Number(L"Count"), 1);
  EXPECT_EQ(folders.Object(L"Item", 1).Text(L"StoreID"), L"0011AA");
  EXPECT_THROW(folders.Object(L"Item", 2), platform::AutomationError);
  try {
    application.Text(L"NoSuchMember");
    ADD_FAILURE() << "an unknown member was answered";
  } catch (const platform::AutomationError& error) {
    EXPECT_FALSE(error.cannot_create);
    EXPECT_FALSE(error.description.empty());
  }

  EXPECT_FALSE(MailClientRunning());
  {
    fake_mail_client::RunningInstance running;
    ASSERT_TRUE(running.started());
    EXPECT_TRUE(MailClientRunning());
    running.Stop();
  }
  EXPECT_FALSE(MailClientRunning());

  application.Release();
  folders.Release();
  fake_mail_client::Unregister();
  fake_mail_client::RemoveConfiguration();
  try {
    CreateMailClient();
    ADD_FAILURE() << "created a mail client that is not there";
  } catch (const platform::AutomationError& error) {
    EXPECT_TRUE(error.cannot_create);
  }
}

}  // namespace
}  // namespace environment
