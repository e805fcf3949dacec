// One attempt of an HttpTransfer: a WinHTTP session, connection and request
// through one proxy route. WinHTTP's threads call OnRequestStatus, which
// only queues what happened and posts one message to the window; there
// Pump takes the queue and makes the next call. Nothing waits and nothing
// loops: each step is one posted message.
//
// Threads: every member but those under `mutex` belongs to the window's
// thread. The attempt stays alive until WinHTTP says its request handle is
// closed (the registry in http_request.cpp holds it), since a read may
// still be writing into `buffer` after a cancel. Used by platform/http.cpp
// only.
#pragma once

#include <windows.h>
#include <winhttp.h>

#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/form.h"
#include "platform/web_proxy.h"

namespace platform {

// Body bytes read ahead of the caller; no read is made beyond that.
constexpr std::size_t kReadAhead = 256 * 1024;
constexpr DWORD kReadSize = 64 * 1024;

// One step WinHTTP reported done, with its byte count or error.
struct Completion {
  DWORD status;
  DWORD value;
};

struct HttpRequest : std::enable_shared_from_this<HttpRequest> {
  enum class Step { kSending, kAwaitingHeaders, kBody, kDone };
  enum class Ending { kNone, kComplete, kFailed, kProxyPassword };

  HttpRequest() : buffer(kReadSize) {}
  HttpRequest(const HttpRequest&) = delete;
  HttpRequest& operator=(const HttpRequest&) = delete;

  // Opens the handles for url through route; false when WinHTTP refused.
  bool Open(const std::wstring& agent, const std::wstring& url, const ProxyRoute& route,
            int connect_ms, int receive_ms);
  // Sends the request (again, after a proxy's challenge).
  void Send();
  // Closes the handles: the attempt is over.
  void Finish(Ending how);
  // Acts on what WinHTTP has reported, then reads on when the caller has
  // room for more.
  void Pump();
  // Everything read and not yet taken.
  std::string Take();
  // Queues what WinHTTP reported and posts one message to Pump, unless one
  // is on its way. Any thread.
  void Report(DWORD status, DWORD value);
  // A call that failed at once, reported as a failure WinHTTP reports.
  void FailNow();

  DWORD_PTR id = 0;
  Mailbox mailbox;
  // Called on the window's thread after each Pump that moved the attempt.
  std::function<void()> moved;
  HINTERNET session = nullptr, connection = nullptr, request = nullptr;
  Step step = Step::kSending;
  Ending ending = Ending::kNone;
  std::wstring headers;
  bool reading = false;  // the buffer is WinHTTP's until the read is done
  bool sent_logon = false;  // the user's own logon was offered to the proxy
  bool send_fails_at_once = false;  // tests: as WinHttpSendRequest may
  int status = 0;
  std::wstring raw_headers;
  std::string body;

  // Shared with WinHTTP's threads.
  std::mutex mutex;
  std::deque<Completion> completions;
  bool posted = false;  // a message to Pump is on its way
  std::vector<char> buffer;

 private:
  void OnHeaders();
  // A 407: the proxy is answered once with the signed-in user's logon
  // (Negotiate or NTLM); false when it asks for anything else.
  bool AnswerProxyChallenge();
};

// Keeps an opened request until WinHTTP closes its handle: its status
// callback finds it by its id.
void KeepUntilClosed(const std::shared_ptr<HttpRequest>& request);

}  // namespace platform
