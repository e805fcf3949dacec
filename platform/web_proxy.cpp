// The user's proxy settings and their automatic lookup through WinHTTP.
#include "platform/web_proxy.h"

namespace platform {
namespace {

std::wstring TakeGlobalText(LPWSTR text) {
  std::wstring value = text ? text : L"";
  if (text) GlobalFree(text);
  return value;
}

}  // namespace

ProxySettings UserProxySettings() {
  ProxySettings settings;
  WINHTTP_CURRENT_USER_IE_PROXY_CONFIG config = {};
  if (!WinHttpGetIEProxyConfigForCurrentUser(&config)) return settings;
  settings.known = true;
  settings.detect = config.fAutoDetect != FALSE;
  settings.script = TakeGlobalText(config.lpszAutoConfigUrl);
  settings.named = TakeGlobalText(config.lpszProxy);
  settings.bypass = TakeGlobalText(config.lpszProxyBypass);
  return settings;
}

HINTERNET OpenProxiedSession(const std::wstring& agent, const ProxySettings& proxy) {
  DWORD access = WINHTTP_ACCESS_TYPE_NO_PROXY;
  if (!proxy.known) access = WINHTTP_ACCESS_TYPE_DEFAULT_PROXY;
  if (!proxy.named.empty()) access = WINHTTP_ACCESS_TYPE_NAMED_PROXY;
  return WinHttpOpen(agent.c_str(), access,
                     proxy.named.empty() ? WINHTTP_NO_PROXY_NAME : proxy.named.c_str(),
                     proxy.bypass.empty() || proxy.named.empty() ? WINHTTP_NO_PROXY_BYPASS
                                                                 : proxy.bypass.c_str(),
                     WINHTTP_FLAG_ASYNC);
}

bool StartProxyLookup(HINTERNET session, const std::wstring& url, const ProxySettings& proxy,
                      DWORD_PTR context, HINTERNET& resolver) {
  if ((!proxy.detect && proxy.script.empty()) ||
      WinHttpCreateProxyResolver(session, &resolver) != ERROR_SUCCESS) {
    return false;
  }
  WINHTTP_AUTOPROXY_OPTIONS options = {};
  if (proxy.detect) {
    options.dwFlags |= WINHTTP_AUTOPROXY_AUTO_DETECT;
    options.dwAutoDetectFlags = WINHTTP_AUTO_DETECT_TYPE_DHCP | WINHTTP_AUTO_DETECT_TYPE_DNS_A;
  }
  if (!proxy.script.empty()) {
    options.dwFlags |= WINHTTP_AUTOPROXY_CONFIG_URL;
    options.lpszAutoConfigUrl = proxy.script.c_str();
  }
  options.fAutoLogonIfChallenged = TRUE;
  return WinHttpGetProxyForUrlEx(resolver, url.c_str(), &options, context) == ERROR_IO_PENDING;
}

void UseFoundProxy(HINTERNET resolver, HINTERNET request) {
  WINHTTP_PROXY_RESULT result = {};
  if (WinHttpGetProxyResult(resolver, &result) != ERROR_SUCCESS) return;
  if (result.cEntries > 0) {
    const WINHTTP_PROXY_RESULT_ENTRY& entry = result.pEntries[0];
    std::wstring proxy;
    if (entry.fProxy && entry.pwszProxy) proxy = entry.pwszProxy + (L":" + std::to_wstring(entry.ProxyPort));
    const DWORD access = proxy.empty() ? WINHTTP_ACCESS_TYPE_NO_PROXY : WINHTTP_ACCESS_TYPE_NAMED_PROXY;
    WINHTTP_PROXY_INFO info = {access, proxy.empty() ? nullptr : &proxy[0], nullptr};
    WinHttpSetOption(request, WINHTTP_OPTION_PROXY, &info, sizeof info);
  }
  WinHttpFreeProxyResult(&result);
}

}  // namespace platform
