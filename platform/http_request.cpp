// One attempt's handles and steps, the registry of attempts WinHTTP still
// holds, and its status callback.
#include "platform/http_request.h"

#include <algorithm>
#include <atomic>
#include <map>

namespace platform {
namespace {

// Requests whose handles WinHTTP still holds, by their context value.
std::mutex requests_mutex;
std::map<DWORD_PTR, std::shared_ptr<HttpRequest>> live_requests;
std::atomic<DWORD_PTR> last_id{0};

void CloseInternetHandle(HINTERNET& handle) {
  if (handle) WinHttpCloseHandle(handle);
  handle = nullptr;
}

void CALLBACK OnRequestStatus(HINTERNET, DWORD_PTR context, DWORD status, void* info, DWORD length) {
  if (context == 0) return;
  std::shared_ptr<HttpRequest> request;
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
  DWORD value = length;
  // A count of bytes ready to read, and an error, come in the information.
  if (status == WINHTTP_CALLBACK_STATUS_DATA_AVAILABLE) value = *static_cast<DWORD*>(info);
  if (status == WINHTTP_CALLBACK_STATUS_REQUEST_ERROR)
    value = static_cast<WINHTTP_ASYNC_RESULT*>(info)->dwError;
  request->Report(status, value);
}

}  // namespace

void HttpRequest::Report(DWORD status, DWORD value) {
  bool post = false;
  {
    std::lock_guard<std::mutex> lock(mutex);
    completions.push_back({status, value});
    post = !posted;
    posted = true;
  }
  if (!post) return;
  std::weak_ptr<HttpRequest> weak = weak_from_this();
  mailbox.Post([weak] {
    const std::shared_ptr<HttpRequest> r = weak.lock();
    if (!r) return;
    r->Pump();
    // A copy: what it calls may start the transfer afresh and drop this one.
    const std::function<void()> moved = r->moved;
    if (moved) moved();
  });
}

// Reported as WinHTTP reports a failure that comes later, so that it moves
// the transfer on (to the next route) the same way.
void HttpRequest::FailNow() {
  Report(WINHTTP_CALLBACK_STATUS_REQUEST_ERROR, GetLastError());
}

bool HttpRequest::Open(const std::wstring& agent, const std::wstring& url, const ProxyRoute& route,
                       int connect_ms, int receive_ms) {
  std::wstring host(256, L'\0');
  URL_COMPONENTS parts = {sizeof parts};
  parts.lpszHostName = &host[0];
  parts.dwHostNameLength = static_cast<DWORD>(host.size());
  parts.dwUrlPathLength = static_cast<DWORD>(-1);
  parts.dwExtraInfoLength = static_cast<DWORD>(-1);
  if (!WinHttpCrackUrl(url.c_str(), 0, 0, &parts) ||
      (parts.nScheme != INTERNET_SCHEME_HTTP && parts.nScheme != INTERNET_SCHEME_HTTPS)) {
    return false;
  }
  host.resize(parts.dwHostNameLength);
  std::wstring path(parts.lpszUrlPath, parts.dwUrlPathLength);
  path.append(parts.lpszExtraInfo, parts.dwExtraInfoLength);
  if (path.empty()) path = L"/";

  DWORD access = route.proxy.empty() ? WINHTTP_ACCESS_TYPE_NO_PROXY : WINHTTP_ACCESS_TYPE_NAMED_PROXY;
  if (route.system_default) access = WINHTTP_ACCESS_TYPE_DEFAULT_PROXY;
  session = WinHttpOpen(agent.c_str(), access,
                        route.proxy.empty() ? WINHTTP_NO_PROXY_NAME : route.proxy.c_str(),
                        route.proxy.empty() || route.bypass.empty() ? WINHTTP_NO_PROXY_BYPASS
                                                                    : route.bypass.c_str(),
                        WINHTTP_FLAG_ASYNC);
  if (!session) return false;
  // TLS 1.2 and 1.3 only; a system that does not know 1.3 takes 1.2 alone.
  DWORD protocols = WINHTTP_FLAG_SECURE_PROTOCOL_TLS1_2 | WINHTTP_FLAG_SECURE_PROTOCOL_TLS1_3;
  if (!WinHttpSetOption(session, WINHTTP_OPTION_SECURE_PROTOCOLS, &protocols, sizeof protocols)) {
    protocols = WINHTTP_FLAG_SECURE_PROTOCOL_TLS1_2;
    WinHttpSetOption(session, WINHTTP_OPTION_SECURE_PROTOCOLS, &protocols, sizeof protocols);
  }
  WinHttpSetTimeouts(session, connect_ms, connect_ms, receive_ms, receive_ms);
  WinHttpSetStatusCallback(session, OnRequestStatus,
                           WINHTTP_CALLBACK_FLAG_ALL_COMPLETIONS | WINHTTP_CALLBACK_FLAG_HANDLES, 0);
  connection = WinHttpConnect(session, host.c_str(), parts.nPort, 0);
  const DWORD secure = parts.nScheme == INTERNET_SCHEME_HTTPS ? WINHTTP_FLAG_SECURE : 0;
  request = connection ? WinHttpOpenRequest(connection, L"GET", path.c_str(), nullptr, WINHTTP_NO_REFERER,
                                            WINHTTP_DEFAULT_ACCEPT_TYPES, WINHTTP_FLAG_REFRESH | secure)
                       : nullptr;
  if (!request) return false;
  id = ++last_id;
  DWORD_PTR context = id;
  WinHttpSetOption(request, WINHTTP_OPTION_CONTEXT_VALUE, &context, sizeof context);
  DWORD no_redirects = WINHTTP_DISABLE_REDIRECTS;
  WinHttpSetOption(request, WINHTTP_OPTION_DISABLE_FEATURE, &no_redirects, sizeof no_redirects);
  // The wait for the reply's headers is not covered by the receive time-out.
  DWORD header_wait = static_cast<DWORD>(receive_ms);
  WinHttpSetOption(request, WINHTTP_OPTION_RECEIVE_RESPONSE_TIMEOUT, &header_wait, sizeof header_wait);
  // The signed-in user's own logon may go to any proxy that asks for it.
  DWORD logon = WINHTTP_AUTOLOGON_SECURITY_LEVEL_LOW;
  WinHttpSetOption(request, WINHTTP_OPTION_AUTOLOGON_POLICY, &logon, sizeof logon);
  return true;
}

void HttpRequest::Finish(Ending how) {
  CloseInternetHandle(request);
  CloseInternetHandle(connection);
  CloseInternetHandle(session);
  if (ending == Ending::kNone) ending = how;
  step = Step::kDone;
}

void HttpRequest::Send() {
  step = Step::kSending;
  if (send_fails_at_once ||
      !WinHttpSendRequest(request, headers.empty() ? WINHTTP_NO_ADDITIONAL_HEADERS : headers.c_str(),
                          headers.empty() ? 0 : static_cast<DWORD>(-1), WINHTTP_NO_REQUEST_DATA, 0, 0,
                          id)) {
    FailNow();
  }
}

bool HttpRequest::AnswerProxyChallenge() {
  DWORD supported = 0, first = 0, target = 0;
  if (sent_logon || !WinHttpQueryAuthSchemes(request, &supported, &first, &target) ||
      target != WINHTTP_AUTH_TARGET_PROXY) {
    return false;
  }
  const DWORD scheme = (supported & WINHTTP_AUTH_SCHEME_NEGOTIATE) ? WINHTTP_AUTH_SCHEME_NEGOTIATE
                       : (supported & WINHTTP_AUTH_SCHEME_NTLM)   ? WINHTTP_AUTH_SCHEME_NTLM
                                                                  : 0;
  // No name and no password: the user's own logon.
  if (scheme == 0 ||
      !WinHttpSetCredentials(request, WINHTTP_AUTH_TARGET_PROXY, scheme, nullptr, nullptr, nullptr)) {
    return false;
  }
  sent_logon = true;
  return true;
}

void HttpRequest::OnHeaders() {
  DWORD code = 0, size = sizeof code;
  if (!WinHttpQueryHeaders(request, WINHTTP_QUERY_STATUS_CODE | WINHTTP_QUERY_FLAG_NUMBER,
                           WINHTTP_HEADER_NAME_BY_INDEX, &code, &size, WINHTTP_NO_HEADER_INDEX)) {
    return Finish(Ending::kFailed);
  }
  if (code == HTTP_STATUS_PROXY_AUTH_REQ) {
    if (AnswerProxyChallenge()) return Send();
    return Finish(Ending::kProxyPassword);
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

void HttpRequest::Pump() {
  std::deque<Completion> done;
  {
    std::lock_guard<std::mutex> lock(mutex);
    done.swap(completions);
    posted = false;
  }
  for (const Completion& c : done) {
    if (step == Step::kDone) break;
    switch (c.status) {
      case WINHTTP_CALLBACK_STATUS_REQUEST_ERROR:
        // A proxy that took the user's logon and still failed the request
        // wants a password of its own.
        Finish(sent_logon && step < Step::kBody ? Ending::kProxyPassword : Ending::kFailed);
        break;
      case WINHTTP_CALLBACK_STATUS_SENDREQUEST_COMPLETE:
        step = Step::kAwaitingHeaders;
        if (!WinHttpReceiveResponse(request, nullptr)) Finish(Ending::kFailed);
        break;
      case WINHTTP_CALLBACK_STATUS_HEADERS_AVAILABLE:
        OnHeaders();
        break;
      case WINHTTP_CALLBACK_STATUS_DATA_AVAILABLE:
        // Only what has arrived is read, so that the caller gets each
        // piece as it comes.
        if (c.value == 0) {
          Finish(Ending::kComplete);
        } else if (!WinHttpReadData(request, buffer.data(), std::min(c.value, kReadSize), nullptr)) {
          Finish(Ending::kFailed);
        }
        break;
      case WINHTTP_CALLBACK_STATUS_READ_COMPLETE:
        reading = false;
        if (c.value == 0) {
          Finish(Ending::kComplete);
        } else {
          body.append(buffer.data(), c.value);
        }
        break;
    }
  }
  if (step == Step::kBody && !reading && body.size() < kReadAhead) {
    // Left marked as reading when it fails at once: the failure, reported
    // as a completion, ends the attempt.
    reading = true;
    if (!WinHttpQueryDataAvailable(request, nullptr)) FailNow();
  }
}

std::string HttpRequest::Take() {
  std::string taken;
  taken.swap(body);
  return taken;
}

void KeepUntilClosed(const std::shared_ptr<HttpRequest>& request) {
  std::lock_guard<std::mutex> lock(requests_mutex);
  live_requests[request->id] = request;
}

}  // namespace platform
