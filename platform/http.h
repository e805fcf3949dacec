// One HTTP GET at a time over a plain socket, driven from the user-interface
// thread without blocking it: the caller keeps yielding and asks again until
// the reply's headers and each piece of the body have come. The socket is
// non-blocking and read only when asked, on the caller's thread, so Cancel
// closes the connection at once and leaves nothing running (only a host
// name's lookup, which cannot be abandoned, runs on a thread of its own).
#pragma once

#include <memory>
#include <optional>
#include <string>

namespace platform {

class HttpTransfer {
 public:
  HttpTransfer();
  ~HttpTransfer();
  HttpTransfer(const HttpTransfer&) = delete;
  HttpTransfer& operator=(const HttpTransfer&) = delete;

  // The client's name the requests carry ("User-Agent").
  void set_agent(const std::string& agent) { agent_ = agent; }
  // Time limits of the next Start, for connecting and for each wait on the
  // server's data; a dead server then ends the transfer as failed.
  void set_timeouts(int connect_ms, int receive_ms);

  // Starts a GET of url ("http://host[:port]/path") with the extra request
  // header text (lines ending in CR LF) and returns at once. A transfer
  // still running is cancelled first. Redirects are not followed: they come
  // back as their reply.
  void Start(const std::string& url, const std::string& headers);
  // True until the reply's headers are in, or the request failed or was
  // cancelled.
  bool AwaitingReply();
  // The reply's status code; 0 when no reply came.
  int status() const;
  // The value of the reply's named header; "" when there is none.
  std::string Header(const std::string& name) const;
  // The next piece of the body, at most size bytes and shorter only at its
  // end; nothing while the piece is still on its way (yield and ask again);
  // an empty piece once the body is exhausted, failed or cancelled.
  std::optional<std::string> NextPiece(std::size_t size);
  // The yield of a caller waiting for this transfer: lets pending window
  // messages run once a message or data has come, or a short while has
  // passed.
  void WaitAndYield();
  // Stops the transfer and closes its connection: from now on it reports no
  // reply and an empty body.
  void Cancel();
  bool cancelled() const { return cancelled_; }
  // The request failed or the reply is not a whole one: no connection, a
  // time-out, a broken connection, a malformed reply, a body cut short of
  // its length or its final chunk.
  bool failed() const;

  struct Connection;

 private:
  std::string agent_;
  int connect_ms_ = 15000;
  int receive_ms_ = 30000;
  bool cancelled_ = false;
  std::unique_ptr<Connection> connection_;
};

}  // namespace platform
