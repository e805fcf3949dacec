// Web addresses: what decides where a request goes, and a redirect's
// target, as WinHTTP and the shell read them.
#pragma once

#include <optional>
#include <string>

namespace platform {

// Nothing for an address that is not http:// or https://.
struct WebAddress {
  bool secure = false;  // https
  std::wstring host;
  int port = 0;
};
std::optional<WebAddress> ParseWebAddress(const std::wstring& url);
// A redirect's location (absolute, or relative to url) as a full address.
std::wstring ResolveWebAddress(const std::wstring& url, const std::wstring& location);

}  // namespace platform
