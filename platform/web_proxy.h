// The way to the server for one address, as the user's Internet settings
// give it: the proxies of the automatic configuration (WPAD or a
// configuration script) in the order it lists them, DIRECT included, or
// else the named proxy with its bypass list, or a direct connection. The
// lookup runs on WinHTTP's threads and answers on the window's thread; one
// that takes longer than kProxyLookupLimit goes on with the named proxy or
// directly. Used by platform/http.cpp only.
#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/form.h"

namespace platform {

constexpr std::chrono::seconds kProxyLookupLimit{15};

// One way a request can go: through proxy ("host:port", or WinHTTP's
// "scheme=host:port;..." list), directly when proxy is "", or the way
// WinHTTP's own machine setting says when the user's cannot be read.
struct ProxyRoute {
  std::wstring proxy, bypass;
  bool system_default = false;
};

// Looks up the routes to try for url; found runs once on the mailbox's
// thread, unless the lookup is dropped first.
class ProxyLookup {
 public:
  ProxyLookup();
  ~ProxyLookup();
  ProxyLookup(const ProxyLookup&) = delete;
  ProxyLookup& operator=(const ProxyLookup&) = delete;

  void Start(const std::wstring& url, const Mailbox& mailbox,
             std::function<void(std::vector<ProxyRoute>)> found);

  struct State;

 private:
  std::shared_ptr<State> state_;
};

}  // namespace platform
