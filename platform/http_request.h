// The WinHTTP request of an HttpTransfer and its steps. WinHTTP's threads
// call OnRequestStatus, which only queues what happened and sets the
// request's event; the caller's thread takes the queue in Pump and makes
// the next call. A request's state stays alive until WinHTTP says its
// handle is closed, since a read may still be writing into its buffer
// after a cancel. Used by platform/http.cpp only.
#pragma once

#include <windows.h>
#include <winhttp.h>

#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace platform {

// Body bytes read ahead of the caller; no read is made beyond that.
constexpr std::size_t kReadAhead = 256 * 1024;
constexpr DWORD kReadSize = 64 * 1024;

// One step WinHTTP reported done, with its byte count.
struct Completion {
  DWORD status;
  DWORD length;
};

struct HttpRequest {
  enum class Step { kFindingProxy, kSending, kAwaitingHeaders, kBody, kDone };

  HttpRequest();
  ~HttpRequest();
  HttpRequest(const HttpRequest&) = delete;
  HttpRequest& operator=(const HttpRequest&) = delete;

  // Closes the handles: the transfer is over, failed unless ok.
  void Finish(bool ok);
  void Send();
  void OnHeaders();
  // Acts on what WinHTTP has reported, then reads on when the caller has
  // room for more.
  void Pump();
  // Up to size bytes of what has been read.
  std::string Take(std::size_t size);

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

// Keeps the request until WinHTTP closes its handle; its id is the context
// value OnRequestStatus gets.
void KeepUntilClosed(const std::shared_ptr<HttpRequest>& request);
DWORD_PTR NewRequestId();
void CALLBACK OnRequestStatus(HINTERNET, DWORD_PTR context, DWORD status, void* info, DWORD length);

}  // namespace platform
