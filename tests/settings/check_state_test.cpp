// The one rule by which a stored value becomes a check-box state, and the
// line-break rule for written values.
#include "settings/check_state.h"

#include <gtest/gtest.h>

namespace settings {
namespace {

TEST(StoredCheckStateTest, TheLeadingNumberRoundedHalfToEvenIfItIsAState) {
  EXPECT_EQ(StoredCheckState(L"1"), 1);
  EXPECT_EQ(StoredCheckState(L"2"), 2);
  EXPECT_EQ(StoredCheckState(L"  1abc"), 1);
  EXPECT_EQ(StoredCheckState(L"1.5"), 2);
  EXPECT_EQ(StoredCheckState(L"2.5"), 2);
  EXPECT_EQ(StoredCheckState(L"0.6"), 1);
  EXPECT_EQ(StoredCheckState(L"+1"), 1);
  EXPECT_EQ(StoredCheckState(L".5"), 0);
  EXPECT_EQ(StoredCheckState(L"15e-1"), 2);
  EXPECT_EQ(StoredCheckState(L"1D"), 1) << "an exponent counts only with digits";
  EXPECT_EQ(StoredCheckState(L"1e2"), 0);
  // No number, or one that is no state, leaves the box unchecked.
  for (const wchar_t* value : {L"", L"abc", L"\t1", L"7", L"-1", L"3.5", L"1e999",
                               L"99999999999999999999"})
    EXPECT_EQ(StoredCheckState(value), 0) << value;
}

TEST(WithoutLineBreaksTest, EachBreakCharacterBecomesOneSpace) {
  EXPECT_EQ(WithoutLineBreaks(L"D:\\a\rb\nc\r\n"), L"D:\\a b c  ");
}

}  // namespace
}  // namespace settings
