// Mail-client detection against the real registry of the build's prefix,
// the stand-in mail client reached through COM, store file sizes and
// version names. The start-up tests drive the stand-in further.
#include "environment/mail_client.h"

#include <gtest/gtest.h>
#include <windows.h>

#include "environment/outlook_version.h"
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

TEST(MailClientTest, AnUnknownMemberIsAnErrorOfItsOwnNotAMissingClient) {
  ASSERT_TRUE(fake_mail_client::Register());
  fake_mail_client::Configure(L"14.0.0.6112", {});
  try {
    CreateMailClient().Text(L"NoSuchMember");
    ADD_FAILURE() << "an unknown member was answered";
  } catch (const platform::AutomationError& error) {
    EXPECT_FALSE(error.cannot_create);
    EXPECT_FALSE(error.description.empty());
  }
  fake_mail_client::Unregister();
  fake_mail_client::RemoveConfiguration();
}

TEST(StoreFileTest, SizesPastFourGigabytesAndMissingFiles) {
  testing_support::TempFolder folder;
  testing_support::MakeSparseFile(folder / L"huge.pst", 4294967296ull + 4294967295ull);
  EXPECT_EQ(FileSizeOf(folder / L"huge.pst"), 4294967296ull + 4294967295ull);
  EXPECT_EQ(FileSizeOf(folder / L"none.pst"), 0u);
  EXPECT_EQ(FileSizeOf(L""), 0u);
}

TEST(OutlookVersionNameTest, ExactBuildThenMajorThenTheWholeText) {
  EXPECT_EQ(OutlookVersionName(L"14.0.0.61120"), L"Outlook 2010") << "only an exact build";
  EXPECT_EQ(OutlookVersionName(L"8.5.5104.6"), L"Outlook 98");
  EXPECT_EQ(OutlookVersionName(L"8.03.4629"), L"Outlook 97");
  EXPECT_EQ(OutlookVersionName(L"09.0.1"), L"Outlook 09.0.1");
  EXPECT_EQ(OutlookVersionName(L""), std::nullopt);
}

}  // namespace
}  // namespace environment
