// The HTTP(S) transfer: its routes tried in turn, each through one attempt
// (platform/http_request.h) that moves on the window's messages.
#include "platform/http.h"

#include <windows.h>
#include <winhttp.h>

#include "platform/http_request.h"

namespace platform {

HttpTransfer::HttpTransfer() = default;

HttpTransfer::~HttpTransfer() { Drop(); }

void HttpTransfer::set_timeouts(int connect_ms, int receive_ms) {
  connect_ms_ = connect_ms;
  receive_ms_ = receive_ms;
}

void HttpTransfer::Drop() {
  lookup_.reset();
  if (request_) {
    request_->moved = nullptr;
    request_->Finish(HttpRequest::Ending::kFailed);
    request_.reset();
  }
  routes_.clear();
  route_ = 0;
}

void HttpTransfer::Start(const std::wstring& url, const std::wstring& headers) {
  Drop();
  url_ = url;
  headers_ = headers;
  ending_ = Ending::kNone;
  generation_ = std::make_shared<HttpTransfer*>(this);
  auto found = [this, generation = std::weak_ptr<HttpTransfer*>(generation_)](std::vector<ProxyRoute> routes) {
    if (generation.expired()) return;
    routes_ = routes.empty() ? std::vector<ProxyRoute>{ProxyRoute{}} : std::move(routes);
    route_ = 0;
    TryRoute();
  };
  if (find_routes) {
    find_routes(url, found);
  } else {
    lookup_ = std::make_unique<ProxyLookup>();
    lookup_->Start(url, mailbox_, found);
  }
}

void HttpTransfer::TryRoute() {
  lookup_.reset();
  request_ = std::make_shared<HttpRequest>();
  HttpRequest& r = *request_;
  r.mailbox = mailbox_;
  r.headers = headers_;
  if (!r.Open(agent_, url_, routes_[route_], connect_ms_, receive_ms_)) {
    r.Finish(HttpRequest::Ending::kFailed);
    // Reported as any other step: by a message.
    std::weak_ptr<HttpRequest> weak = request_;
    r.moved = [this] { OnAttemptMoved(); };
    mailbox_.Post([weak] {
      const auto attempt = weak.lock();
      const std::function<void()> moved = attempt ? attempt->moved : nullptr;
      if (moved) moved();
    });
    return;
  }
  r.moved = [this] { OnAttemptMoved(); };
  r.send_fails_at_once = send_fails_at_once && send_fails_at_once(routes_[route_]);
  KeepUntilClosed(request_);
  r.Send();
}

void HttpTransfer::OnAttemptMoved() {
  HttpRequest& r = *request_;
  if (r.step != HttpRequest::Step::kDone) {
    if (on_event) on_event();
    return;
  }
  switch (r.ending) {
    case HttpRequest::Ending::kComplete:
      ending_ = Ending::kComplete;
      break;
    case HttpRequest::Ending::kProxyPassword:
      ending_ = Ending::kProxyPassword;
      break;
    default:
      // A route that gave no reply at all makes way for the next one.
      if (r.status == 0 && route_ + 1 < routes_.size()) {
        request_->moved = nullptr;
        ++route_;
        TryRoute();
        return;
      }
      ending_ = Ending::kFailed;
  }
  if (on_event) on_event();
}

bool HttpTransfer::awaiting_reply() const {
  return ending_ == Ending::kNone && (!request_ || request_->step < HttpRequest::Step::kBody);
}

int HttpTransfer::status() const {
  return request_ && ending_ != Ending::kCancelled ? request_->status : 0;
}

std::wstring HttpTransfer::Header(const std::wstring& name) const {
  if (!request_ || ending_ == Ending::kCancelled) return L"";
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

std::string HttpTransfer::TakeBody() {
  if (!request_ || ending_ == Ending::kCancelled) return "";
  std::string body = request_->Take();
  // Room again for what WinHTTP holds back.
  if (request_->step == HttpRequest::Step::kBody) request_->Pump();
  return body;
}

void HttpTransfer::Cancel() {
  const bool running = ending_ == Ending::kNone && (request_ || lookup_ || generation_);
  Drop();
  generation_.reset();
  if (running) ending_ = Ending::kCancelled;
}

}  // namespace platform
