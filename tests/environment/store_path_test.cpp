// Store file paths recovered from StoreIDs of various shapes.
#include "environment/store_path.h"

#include <gtest/gtest.h>

#include <string>

namespace environment {
namespace {

// Hexadecimal digits for bytes, as the mail client writes a StoreID.
std::wstring Hex(const std::string& bytes) {
  static const wchar_t kDigits[] = L"0123456789ABCDEF";
  std::wstring hex;
  for (unsigned char b : bytes) {
    hex += kDigits[b >> 4];
    hex += kDigits[b & 0xF];
  }
  return hex;
}

// The same text with a zero byte after each character, as a 16-bit path.
std::string Wide(const std::string& text) {
  std::string bytes;
  for (char c : text) {
    bytes += c;
    bytes += '\0';
  }
  return bytes;
}

const std::string kHeader("\x00\x00\x00\x00\x38\xA1\xBB\x10\x05\xE5\x10\x1A", 12);

TEST(PstPathFromStoreIDTest, EightBitPathAfterTheHeader) {
  const std::wstring id = Hex(kHeader + "mspst.dll" + std::string(1, '\0') +
                              "C:\\Mail\\archive.pst" + std::string(3, '\0'));
  EXPECT_EQ(PstPathFromStoreID(id), "C:\\Mail\\archive.pst");
}

TEST(PstPathFromStoreIDTest, SixteenBitPathGivesTheSameText) {
  const std::wstring id = Hex(kHeader + Wide("C:\\Mail\\archive.pst") + std::string(2, '\0'));
  EXPECT_EQ(PstPathFromStoreID(id), "C:\\Mail\\archive.pst");
}

TEST(PstPathFromStoreIDTest, EverythingAfterThePathStartIsKept) {
  const std::wstring id = Hex(kHeader + "D:\\a.pst" + std::string(1, '\0') + "\x01xyz");
  EXPECT_EQ(PstPathFromStoreID(id), "D:\\a.pst\x01xyz");
}

TEST(PstPathFromStoreIDTest, FirstDriveColonWinsOverANetworkPath) {
  EXPECT_EQ(PstPathFromStoreID(Hex("\\\\srv\\x E:\\b.pst")), "E:\\b.pst");
}

TEST(PstPathFromStoreIDTest, NetworkPathWithoutDrive) {
  const std::wstring id = Hex(kHeader + "\\\\server\\share\\mail.pst");
  EXPECT_EQ(PstPathFromStoreID(id), "\\\\server\\share\\mail.pst");
}

TEST(PstPathFromStoreIDTest, NoPathGivesEmptyText) {
  EXPECT_EQ(PstPathFromStoreID(L""), "");
  EXPECT_EQ(PstPathFromStoreID(Hex(kHeader + "EMSMDB.DLL")), "");
  // A lone backslash or colon is not the start of a path.
  EXPECT_EQ(PstPathFromStoreID(Hex("a\\b:c")), "");
}

TEST(PstPathFromStoreIDTest, DriveColonAtTheVeryStartHasNoDriveLetter) {
  EXPECT_EQ(PstPathFromStoreID(Hex(":\\x.pst")), ":\\x.pst");
}

TEST(PstPathFromStoreIDTest, BytesAbove127StayAsAnsiBytes) {
  const std::wstring id = Hex(kHeader + "C:\\Correo\\A\xF1o 2012.pst");
  EXPECT_EQ(PstPathFromStoreID(id), "C:\\Correo\\A\xF1o 2012.pst");
}

TEST(PstPathFromStoreIDTest, LowerCaseDigitsAreHexadecimalToo) {
  EXPECT_EQ(PstPathFromStoreID(L"433a5c612e707374"), "C:\\a.pst");
}

TEST(PstPathFromStoreIDTest, OnlyWholeZeroPairsAreDropped) {
  EXPECT_EQ(PstPathFromStoreID(L"4300" L"3A5C"), "C:\\");
  // The zeros of 30 03 straddle two pairs: both bytes are kept.
  EXPECT_EQ(PstPathFromStoreID(L"5C5C" L"3003"), "\\\\0\x03");
}

TEST(PstPathFromStoreIDTest, OddLengthReadsTheLastDigitAlone) {
  EXPECT_EQ(PstPathFromStoreID(L"433A5C41" L"7"), "C:\\A\x07");
  EXPECT_EQ(PstPathFromStoreID(L"433A5C" L"0"), std::string("C:\\\0", 4));
}

TEST(PstPathFromStoreIDTest, NonHexadecimalCharacterIsRejected) {
  EXPECT_EQ(PstPathFromStoreID(L"433A5CZZ"), std::nullopt);
  EXPECT_EQ(PstPathFromStoreID(L"433A5CG"), std::nullopt);
  EXPECT_EQ(PstPathFromStoreID(L"43 3A5C"), std::nullopt);
  EXPECT_EQ(PstPathFromStoreID(L"-1"), std::nullopt);
  EXPECT_EQ(PstPathFromStoreID(L"43\u00E93A"), std::nullopt);
}

}  // namespace
}  // namespace environment
