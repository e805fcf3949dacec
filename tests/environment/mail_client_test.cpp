// The mail client: its profile in the prefix's registry, the stand-in through COM, store sizes.
#include "environment/mail_client.h"

#include <gtest/gtest.h>
#include <windows.h>

#include "mailserver/fake_mail_client.h"
#include "support/temp_folder.h"

namespace environment {
namespace {

void CreateKey(const wchar_t* path) { RegSetKeyValueW(HKEY_CURRENT_USER, path, nullptr, REG_SZ, L"", 2); }
void DeleteKey(const wchar_t* path) { RegDeleteTreeW(HKEY_CURRENT_USER, path), RegDeleteKeyW(HKEY_CURRENT_USER, path); }

TEST(MailProfileTest, EachProfileKeyAloneIsEnough) {
  for (const wchar_t* key : kProfileKeys) DeleteKey(key);
  EXPECT_FALSE(MailProfilePresent());
  for (const wchar_t* key : kProfileKeys) {
    CreateKey(key);
    EXPECT_TRUE(MailProfilePresent()) << key;
    DeleteKey(key);
  }
  const wchar_t kNear[] = L"Software\\Microsoft\\Windows NT\\CurrentVersion\\Windows Messaging Subsystem\\Profiles";
  CreateKey(kNear);
  EXPECT_FALSE(MailProfilePresent()) << "the messaging key ends in \"Profile\", without an s";
  DeleteKey(kNear);
}

TEST(MailClientTest, UnknownMemberIsNotAMissingClient) {
  ASSERT_TRUE(fake_mail_client::Register());
  fake_mail_client::Configure(L"14.0.0.6112", {});
  try {
    CreateMailClient().Text(L"NoSuchMember");
    ADD_FAILURE() << "an unknown member was answered";
  } catch (const platform::AutomationError& error) {
    EXPECT_FALSE(error.cannot_create || error.description.empty());
  }
  fake_mail_client::Unregister(), fake_mail_client::RemoveConfiguration();
}

TEST(StoreFileTest, SizesPastFourGigabytesAndMissingFiles) {
  testing_support::TempFolder folder;
  ASSERT_TRUE(testing_support::RunInLinuxShell(folder.path(), "truncate -s 8589934591 huge.pst"));
  EXPECT_EQ(FileSizeOf(folder / L"huge.pst"), 4294967296ull + 4294967295ull);
  EXPECT_EQ(FileSizeOf(folder / L"none.pst"), 0u);
  EXPECT_EQ(FileSizeOf(L""), 0u);
}

}  // namespace
}  // namespace environment
