// The HTTP(S) transfer over WinHTTP in its asynchronous mode. WinHTTP's
// threads call OnStatus, which only queues what happened and sets the
// request's event; the caller's thread takes the queue whenever it asks
// (AwaitingReply, NextPiece, WaitAndYield) and makes the next call. A
// request's state stays alive until WinHTTP says its handle is closed,
// since a read may still be writing into its buffer after a cancel.
#include "platform/http.h"

#include <windows.h>
#include <shlwapi.h>
#include <winhttp.h>

#include <atomic>
#include <deque>
#include <map>
#include <mutex>
#include <vector>

#include "platform/message_loop.h"

namespace platform {

namespace {

// Body bytes read ahead of the caller; no read is made beyond that.
constexpr std::size_t kReadAhead = 256 * 1024;
constexpr DWORD kReadSize = 64 * 1024;

struct Completion {
  DWORD status;
  DWORD length;
};

// The user's Internet settings as WinHTTP reads them.
struct ProxySettings {
  bool known = false;
  bool detect = false;
  std::wstring script, named, bypass;
};

std::wstring TakeGlobalText(LPWSTR text) {
  std::wstring value = text ? text : L"";
  if (text) GlobalFree(text);
  return value;
}

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

void CloseInternetHandle(HINTERNET& handle) {
  if (handle) WinHttpCloseHandle(handle);
  handle = nullptr;
}

}  // namespace

struct HttpTransfer::Request {
  enum class Step { kFindingProxy, kSending, kAwaitingHeaders, kBody, kDone };

  Request() : signal(CreateEventW(nullptr, FALSE, FALSE, nullptr)), buffer(kReadSize) {}
  ~Request() { CloseHandle(signal); }

  void Finish(bool ok) {
    CloseInternetHandle(resolver);
    CloseInternetHandle(request);
    CloseInternetHandle(connection);
    CloseInternetHandle(session);
    failed = failed || !ok;
    step = Step::kDone;
  }

  void Send() {
    CloseInternetHandle(resolver);
    step = Step::kSending;
    if (!WinHttpSendRequest(request, headers.empty() ? WINHTTP_NO_ADDITIONAL_HEADERS : headers.c_str(),
                            headers.empty() ? 0 : static_cast<DWORD>(-1), WINHTTP_NO_REQUEST_DATA, 0, 0,
                            id)) {
      Finish(false);
    }
  }

  // The proxy that automatic detection or the configuration script chose
  // for this address; when they chose none, the named proxy stays.
  void UseFoundProxy() {
    WINHTTP_PROXY_RESULT result = {};
    if (WinHttpGetProxyResult(resolver, &result) != ERROR_SUCCESS) return;
    if (result.cEntries > 0) {
      const WINHTTP_PROXY_RESULT_ENTRY& entry = result.pEntries[0];
      std::wstring proxy;
      if (entry.fProxy && entry.pwszProxy) proxy = entry.pwszProxy + (L":" + std::to_wstring(entry.ProxyPort));
      WINHTTP_PROXY_INFO info = {proxy.empty() ? WINHTTP_ACCESS_TYPE_NO_PROXY : WINHTTP_ACCESS_TYPE_NAMED_PROXY,
                                 proxy.empty() ? nullptr : &proxy[0], nullptr};
      WinHttpSetOption(request, WINHTTP_OPTION_PROXY, &info, sizeof info);
    }
    WinHttpFreeProxyResult(&result);
  }

  void OnHeaders() {
    DWORD code = 0, size = sizeof code;
    if (!WinHttpQueryHeaders(request, WINHTTP_QUERY_STATUS_CODE | WINHTTP_QUERY_FLAG_NUMBER,
                             WINHTTP_HEADER_NAME_BY_INDEX, &code, &size, WINHTTP_NO_HEADER_INDEX)) {
      return Finish(false);
    }
    status = static_cast<int>(code);
    size = 0;
    WinHttpQueryHeaders(request, WINHTTP_QUERY_RAW_HEADERS_CRLF, WINHTTP_HEADER_NAME_BY_INDEX,
                        WINHTTP_NO_OUTPUT_BUFFER, &size, WINHTTP_NO_HEADER_INDEX);
    raw_headers.assign(size / sizeof(wchar_t) + 1, L'\0');
    size = static_cast<DWORD>(raw_headers.size() * sizeof(wchar_t));
    if (!WinHttpQueryHeaders(request, WINHTTP_QUERY_RAW_HEADERS_CRLF, WINHTTP_HEADER_NAME_BY_INDEX,
                             &raw_headers[0], &size, WINHTTP_NO_HEADER_INDEX)) {
      raw_headers.clear();
    }
    raw_headers.resize(size / sizeof(wchar_t));
    step = Step::kBody;
  }

  // Acts on what WinHTTP has reported, then reads on when the caller has
  // room for more.
  void Pump() {
    std::deque<Completion> done;
    {
      std::lock_guard<std::mutex> lock(mutex);
      done.swap(completions);
    }
    for (const Completion& c : done) {
      if (step == Step::kDone) break;
      switch (c.status) {
        case WINHTTP_CALLBACK_STATUS_GETPROXYFORURL_COMPLETE:
          if (step == Step::kFindingProxy) UseFoundProxy(), Send();
          break;
        case WINHTTP_CALLBACK_STATUS_REQUEST_ERROR:
          // Finding no proxy automatically leaves the named one, or none.
          if (step == Step::kFindingProxy) Send();
          else Finish(false);
          break;
        case WINHTTP_CALLBACK_STATUS_SENDREQUEST_COMPLETE:
          step = Step::kAwaitingHeaders;
          if (!WinHttpReceiveResponse(request, nullptr)) Finish(false);
          break;
        case WINHTTP_CALLBACK_STATUS_HEADERS_AVAILABLE:
          OnHeaders();
          break;
        case WINHTTP_CALLBACK_STATUS_DATA_AVAILABLE:
          // Only what has arrived is read, so that the caller gets each
          // piece as it comes.
          if (c.length == 0) {
            Finish(true);
          } else if (!WinHttpReadData(request, buffer.data(), std::min(c.length, kReadSize), nullptr)) {
            Finish(false);
          }
          break;
        case WINHTTP_CALLBACK_STATUS_READ_COMPLETE:
          reading = false;
          if (c.length == 0) {
            Finish(true);
          } else {
            body.append(buffer.data(), c.length);
          }
          break;
      }
    }
    if (step == Step::kFindingProxy && GetTickCount64() > proxy_deadline) Send();
    if (step == Step::kBody && !reading && body.size() - taken < kReadAhead) {
      reading = true;
      if (!WinHttpQueryDataAvailable(request, nullptr)) {
        reading = false;
        Finish(false);
      }
    }
  }

  std::string Take(std::size_t size) {
    const std::size_t count = std::min(size, body.size() - taken);
    std::string piece = body.substr(taken, count);
    taken += count;
    if (taken >= kReadAhead) {
      body.erase(0, taken);
      taken = 0;
    }
    return piece;
  }

  DWORD_PTR id = 0;
  HINTERNET session = nullptr, connection = nullptr, request = nullptr, resolver = nullptr;
  Step step = Step::kSending;
  std::wstring headers;
  ULONGLONG proxy_deadline = 0;
  bool reading = false;  // the buffer is WinHTTP's until the read is done
  bool failed = false;
  int status = 0;
  std::wstring raw_headers;
  std::string body;  // read and not yet taken from taken on
  std::size_t taken = 0;

  // Shared with WinHTTP's threads.
  HANDLE signal;
  std::mutex mutex;
  std::deque<Completion> completions;
  std::vector<char> buffer;
};

namespace {

using Request = HttpTransfer::Request;

// Requests whose handles WinHTTP still holds, by their context value.
std::mutex requests_mutex;
std::map<DWORD_PTR, std::shared_ptr<Request>> live_requests;
std::atomic<DWORD_PTR> last_id{0};

void CALLBACK OnStatus(HINTERNET, DWORD_PTR context, DWORD status, void* info, DWORD length) {
  if (context == 0) return;
  std::shared_ptr<Request> request;
  {
    std::lock_guard<std::mutex> lock(requests_mutex);
    const auto found = live_requests.find(context);
    if (found == live_requests.end()) return;
    request = found->second;
    // Only the request handle carries the context: WinHTTP is done with the
    // buffer.
    if (status == WINHTTP_CALLBACK_STATUS_HANDLE_CLOSING) {
      live_requests.erase(found);
      return;
    }
  }
  {
    std::lock_guard<std::mutex> lock(request->mutex);
    // A count of bytes ready to read comes in the information itself.
  if (status == WINHTTP_CALLBACK_STATUS_DATA_AVAILABLE) length = *static_cast<DWORD*>(info);
  request->completions.push_back({status, length});
  }
  SetEvent(request->signal);
}

}  // namespace

HttpTransfer::HttpTransfer() = default;

HttpTransfer::~HttpTransfer() { Cancel(); }

void HttpTransfer::set_timeouts(int connect_ms, int receive_ms) {
  connect_ms_ = connect_ms;
  receive_ms_ = receive_ms;
}

void HttpTransfer::Start(const std::wstring& url, const std::wstring& headers) {
  Cancel();
  cancelled_ = false;
  request_ = std::make_shared<Request>();
  Request& r = *request_;
  r.id = ++last_id;
  r.headers = headers;

  std::wstring host(256, L'\0');
  URL_COMPONENTS parts = {sizeof parts};
  parts.lpszHostName = &host[0];
  parts.dwHostNameLength = static_cast<DWORD>(host.size());
  parts.dwUrlPathLength = static_cast<DWORD>(-1);
  parts.dwExtraInfoLength = static_cast<DWORD>(-1);
  if (!WinHttpCrackUrl(url.c_str(), 0, 0, &parts) ||
      (parts.nScheme != INTERNET_SCHEME_HTTP && parts.nScheme != INTERNET_SCHEME_HTTPS)) {
    return r.Finish(false);
  }
  host.resize(parts.dwHostNameLength);
  std::wstring path(parts.lpszUrlPath, parts.dwUrlPathLength);
  path.append(parts.lpszExtraInfo, parts.dwExtraInfoLength);
  if (path.empty()) path = L"/";

  const ProxySettings proxy = UserProxySettings();
  DWORD access = WINHTTP_ACCESS_TYPE_NO_PROXY;
  if (!proxy.known) access = WINHTTP_ACCESS_TYPE_DEFAULT_PROXY;
  if (!proxy.named.empty()) access = WINHTTP_ACCESS_TYPE_NAMED_PROXY;
  r.session = WinHttpOpen(agent_.c_str(), access,
                          proxy.named.empty() ? WINHTTP_NO_PROXY_NAME : proxy.named.c_str(),
                          proxy.bypass.empty() || proxy.named.empty() ? WINHTTP_NO_PROXY_BYPASS
                                                                      : proxy.bypass.c_str(),
                          WINHTTP_FLAG_ASYNC);
  if (!r.session) return r.Finish(false);
  WinHttpSetTimeouts(r.session, connect_ms_, connect_ms_, receive_ms_, receive_ms_);
  WinHttpSetStatusCallback(r.session, OnStatus,
                           WINHTTP_CALLBACK_FLAG_ALL_COMPLETIONS | WINHTTP_CALLBACK_FLAG_HANDLES, 0);
  r.connection = WinHttpConnect(r.session, host.c_str(), parts.nPort, 0);
  r.request = r.connection ? WinHttpOpenRequest(r.connection, L"GET", path.c_str(), nullptr,
                                                WINHTTP_NO_REFERER, WINHTTP_DEFAULT_ACCEPT_TYPES,
                                                WINHTTP_FLAG_REFRESH |
                                                    (parts.nScheme == INTERNET_SCHEME_HTTPS ? WINHTTP_FLAG_SECURE : 0))
                           : nullptr;
  if (!r.request) return r.Finish(false);
  {
    std::lock_guard<std::mutex> lock(requests_mutex);
    live_requests[r.id] = request_;
  }
  DWORD_PTR context = r.id;
  WinHttpSetOption(r.request, WINHTTP_OPTION_CONTEXT_VALUE, &context, sizeof context);
  DWORD no_redirects = WINHTTP_DISABLE_REDIRECTS;
  WinHttpSetOption(r.request, WINHTTP_OPTION_DISABLE_FEATURE, &no_redirects, sizeof no_redirects);
  // The wait for the reply's headers is not covered by the receive time-out.
  DWORD header_wait = static_cast<DWORD>(receive_ms_);
  WinHttpSetOption(r.request, WINHTTP_OPTION_RECEIVE_RESPONSE_TIMEOUT, &header_wait, sizeof header_wait);

  if ((proxy.detect || !proxy.script.empty()) &&
      WinHttpCreateProxyResolver(r.session, &r.resolver) == ERROR_SUCCESS) {
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
    r.step = Request::Step::kFindingProxy;
    r.proxy_deadline = GetTickCount64() + static_cast<ULONGLONG>(connect_ms_);
    if (WinHttpGetProxyForUrlEx(r.resolver, url.c_str(), &options, r.id) == ERROR_IO_PENDING) return;
  }
  r.Send();
}

bool HttpTransfer::AwaitingReply() {
  if (!request_ || cancelled_) return false;
  request_->Pump();
  return request_->step < Request::Step::kBody;
}

int HttpTransfer::status() const {
  return request_ && !cancelled_ ? request_->status : 0;
}

std::wstring HttpTransfer::Header(const std::wstring& name) const {
  if (!request_ || cancelled_) return L"";
  const std::wstring& raw = request_->raw_headers;
  // The first line is the status line; each further one "Name: value".
  for (std::size_t start = raw.find(L"\r\n"); start != std::wstring::npos;) {
    start += 2;
    const std::size_t end = raw.find(L"\r\n", start);
    const std::wstring line = raw.substr(start, end - start);
    const std::size_t colon = line.find(L':');
    if (colon == name.size() && CompareStringOrdinal(line.c_str(), static_cast<int>(colon), name.c_str(),
                                                     static_cast<int>(colon), TRUE) == CSTR_EQUAL) {
      const std::size_t value = line.find_first_not_of(L" \t", colon + 1);
      return value == std::wstring::npos ? L"" : line.substr(value, line.find_last_not_of(L" \t") + 1 - value);
    }
    start = end;
  }
  return L"";
}

std::optional<std::string> HttpTransfer::NextPiece(std::size_t size) {
  if (!request_ || cancelled_) return std::string();
  Request& r = *request_;
  r.Pump();
  if (r.body.size() - r.taken >= size || r.step == Request::Step::kDone) return r.Take(size);
  return std::nullopt;
}

void HttpTransfer::WaitAndYield() {
  const DWORD kLongestWaitMs = 50;
  if (request_ && !cancelled_) {
    MsgWaitForMultipleObjects(1, &request_->signal, FALSE, kLongestWaitMs, QS_ALLINPUT);
    request_->Pump();
  } else {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, kLongestWaitMs, QS_ALLINPUT);
  }
  DoEvents();
}

void HttpTransfer::Cancel() {
  if (!request_) return;
  cancelled_ = true;
  request_->Finish(false);
  request_.reset();
}

bool HttpTransfer::failed() const { return request_ && !cancelled_ && request_->failed; }

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
