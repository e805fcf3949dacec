// Web addresses taken apart by WinHTTP and put together by the shell.
#include "platform/web_address.h"

#include <windows.h>
#include <shlwapi.h>
#include <winhttp.h>

namespace platform {

std::optional<WebAddress> ParseWebAddress(const std::wstring& url) {
  URL_COMPONENTS parts = {sizeof parts};
  parts.dwHostNameLength = static_cast<DWORD>(-1);
  if (!WinHttpCrackUrl(url.c_str(), 0, 0, &parts) ||
      (parts.nScheme != INTERNET_SCHEME_HTTP && parts.nScheme != INTERNET_SCHEME_HTTPS) ||
      parts.dwHostNameLength == 0) {
    return std::nullopt;
  }
  WebAddress address;
  address.secure = parts.nScheme == INTERNET_SCHEME_HTTPS;
  address.host.assign(parts.lpszHostName, parts.dwHostNameLength);
  CharLowerBuffW(&address.host[0], static_cast<DWORD>(address.host.size()));
  address.port = parts.nPort;
  return address;
}

std::wstring ResolveWebAddress(const std::wstring& url, const std::wstring& location) {
  std::wstring combined(4096, L'\0');
  DWORD size = static_cast<DWORD>(combined.size());
  if (FAILED(UrlCombineW(url.c_str(), location.c_str(), &combined[0], &size, 0))) return L"";
  combined.resize(size);
  return combined;
}

}  // namespace platform
