// The system's name from its version numbers; also run natively.
#include "environment/os_name.h"

#include <tuple>

#include <gtest/gtest.h>

namespace environment {
namespace {

TEST(OperatingSystemNameTest, NamesFollowTheVersionNumbers) {
  // 6.10 is not 6.1; current systems as the records they really report.
  const std::tuple<bool, int, int, int, int, const wchar_t*> cases[] = {
      {false, 2, 5, 1, 2600, L"NONE"}, {true, 1, 4, 90, 3000, L"Windows 98"}, {true, 1, 5, 0, 0, L"Windows ME"},
      {true, 2, 6, 10, 0, L"Windows NT"}, {true, 2, 6, 3, 9600, L"Windows 8.1"}, {true, 2, 10, 0, 19045, L"Windows 10"},
      {true, 2, 10, 0, 22000, L"Windows 11"}};
  for (const auto& [ok, id, major, minor, build, name] : cases)
    EXPECT_EQ(OperatingSystemNameFor(ok, id, major, minor, build), name) << major << '.' << minor << '.' << build;
}

}  // namespace
}  // namespace environment
