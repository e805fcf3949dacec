// Mail-client version names: known builds first, then the major version.
#include "environment/outlook_version.h"

namespace environment {

namespace {

struct VersionName {
  const wchar_t* version;
  const wchar_t* name;
};

constexpr VersionName kBuilds[] = {
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

constexpr VersionName kMajors[] = {
    {L"15", L"Outlook 2013"}, {L"14", L"Outlook 2010"},
    {L"12", L"Outlook 2007"}, {L"11", L"Outlook 2003"},
    {L"10", L"Outlook 2002"}, {L"9", L"Outlook 2000"},
};

}  // namespace

std::optional<std::wstring> OutlookVersionName(const std::wstring& version) {
  for (const VersionName& build : kBuilds) {
    if (version == build.version) return std::wstring(build.name);
  }

  const std::size_t dot = version.find(L'.');
  if (dot == std::wstring::npos) {
    return std::nullopt;
  }
  const std::wstring major = version.substr(0, dot);
  for (const VersionName& entry : kMajors) {
    if (major == entry.version) return std::wstring(entry.name);
  }
  // Outlook 98 reports 8.5; Outlook 97 the other 8.x versions.
  if (major == L"8") {
    return std::wstring(version.compare(0, 3, L"8.5") == 0 ? L"Outlook 98" : L"Outlook 97");
  }
  return L"Outlook " + version;
}

}  // namespace environment
