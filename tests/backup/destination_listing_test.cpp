// When a copy's last-write time is its source's: exactly, within 2 s on FAT and exFAT, an
// hour off too on FAT, within the step a target showed. Also run natively, sanitized.
#include "backup/destination_listing.h"

#include <gtest/gtest.h>

namespace backup {
namespace {

constexpr std::int64_t kSecond = 10000000, kHour = 3600 * kSecond;
constexpr std::uint64_t kTime = kTimeThatShowsSteps;

TEST(WriteTimesTest, TheSameTimeAsTheTargetKeepsIt) {
  const TargetTimes on[] = {TimesOn(L"NTFS"), TimesOn(L"fat32"), TimesOn(L"exFAT"),
                            {StepShown(kTime, kTime - 5555555), false}};  // whole seconds
  // off, then whether that is the same time on each target above
  const std::pair<std::int64_t, std::vector<bool>> cases[] = {
      {0, {1, 1, 1, 1}},         {1, {0, 1, 1, 1}},         {-(2 * kSecond - 1), {0, 1, 1, 0}},
      {2 * kSecond, {0, 0, 0, 0}}, {kHour + kSecond, {0, 1, 0, 0}}, {-(kHour - 2 * kSecond + 1), {0, 1, 0, 0}},
      {kHour + 2 * kSecond, {0, 0, 0, 0}}};
  for (const auto& [off, same] : cases)
    for (std::size_t i = 0; i < same.size(); ++i) EXPECT_EQ(SameWriteTime(kTime, kTime + off, on[i]), same[i]) << off;
  EXPECT_EQ(StepShown(kTime, kTime), 1u);
  EXPECT_EQ(StepShown(kTime, kTime - 55555), 100000u) << "10 ms steps";
  EXPECT_EQ(StepShown(kTime, kTime + 4444445), 10000000u) << "rounded to the second";
  EXPECT_EQ(StepShown(kTime, kTime + kHour), 20000000u) << "no step wider than 2 s";
}

}  // namespace
}  // namespace backup
