// One HTTP or HTTPS GET at a time through the system's WinHTTP, driven from
// the user-interface thread without blocking it. WinHTTP runs in its
// asynchronous mode: every call is made on the caller's thread and returns
// at once, and WinHTTP's own threads only signal that a step is done. The
// caller keeps yielding and asks again until the reply's headers and each
// piece of the body have come, so Cancel has nothing to wait for.
// The user's proxy settings apply: automatic detection and a configuration
// script where the user has them, the named proxy otherwise. WinHTTP does
// not follow redirects: they come back as their reply, for the caller's own
// rule.
#pragma once

#include <memory>
#include <optional>
#include <string>

namespace platform {

struct HttpRequest;

class HttpTransfer {
 public:
  HttpTransfer();
  ~HttpTransfer();
  HttpTransfer(const HttpTransfer&) = delete;
  HttpTransfer& operator=(const HttpTransfer&) = delete;

  // The client's name the requests carry ("User-Agent").
  void set_agent(const std::wstring& agent) { agent_ = agent; }
  // Time limits of the next Start: looking up the host and connecting, and
  // each wait on the server (sending the request, the reply's headers, each
  // piece of the body). A dead server then ends the transfer as failed.
  void set_timeouts(int connect_ms, int receive_ms);

  // Starts a GET of url ("http[s]://host[:port]/path") with the extra
  // request header text (lines ending in CR LF) and returns at once. A
  // transfer still running is cancelled first.
  void Start(const std::wstring& url, const std::wstring& headers);
  // True until the reply's headers are in, or the request failed or was
  // cancelled.
  bool AwaitingReply();
  // The reply's status code; 0 when no reply came.
  int status() const;
  // The value of the reply's named header; "" when there is none.
  std::wstring Header(const std::wstring& name) const;
  // The next piece of the body, at most size bytes and shorter only at its
  // end; nothing while the piece is still on its way (yield and ask again);
  // an empty piece once the body is exhausted, failed or cancelled.
  std::optional<std::string> NextPiece(std::size_t size);
  // The yield of a caller waiting for this transfer: lets pending window
  // messages run once a message or a step of the transfer has come, or a
  // short while has passed.
  void WaitAndYield();
  // Stops the transfer and closes its handles at once: from now on it
  // reports no reply and an empty body.
  void Cancel();
  bool cancelled() const { return cancelled_; }
  // The request failed: no connection, a certificate that is not trusted
  // or not for the host, a time-out, a broken connection.
  bool failed() const;

 private:
  std::wstring agent_;
  int connect_ms_ = 15000;
  int receive_ms_ = 30000;
  bool cancelled_ = false;
  std::shared_ptr<HttpRequest> request_;
};

}  // namespace platform
