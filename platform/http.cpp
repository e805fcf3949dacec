// The HTTP(S) transfer over WinHTTP in its asynchronous mode: the caller's
// thread moves its request on (platform/http_request.h) whenever it asks
// (AwaitingReply, NextPiece, WaitAndYield).
#include "platform/http.h"

#include <windows.h>
#include <winhttp.h>

#include "platform/http_request.h"
#include "platform/message_loop.h"
#include "platform/web_proxy.h"

namespace platform {

HttpTransfer::HttpTransfer() = default;

HttpTransfer::~HttpTransfer() { Cancel(); }

void HttpTransfer::set_timeouts(int connect_ms, int receive_ms) {
  connect_ms_ = connect_ms;
  receive_ms_ = receive_ms;
}

void HttpTransfer::Start(const std::wstring& url, const std::wstring& headers) {
  Cancel();
  cancelled_ = false;
  request_ = std::make_shared<HttpRequest>();
  HttpRequest& r = *request_;
  r.id = NewRequestId();
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
  r.session = OpenProxiedSession(agent_, proxy);
  if (!r.session) return r.Finish(false);
  WinHttpSetTimeouts(r.session, connect_ms_, connect_ms_, receive_ms_, receive_ms_);
  WinHttpSetStatusCallback(r.session, OnRequestStatus,
                           WINHTTP_CALLBACK_FLAG_ALL_COMPLETIONS | WINHTTP_CALLBACK_FLAG_HANDLES, 0);
  r.connection = WinHttpConnect(r.session, host.c_str(), parts.nPort, 0);
  r.request = r.connection ? WinHttpOpenRequest(r.connection, L"GET", path.c_str(), nullptr,
                                                WINHTTP_NO_REFERER, WINHTTP_DEFAULT_ACCEPT_TYPES,
                                                WINHTTP_FLAG_REFRESH |
                                                    (parts.nScheme == INTERNET_SCHEME_HTTPS ? WINHTTP_FLAG_SECURE : 0))
                           : nullptr;
  if (!r.request) return r.Finish(false);
  KeepUntilClosed(request_);
  DWORD_PTR context = r.id;
  WinHttpSetOption(r.request, WINHTTP_OPTION_CONTEXT_VALUE, &context, sizeof context);
  DWORD no_redirects = WINHTTP_DISABLE_REDIRECTS;
  WinHttpSetOption(r.request, WINHTTP_OPTION_DISABLE_FEATURE, &no_redirects, sizeof no_redirects);
  // The wait for the reply's headers is not covered by the receive time-out.
  DWORD header_wait = static_cast<DWORD>(receive_ms_);
  WinHttpSetOption(r.request, WINHTTP_OPTION_RECEIVE_RESPONSE_TIMEOUT, &header_wait, sizeof header_wait);

  if (StartProxyLookup(r.session, url, proxy, r.id, r.resolver)) {
    r.step = HttpRequest::Step::kFindingProxy;
    r.proxy_deadline = GetTickCount64() + static_cast<ULONGLONG>(connect_ms_);
    return;
  }
  r.Send();
}

bool HttpTransfer::AwaitingReply() {
  if (!request_ || cancelled_) return false;
  request_->Pump();
  return request_->step < HttpRequest::Step::kBody;
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
  HttpRequest& r = *request_;
  r.Pump();
  if (r.body.size() - r.taken >= size || r.step == HttpRequest::Step::kDone) return r.Take(size);
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

}  // namespace platform
