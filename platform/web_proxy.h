// The user's proxy, as the system's Internet settings dialog stores it, for
// the WinHTTP transfer: a named proxy is set on the session; automatic
// detection and a configuration script are looked up per address, without
// blocking, before the request is sent. Used by platform/http.cpp only.
#pragma once

#include <string>

#include <windows.h>
#include <winhttp.h>

namespace platform {

struct ProxySettings {
  bool known = false;  // the settings could be read
  bool detect = false;
  std::wstring script, named, bypass;
};
ProxySettings UserProxySettings();

// An asynchronous session through the named proxy, when there is one.
HINTERNET OpenProxiedSession(const std::wstring& agent, const ProxySettings& proxy);

// Starts looking up url's proxy by detection or the configuration script;
// the end is reported to the status callback with context. False when the
// user has neither or the lookup did not start: the named proxy then stays.
// resolver is set once made, and is the caller's to close.
bool StartProxyLookup(HINTERNET session, const std::wstring& url, const ProxySettings& proxy,
                      DWORD_PTR context, HINTERNET& resolver);

// Puts the proxy the lookup chose on the request; when it chose none, the
// named proxy stays.
void UseFoundProxy(HINTERNET resolver, HINTERNET request);

}  // namespace platform
