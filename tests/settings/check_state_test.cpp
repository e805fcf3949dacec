// Settings values turned into check-box states, and values kept to one line.
#include "settings/check_state.h"

#include <gtest/gtest.h>

namespace settings {
namespace {

TEST(LeadingNumberTest, ReadsTheNumberAtTheStartOnly) {
  EXPECT_EQ(LeadingNumber(L"1abc"), 1.0);
  EXPECT_EQ(LeadingNumber(L"  1"), 1.0);
  EXPECT_EQ(LeadingNumber(L"1.25.7"), 1.25);
  EXPECT_EQ(LeadingNumber(L"-0.5x"), -0.5);
  EXPECT_EQ(LeadingNumber(L"+2"), 2.0);
  EXPECT_EQ(LeadingNumber(L".5"), 0.5);
  EXPECT_EQ(LeadingNumber(L"3."), 3.0);
  EXPECT_EQ(LeadingNumber(L"1 2"), 1.0);
}

TEST(LeadingNumberTest, ExponentCountsOnlyWithDigits) {
  EXPECT_EQ(LeadingNumber(L"1e2"), 100.0);
  EXPECT_EQ(LeadingNumber(L"1D+2"), 100.0);
  EXPECT_EQ(LeadingNumber(L"25e-1"), 2.5);
  EXPECT_EQ(LeadingNumber(L"1e"), 1.0);
  EXPECT_EQ(LeadingNumber(L"1e+x"), 1.0);
}

TEST(LeadingNumberTest, NoNumberReadsAsZero) {
  EXPECT_EQ(LeadingNumber(L""), 0.0);
  EXPECT_EQ(LeadingNumber(L"abc"), 0.0);
  EXPECT_EQ(LeadingNumber(L"-"), 0.0);
  EXPECT_EQ(LeadingNumber(L"."), 0.0);
  EXPECT_EQ(LeadingNumber(L"e5"), 0.0);
  EXPECT_EQ(LeadingNumber(L"\t1"), 0.0);
}

TEST(CheckStateFromValueTest, StoredStatesComeBackAsThemselves) {
  EXPECT_EQ(CheckStateFromValue(L"0"), 0);
  EXPECT_EQ(CheckStateFromValue(L"1"), 1);
  EXPECT_EQ(CheckStateFromValue(L"2"), 2);
  EXPECT_EQ(CheckStateFromValue(L"  1"), 1);
  EXPECT_EQ(CheckStateFromValue(L"1abc"), 1);
}

TEST(CheckStateFromValueTest, MissingOrTextualValuesLeaveTheBoxUnchecked) {
  EXPECT_EQ(CheckStateFromValue(L""), 0);
  EXPECT_EQ(CheckStateFromValue(L"abc"), 0);
}

TEST(CheckStateFromValueTest, FractionsRoundHalfToEven) {
  EXPECT_EQ(CheckStateFromValue(L"1.5"), 2);
  EXPECT_EQ(CheckStateFromValue(L"2.5"), 2);
  EXPECT_EQ(CheckStateFromValue(L"0.4"), 0);
  EXPECT_EQ(CheckStateFromValue(L"0.5"), 0);
  EXPECT_EQ(CheckStateFromValue(L"0.6"), 1);
  EXPECT_EQ(CheckStateFromValue(L"-0.4"), 0);
}

TEST(CheckStateFromValueTest, NumbersThatAreNoStateAreRejected) {
  EXPECT_EQ(CheckStateFromValue(L"7"), std::nullopt);
  EXPECT_EQ(CheckStateFromValue(L"-1"), std::nullopt);
  EXPECT_EQ(CheckStateFromValue(L"3.5"), std::nullopt);
  EXPECT_EQ(CheckStateFromValue(L"-0.6"), std::nullopt);
  EXPECT_EQ(CheckStateFromValue(L"1e999"), std::nullopt);
  EXPECT_EQ(CheckStateFromValue(L"99999999999999999999"), std::nullopt);
}

TEST(WithoutLineBreaksTest, EachBreakCharacterBecomesOneSpace) {
  EXPECT_EQ(WithoutLineBreaks(L"\r\n"), L"  ");
  EXPECT_EQ(WithoutLineBreaks(L"D:\\a\rb\nc"), L"D:\\a b c");
  EXPECT_EQ(WithoutLineBreaks(L"D:\\Copias"), L"D:\\Copias");
  EXPECT_EQ(WithoutLineBreaks(L""), L"");
}

}  // namespace
}  // namespace settings
