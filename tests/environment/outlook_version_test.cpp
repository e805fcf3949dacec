// Mail-client version names: known builds, major versions and fallbacks.
#include "environment/outlook_version.h"

#include <gtest/gtest.h>

namespace environment {
namespace {

TEST(OutlookVersionNameTest, ExactBuildThenMajorThenTheWholeText) {
  EXPECT_EQ(OutlookVersionName(L"12.0.0.6504"), L"Outlook 2007 SP2");
  EXPECT_EQ(OutlookVersionName(L"14.0.0.61120"), L"Outlook 2010") << "only an exact build";
  EXPECT_EQ(OutlookVersionName(L"9.0.1"), L"Outlook 2000");
  EXPECT_EQ(OutlookVersionName(L"8.5.5104.6"), L"Outlook 98");
  EXPECT_EQ(OutlookVersionName(L"8.03.4629"), L"Outlook 97");
  EXPECT_EQ(OutlookVersionName(L"16.0.0.4266"), L"Outlook 16.0.0.4266");
  EXPECT_EQ(OutlookVersionName(L"09.0.1"), L"Outlook 09.0.1");
  EXPECT_EQ(OutlookVersionName(L"16"), std::nullopt) << "no dot, no major version";
  EXPECT_EQ(OutlookVersionName(L""), std::nullopt);
}

}  // namespace
}  // namespace environment
