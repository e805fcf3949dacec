// The user's proxy settings and their automatic lookup through WinHTTP's
// proxy resolver, with a threadpool timer for its time limit.
#include "platform/web_proxy.h"

#include <windows.h>
#include <winhttp.h>

#include <atomic>
#include <map>
#include <mutex>

namespace platform {
namespace {

std::wstring TakeGlobalText(LPWSTR text) {
  std::wstring value = text ? text : L"";
  if (text) GlobalFree(text);
  return value;
}

struct UserSettings {
  bool known = false;  // the settings could be read
  bool detect = false;
  std::wstring script, named, bypass;
};

UserSettings ReadUserSettings() {
  UserSettings settings;
  WINHTTP_CURRENT_USER_IE_PROXY_CONFIG config = {};
  if (!WinHttpGetIEProxyConfigForCurrentUser(&config)) return settings;
  settings.known = true;
  settings.detect = config.fAutoDetect != FALSE;
  settings.script = TakeGlobalText(config.lpszAutoConfigUrl);
  settings.named = TakeGlobalText(config.lpszProxy);
  settings.bypass = TakeGlobalText(config.lpszProxyBypass);
  return settings;
}

}  // namespace

// Owned by the window's thread; WinHTTP's threads and the timer's only find
// it by its id in the registry below and post to its mailbox.
struct ProxyLookup::State {
  ~State() {
    if (timer) {
      SetThreadpoolTimer(timer, nullptr, 0, 0);
      WaitForThreadpoolTimerCallbacks(timer, TRUE);
      CloseThreadpoolTimer(timer);
    }
    if (resolver) WinHttpCloseHandle(resolver);
    if (session) WinHttpCloseHandle(session);
  }
  // Answers once: with what the lookup found, or the fallback.
  void Finish(std::vector<ProxyRoute> routes) {
    if (!found) return;
    auto answer = std::move(found);
    found = nullptr;
    answer(routes.empty() ? std::vector<ProxyRoute>{fallback} : std::move(routes));
  }
  void OnLookupDone(bool ok);

  DWORD_PTR id = 0;
  Mailbox mailbox;
  std::function<void(std::vector<ProxyRoute>)> found;
  ProxyRoute fallback;
  HINTERNET session = nullptr, resolver = nullptr;
  PTP_TIMER timer = nullptr;
};

namespace {

// The lookups still running, by id. Other threads never hold a lookup's
// state: its last reference goes on the window's thread, where its timer is
// closed.
std::mutex lookups_mutex;
std::map<DWORD_PTR, std::pair<std::weak_ptr<ProxyLookup::State>, Mailbox>> lookups;
std::atomic<DWORD_PTR> last_lookup{0};

// Runs task on the lookup's window thread, if the lookup is still there.
void PostToLookup(DWORD_PTR id, void (*task)(ProxyLookup::State&, bool), bool ok) {
  std::weak_ptr<ProxyLookup::State> weak;
  Mailbox mailbox;
  {
    std::lock_guard<std::mutex> lock(lookups_mutex);
    const auto found = lookups.find(id);
    if (found == lookups.end()) return;
    weak = found->second.first;
    mailbox = found->second.second;
  }
  mailbox.Post([weak, task, ok] {
    if (const auto state = weak.lock()) task(*state, ok);
  });
}

void CALLBACK OnResolverStatus(HINTERNET, DWORD_PTR context, DWORD status, void*, DWORD) {
  if (context == 0) return;
  if (status == WINHTTP_CALLBACK_STATUS_GETPROXYFORURL_COMPLETE ||
      status == WINHTTP_CALLBACK_STATUS_REQUEST_ERROR) {
    PostToLookup(context, [](ProxyLookup::State& s, bool ok) { s.OnLookupDone(ok); },
                 status == WINHTTP_CALLBACK_STATUS_GETPROXYFORURL_COMPLETE);
  }
}

void CALLBACK OnLookupTimeUp(PTP_CALLBACK_INSTANCE, void* context, PTP_TIMER) {
  PostToLookup(reinterpret_cast<DWORD_PTR>(context),
               [](ProxyLookup::State& s, bool) { s.Finish({}); }, false);
}

}  // namespace

void ProxyLookup::State::OnLookupDone(bool ok) {
  std::vector<ProxyRoute> routes;
  WINHTTP_PROXY_RESULT result = {};
  if (ok && WinHttpGetProxyResult(resolver, &result) == ERROR_SUCCESS) {
    for (DWORD i = 0; i < result.cEntries; ++i) {
      const WINHTTP_PROXY_RESULT_ENTRY& entry = result.pEntries[i];
      ProxyRoute route;
      if (entry.fProxy && entry.pwszProxy)
        route.proxy = entry.pwszProxy + (L":" + std::to_wstring(entry.ProxyPort));
      routes.push_back(route);
    }
    WinHttpFreeProxyResult(&result);
  }
  Finish(std::move(routes));
}

ProxyLookup::ProxyLookup() = default;

ProxyLookup::~ProxyLookup() {
  if (!state_) return;
  std::lock_guard<std::mutex> lock(lookups_mutex);
  lookups.erase(state_->id);
}

void ProxyLookup::Start(const std::wstring& url, const Mailbox& mailbox,
                        std::function<void(std::vector<ProxyRoute>)> found) {
  if (state_) {
    std::lock_guard<std::mutex> lock(lookups_mutex);
    lookups.erase(state_->id);
  }
  state_ = std::make_shared<State>();
  State& s = *state_;
  s.id = ++last_lookup;
  s.mailbox = mailbox;
  s.found = std::move(found);
  const UserSettings settings = ReadUserSettings();
  s.fallback.system_default = !settings.known;
  if (!settings.named.empty()) s.fallback = {settings.named, settings.bypass, false};
  {
    std::lock_guard<std::mutex> lock(lookups_mutex);
    lookups[s.id] = {state_, mailbox};
  }
  const auto answer_later = [this] {
    std::weak_ptr<State> weak = state_;
    state_->mailbox.Post([weak] {
      if (const auto state = weak.lock()) state->Finish({});
    });
  };
  if (!settings.detect && settings.script.empty()) return answer_later();

  s.session = WinHttpOpen(L"", WINHTTP_ACCESS_TYPE_NO_PROXY, WINHTTP_NO_PROXY_NAME,
                          WINHTTP_NO_PROXY_BYPASS, WINHTTP_FLAG_ASYNC);
  if (!s.session || WinHttpCreateProxyResolver(s.session, &s.resolver) != ERROR_SUCCESS)
    return answer_later();
  WinHttpSetStatusCallback(s.resolver, OnResolverStatus,
                           WINHTTP_CALLBACK_FLAG_REQUEST_ERROR |
                               WINHTTP_CALLBACK_FLAG_GETPROXYFORURL_COMPLETE,
                           0);
  WINHTTP_AUTOPROXY_OPTIONS options = {};
  if (settings.detect) {
    options.dwFlags |= WINHTTP_AUTOPROXY_AUTO_DETECT;
    options.dwAutoDetectFlags = WINHTTP_AUTO_DETECT_TYPE_DHCP | WINHTTP_AUTO_DETECT_TYPE_DNS_A;
  }
  if (!settings.script.empty()) {
    options.dwFlags |= WINHTTP_AUTOPROXY_CONFIG_URL;
    options.lpszAutoConfigUrl = settings.script.c_str();
  }
  options.fAutoLogonIfChallenged = TRUE;
  if (WinHttpGetProxyForUrlEx(s.resolver, url.c_str(), &options, s.id) != ERROR_IO_PENDING)
    return answer_later();
  s.timer = CreateThreadpoolTimer(OnLookupTimeUp, reinterpret_cast<void*>(s.id), nullptr);
  if (!s.timer) return;
  // A relative due time, in units of 100 ns.
  const LONGLONG due = -std::chrono::duration_cast<std::chrono::nanoseconds>(kProxyLookupLimit).count() / 100;
  FILETIME when;
  when.dwLowDateTime = static_cast<DWORD>(due);
  when.dwHighDateTime = static_cast<DWORD>(due >> 32);
  SetThreadpoolTimer(s.timer, &when, 0, 0);
}

}  // namespace platform
