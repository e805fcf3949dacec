// Mail-client version names: known builds, major versions and fallbacks.
#include "environment/outlook_version.h"

#include <gtest/gtest.h>

namespace environment {
namespace {

struct Row {
  const wchar_t* version;
  const wchar_t* name;
};

TEST(GetOutlookVersionNameTest, KnownBuildsByExactText) {
  const Row rows[] = {
      {L"15.0.0.4128", L"Outlook 2013 Beta"},
      {L"14.0.0.6112", L"Outlook 2010 SP2"},
      {L"14.0.0.6023", L"Outlook 2010 SP1"},
      {L"14.0.0.4760", L"Outlook 2012"},
      {L"12.0.0.4518", L"Outlook 2007 RTM"},
      {L"12.0.0.6014", L"Outlook 2007 (April 13, 2007 Update)"},
      {L"12.0.0.6300", L"Outlook 2007 SP1"},
      {L"12.0.0.6316", L"Outlook 2007 SP1 (May 29, 2008 Update)"},
      {L"12.0.0.6341", L"Outlook 2007 pre-SP2 (February 24, 2009 Update)"},
      {L"12.0.0.6504", L"Outlook 2007 SP2"},
      {L"12.0.0.6510", L"Outlook 2007 (June 30, 2009 Update)"},
      {L"11.5608.5606", L"Outlook 2003 RTM"},
      {L"11.5608.5703", L"Outlook 2003 (11.4.2003 Update)"},
      {L"11.6359.6360", L"Outlook 2003 SP1"},
      {L"11.8206.8202", L"Outlook 2003 SP3"},
      {L"11.8217.8202", L"Outlook 2003 SP3 (July 8, 2008 Update)"},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(GetOutlookVersionName(row.version), row.name) << row.version;
  }
}

TEST(GetOutlookVersionNameTest, OtherBuildsByMajorVersion) {
  const Row rows[] = {
      {L"15.0.0.4420", L"Outlook 2013"},  {L"14.0.0.7012", L"Outlook 2010"},
      {L"12.0.0.6423", L"Outlook 2007"},  {L"11.0.5510", L"Outlook 2003"},
      {L"10.0.2627.1", L"Outlook 2002"},  {L"9.0.1", L"Outlook 2000"},
      {L"9.0.0.2711", L"Outlook 2000"},   {L"8.5.5104.6", L"Outlook 98"},
      {L"8.03.4629", L"Outlook 97"},      {L"8.0", L"Outlook 97"},
      {L"8.50", L"Outlook 98"},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(GetOutlookVersionName(row.version), row.name) << row.version;
  }
}

TEST(GetOutlookVersionNameTest, ExactMatchWinsOverMajorVersion) {
  // A build text that merely starts like a known one is not that build.
  EXPECT_EQ(GetOutlookVersionName(L"14.0.0.61120"), L"Outlook 2010");
  EXPECT_EQ(GetOutlookVersionName(L" 14.0.0.6112"), L"Outlook  14.0.0.6112");
}

TEST(GetOutlookVersionNameTest, UnknownMajorGivesTheWholeVersionText) {
  EXPECT_EQ(GetOutlookVersionName(L"16.0.0.4266"), L"Outlook 16.0.0.4266");
  EXPECT_EQ(GetOutlookVersionName(L"7.1"), L"Outlook 7.1");
  EXPECT_EQ(GetOutlookVersionName(L"."), L"Outlook .");
  EXPECT_EQ(GetOutlookVersionName(L"09.0.1"), L"Outlook 09.0.1");
}

TEST(GetOutlookVersionNameTest, VersionWithoutDotHasNoName) {
  EXPECT_EQ(GetOutlookVersionName(L""), std::nullopt);
  EXPECT_EQ(GetOutlookVersionName(L"16"), std::nullopt);
  EXPECT_EQ(GetOutlookVersionName(L"14"), std::nullopt);
}

}  // namespace
}  // namespace environment
