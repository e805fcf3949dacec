// The mail client's version names and store paths from StoreIDs; also run natively.
#include "environment/store_path.h"

#include <string>

#include <gtest/gtest.h>

#include "environment/outlook_version.h"

namespace environment {
namespace {

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

TEST(AnsiStorePathTest, PathFoundByItsStartAmongDigitPairs) {
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
