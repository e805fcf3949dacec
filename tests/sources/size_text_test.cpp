// Size texts and the sizes they are made from; also run natively.
#include "sources/size_text.h"

#include <cstdint>
#include <utility>

#include <gtest/gtest.h>

namespace sources {
namespace {

TEST(SizeTextTest, UnitSwitchesJustAbove1024AndHalvesGoToEven) {
  const std::pair<std::uint64_t, const wchar_t*> cases[] = {
      {512, L"0 KB"}, {1536, L"2 KB"}, {2560, L"2 KB"}, {1048576, L"1024 KB"}, {1048577, L"1 MB"},
      {3670016, L"4 MB"}, {1073741824, L"1024 MB"}, {1073742848, L"1 GB"}};
  for (const auto& [bytes, text] : cases)
    EXPECT_EQ(SizeText(TenThousandthBytesFromBytes(bytes)), text) << bytes;
  // Kilobytes are first rounded to four places: 1048576.05 bytes (1024.0000488 KB) are
  // held as 1024; 2560.041 bytes (2.50004 KB) as 2.5000, which then rounds to even: 2.
  EXPECT_EQ(SizeText(10485760500), L"1024 KB");
  EXPECT_EQ(SizeText(25600410), L"2 KB");
}

TEST(TenThousandthBytesTest, WholeBytesSurviveDoubles) {
  const TenThousandthBytes large = TenThousandthBytesFromBytes(922337203685477);
  EXPECT_EQ(TenThousandthBytesFromDouble(TenThousandthBytesToDouble(large)), large);
  EXPECT_EQ(TenThousandthBytesFromDouble(0.00025), 2);
  EXPECT_EQ(TenThousandthBytesFromDouble(0.00035), 4);
}

}  // namespace
}  // namespace sources
