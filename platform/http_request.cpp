// A request's steps, the registry of requests WinHTTP still holds, and its
// status callback.
#include "platform/http_request.h"

#include <algorithm>
#include <atomic>
#include <map>

#include "platform/web_proxy.h"

namespace platform {
namespace {

void CloseInternetHandle(HINTERNET& handle) {
  if (handle) WinHttpCloseHandle(handle);
  handle = nullptr;
}

}  // namespace

HttpRequest::HttpRequest()
    : signal(CreateEventW(nullptr, FALSE, FALSE, nullptr)), buffer(kReadSize) {}

HttpRequest::~HttpRequest() { CloseHandle(signal); }

void HttpRequest::Finish(bool ok) {
  CloseInternetHandle(resolver);
  CloseInternetHandle(request);
  CloseInternetHandle(connection);
  CloseInternetHandle(session);
  failed = failed || !ok;
  step = Step::kDone;
}

void HttpRequest::Send() {
  CloseInternetHandle(resolver);
  step = Step::kSending;
  if (!WinHttpSendRequest(request, headers.empty() ? WINHTTP_NO_ADDITIONAL_HEADERS : headers.c_str(),
                          headers.empty() ? 0 : static_cast<DWORD>(-1), WINHTTP_NO_REQUEST_DATA, 0, 0,
                          id)) {
    Finish(false);
  }
}

void HttpRequest::OnHeaders() {
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

void HttpRequest::Pump() {
  std::deque<Completion> done;
  {
    std::lock_guard<std::mutex> lock(mutex);
    done.swap(completions);
  }
  for (const Completion& c : done) {
    if (step == Step::kDone) break;
    switch (c.status) {
      case WINHTTP_CALLBACK_STATUS_GETPROXYFORURL_COMPLETE:
        if (step == Step::kFindingProxy) UseFoundProxy(resolver, request), Send();
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

std::string HttpRequest::Take(std::size_t size) {
  const std::size_t count = std::min(size, body.size() - taken);
  std::string piece = body.substr(taken, count);
  taken += count;
  if (taken >= kReadAhead) {
    body.erase(0, taken);
    taken = 0;
  }
  return piece;
}

namespace {

// Requests whose handles WinHTTP still holds, by their context value.
std::mutex requests_mutex;
std::map<DWORD_PTR, std::shared_ptr<HttpRequest>> live_requests;
std::atomic<DWORD_PTR> last_id{0};

}  // namespace

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
  {
    std::lock_guard<std::mutex> lock(request->mutex);
    // A count of bytes ready to read comes in the information itself.
    if (status == WINHTTP_CALLBACK_STATUS_DATA_AVAILABLE) length = *static_cast<DWORD*>(info);
    request->completions.push_back({status, length});
  }
  SetEvent(request->signal);
}

void KeepUntilClosed(const std::shared_ptr<HttpRequest>& request) {
  std::lock_guard<std::mutex> lock(requests_mutex);
  live_requests[request->id] = request;
}

DWORD_PTR NewRequestId() { return ++last_id; }

}  // namespace platform
