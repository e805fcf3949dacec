// The mail client: detection in the prefix's registry, the stand-in through
// COM, store paths from StoreIDs, store sizes and version names.
#include "environment/mail_client.h"

#include <gtest/gtest.h>
#include <windows.h>

#include "environment/outlook_version.h"
#include "environment/store_path.h"
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
  // The messaging key ends in "Profile", without an s.
  const wchar_t kNear[] = L"Software\\Microsoft\\Windows NT\\CurrentVersion\\Windows Messaging Subsystem\\Profiles";
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
  ASSERT_TRUE(testing_support::RunInLinuxShell(folder.path(), "truncate -s 8589934591 huge.pst"));
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

// Hexadecimal digits for bytes, as the mail client writes a StoreID.
std::wstring Hex(const std::string& bytes) {
  std::wstring hex;
  for (unsigned char b : bytes) hex += {L"0123456789ABCDEF"[b >> 4], L"0123456789ABCDEF"[b & 15]};
  return hex;
}

const std::string kHeader("\x00\x00\x00\x00\x38\xA1\xBB\x10\x05\xE5\x10\x1A", 12);

TEST(AnsiStorePathTest, ThePathIsFoundByItsStartWhateverSurroundsItInDigitPairs) {
  const std::string wide_path("C\0:\0\\\0a\0.\0p\0s\0t\0", 16);
  EXPECT_EQ(AnsiStorePathFromStoreID(Hex(kHeader + wide_path)), "C:\\a.pst");
  EXPECT_EQ(AnsiStorePathFromStoreID(Hex(kHeader + "mspst.dll" + std::string(1, '\0') +
                                         "D:\\Correo\\A\xF1o.pst" + std::string(1, '\0') + "x")),
            "D:\\Correo\\A\xF1o.pstx");
  EXPECT_EQ(AnsiStorePathFromStoreID(Hex("\\\\srv\\x E:\\b.pst")), "E:\\b.pst");
  EXPECT_EQ(AnsiStorePathFromStoreID(Hex(kHeader + "\\\\server\\m.pst")), "\\\\server\\m.pst");
  EXPECT_EQ(AnsiStorePathFromStoreID(Hex(kHeader + "EMSMDB.DLL")), "");
  EXPECT_EQ(AnsiStorePathFromStoreID(L"433a5c612e707374"), "C:\\a.pst");
  // Digit pairs are read as they stand: the zeros of 30 03 straddle two pairs: both bytes are kept.
  EXPECT_EQ(AnsiStorePathFromStoreID(L"5C5C3003"), "\\\\0\x03");
  EXPECT_EQ(AnsiStorePathFromStoreID(L"433A5C417"), "C:\\A\x07") << "an odd last digit";
  EXPECT_EQ(AnsiStorePathFromStoreID(L"433A5CZZ"), std::nullopt);
  EXPECT_EQ(AnsiStorePathFromStoreID(L"43 3A5C"), std::nullopt);
}

}  // namespace
}  // namespace environment
