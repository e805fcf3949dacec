// How stored values read as check states and switches; also run natively.
#include "settings/stored_values.h"

#include <utility>

#include <gtest/gtest.h>

namespace settings {
namespace {

TEST(StoredCheckStateTest, LeadingNumberRoundedHalfToEven) {
  const std::pair<const wchar_t*, int> cases[] = {
      {L"1", 1},  {L"2", 2},   {L"  1abc", 1}, {L"1.5", 2}, {L"2.5", 2}, {L"0.6", 1}, {L"+1", 1}, {L".5", 0},
      {L"15e-1", 2}, {L"1D", 1}, {L"1e2", 0}, {L"", 0}, {L"abc", 0}, {L"\t1", 0}, {L"7", 0}, {L"-1", 0},
      {L"3.5", 0}, {L"1e999", 0}, {L"99999999999999999999", 0}};  // "1D": an exponent counts only with digits
  for (const auto& [value, state] : cases)
    EXPECT_EQ(static_cast<int>(StoredCheckState(value)), state) << value;
}

// "changed": only a 1 turns it on, so older and hand-edited files keep the default.
TEST(StoredSwitchTest, OnlyAOneIsOn) {
  for (const wchar_t* value : {L"", L"0", L"7", L"1.0", L"-1", L"on"}) EXPECT_FALSE(StoredSwitch(value)) << value;
  EXPECT_TRUE(StoredSwitch(L"1"));
}

}  // namespace
}  // namespace settings
