// One HTTP GET at a time over WinINet, driven from the user-interface thread
// without blocking it: the request and each piece of the body are fetched by
// a worker of this transfer while the caller keeps yielding and asks again.
// The caller sees one thread; nothing of the worker shows outside this file.
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

  // The address the next Execute fetches.
  void set_url(const std::wstring& url) { url_ = url; }
  const std::wstring& url() const { return url_; }

  // Time limits of the next Execute, for connecting and for each wait on
  // the server's data; a dead server then ends the transfer as failed.
  void set_timeouts(int connect_ms, int receive_ms);

  // Starts a GET of url() with the extra request header text and returns at
  // once. A transfer still running is cancelled first.
  void Execute(const std::wstring& headers);
  // True until the reply's headers are in, or the request failed or was
  // cancelled.
  bool StillExecuting() const;
  // The reply's status code; 0 when no reply came.
  int StatusCode() const;
  // The value of the reply's named header; "" when there is none.
  std::wstring GetHeader(const std::wstring& name) const;
  // The next piece of the body, at most size bytes and shorter only at its
  // end; nothing while the piece is still on its way (yield and ask again);
  // an empty piece once the body is exhausted, failed or cancelled.
  std::optional<std::string> GetChunk(std::size_t size);
  // The yield of a caller waiting for this transfer: lets pending window
  // messages run once a message or news of the transfer (the headers, a
  // piece) has come, or a short while has passed.
  void WaitAndDoEvents();
  // Stops the transfer: from now on it reports no reply and an empty body.
  void Cancel();
  bool cancelled() const;
  // The request or a read of the body failed (no connection, a time-out, a
  // broken connection).
  bool failed() const;

  struct State;

 private:
  std::wstring url_;
  int connect_ms_ = 15000;
  int receive_ms_ = 30000;
  std::shared_ptr<State> state_;
};

}  // namespace platform
