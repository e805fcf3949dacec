// One HTTP or HTTPS GET through the system's WinHTTP in its asynchronous
// mode, driven by messages: every WinHTTP call is made on the window's
// thread and returns at once; WinHTTP's threads only post a message to the
// window when a step is done, and each message moves the transfer one step
// and calls on_event. Nothing waits and nothing pumps messages, so Cancel
// has nothing to wait for.
//
// The way to the server is the user's (platform/web_proxy.h): each route of
// the automatic configuration is tried in turn until one connects. A proxy
// that asks the signed-in user to authenticate (Negotiate, NTLM) gets the
// user's own logon, once; one that wants a typed password ends the
// transfer as kProxyPassword. Only TLS 1.2 and 1.3 are taken. WinHTTP does
// not follow redirects: they come back as their reply, for the caller's own
// rule.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/form.h"
#include "platform/web_proxy.h"

namespace platform {

struct HttpRequest;

class HttpTransfer {
 public:
  enum class Ending {
    kNone,           // still running, or never started
    kComplete,       // the whole body came
    kFailed,         // no connection, an untrusted certificate, a time-out, a broken connection
    kProxyPassword,  // the proxy wants a name and password
    kCancelled,
  };
  // Looks up the routes to try for a url and answers through found, on the
  // window's thread, at most once.
  using RouteFinder = std::function<void(
      const std::wstring& url, std::function<void(std::vector<ProxyRoute>)> found)>;

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
  // The window whose thread the transfer's messages run on.
  void set_mailbox(const Mailbox& mailbox) { mailbox_ = mailbox; }
  // Replaces the user's settings and the system's lookup when set.
  RouteFinder find_routes;
  // Tests: whether sending through a route fails at once, as
  // WinHttpSendRequest may.
  std::function<bool(const ProxyRoute& route)> send_fails_at_once;
  // Runs on the window's thread each time the transfer moved: its reply's
  // headers came, more of its body came, or it ended. It may Cancel or
  // Start the transfer again.
  std::function<void()> on_event;

  // Starts a GET of url ("http[s]://host[:port]/path") with the extra
  // request header text (lines ending in CR LF) and returns at once. A
  // transfer still running is cancelled first.
  void Start(const std::wstring& url, const std::wstring& headers);
  // The routes to try, once found (0 until then); each has its own
  // connection time limit.
  std::size_t route_count() const { return routes_.size(); }
  int connect_ms() const { return connect_ms_; }
  // True until the reply's headers are in, or the transfer ended.
  bool awaiting_reply() const;
  Ending ending() const { return ending_; }
  // The reply's status code; 0 when no reply came.
  int status() const;
  // The value of the reply's named header; "" when there is none.
  std::wstring Header(const std::wstring& name) const;
  // The body's bytes that came since the last call.
  std::string TakeBody();
  // Stops the transfer and closes its handles at once: it then ends as
  // kCancelled, without an event.
  void Cancel();

 private:
  void TryRoute();
  void OnAttemptMoved();
  void Drop();

  std::wstring agent_, url_, headers_;
  int connect_ms_ = 15000;
  int receive_ms_ = 30000;
  Mailbox mailbox_;
  Ending ending_ = Ending::kNone;
  std::vector<ProxyRoute> routes_;
  std::size_t route_ = 0;
  std::unique_ptr<ProxyLookup> lookup_;
  // Lives as long as the current Start: a route finder's late answer to an
  // earlier one finds it gone.
  std::shared_ptr<HttpTransfer*> generation_;
  std::shared_ptr<HttpRequest> request_;
};

}  // namespace platform
