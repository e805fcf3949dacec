// The HTTP transfer over Winsock. The socket is non-blocking and is moved on
// whenever the caller asks (AwaitingReply, NextPiece, WaitAndYield), so
// that everything happens on the caller's thread and a cancel has nothing
// to wait for. Only a host name (not a numeric address) is looked up on a
// thread of its own, as the system offers no lookup that can be abandoned;
// its result is dropped when the transfer has gone.
#include "platform/http.h"

#include <winsock2.h>
#include <ws2tcpip.h>

#include <cstring>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/http_reply.h"
#include "platform/message_loop.h"

namespace platform {

namespace {

// Body bytes read ahead of the caller; the socket is left alone beyond that.
constexpr std::size_t kReadAhead = 256 * 1024;

struct Address {
  sockaddr_storage bytes = {};
  int length = 0;
};

struct Lookup {
  std::mutex mutex;
  bool done = false;
  std::vector<Address> addresses;
};

std::vector<Address> Addresses(const addrinfo* list) {
  std::vector<Address> addresses;
  for (const addrinfo* entry = list; entry; entry = entry->ai_next) {
    Address address;
    address.length = static_cast<int>(entry->ai_addrlen);
    memcpy(&address.bytes, entry->ai_addr, entry->ai_addrlen);
    addresses.push_back(address);
  }
  return addresses;
}

addrinfo StreamHints(int flags) {
  addrinfo hints = {};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  hints.ai_protocol = IPPROTO_TCP;
  hints.ai_flags = flags;
  return hints;
}

void StartWinsock() {
  static const bool started = [] {
    WSADATA data;
    return WSAStartup(MAKEWORD(2, 2), &data) == 0;
  }();
  (void)started;
}

}  // namespace

struct HttpTransfer::Connection {
  enum class Step { kLookingUp, kConnecting, kSending, kReceiving, kDone };

  Connection() : event(WSACreateEvent()) {}
  ~Connection() {
    Close();
    WSACloseEvent(event);
  }

  void Close() {
    if (socket != INVALID_SOCKET) closesocket(socket);
    socket = INVALID_SOCKET;
  }

  void Finish(bool ok) {
    Close();
    failed = failed || !ok;
    step = Step::kDone;
  }

  void Wait(int ms) { deadline = GetTickCount64() + static_cast<ULONGLONG>(ms); }

  // Connects to the next address of the host; the transfer fails when none
  // is left.
  void ConnectNext() {
    Close();
    while (next_address < addresses.size()) {
      const Address& address = addresses[next_address++];
      socket = ::socket(address.bytes.ss_family, SOCK_STREAM, IPPROTO_TCP);
      if (socket == INVALID_SOCKET) continue;
      WSAEventSelect(socket, event, FD_CONNECT | FD_READ | FD_WRITE | FD_CLOSE);
      if (connect(socket, reinterpret_cast<const sockaddr*>(&address.bytes), address.length) == 0 ||
          WSAGetLastError() == WSAEWOULDBLOCK) {
        step = Step::kConnecting;
        return;
      }
      Close();
    }
    Finish(false);
  }

  // Moves the transfer on as far as it goes without waiting.
  void Pump() {
    if (step == Step::kDone) return;
    if (GetTickCount64() > deadline) return Finish(false);
    WSANETWORKEVENTS events = {};
    if (socket != INVALID_SOCKET) WSAEnumNetworkEvents(socket, event, &events);
    // A reset connection may still read as ending normally once its data is
    // read; the close notice tells the two apart.
    if ((events.lNetworkEvents & FD_CLOSE) && events.iErrorCode[FD_CLOSE_BIT] != 0) broken = true;
    if (step == Step::kLookingUp) {
      {
        std::lock_guard<std::mutex> lock(lookup->mutex);
        if (!lookup->done) return;
        addresses = lookup->addresses;
      }
      lookup.reset();
      ConnectNext();
      return;
    }
    if (step == Step::kConnecting) {
      if (!(events.lNetworkEvents & FD_CONNECT)) return;
      if (events.iErrorCode[FD_CONNECT_BIT] != 0) return ConnectNext();
      step = Step::kSending;
      Wait(receive_ms);
    }
    if (step == Step::kSending) {
      while (sent < request.size()) {
        const int n = send(socket, request.data() + sent, static_cast<int>(request.size() - sent), 0);
        if (n == SOCKET_ERROR) {
          if (WSAGetLastError() == WSAEWOULDBLOCK) return;
          return Finish(false);
        }
        sent += static_cast<std::size_t>(n);
      }
      step = Step::kReceiving;
    }
    char buffer[16 * 1024];
    while (reply.buffered() < kReadAhead) {
      const int n = recv(socket, buffer, sizeof buffer, 0);
      if (n == SOCKET_ERROR && WSAGetLastError() == WSAEWOULDBLOCK) return;
      if (n <= 0) {
        // 0: the server ended the connection normally; otherwise it broke.
        reply.End(n == 0 && !broken);
        return Finish(reply.state() == HttpReplyReader::State::kComplete);
      }
      Wait(receive_ms);
      reply.Feed(std::string_view(buffer, static_cast<std::size_t>(n)));
      if (reply.state() == HttpReplyReader::State::kComplete) return Finish(true);
      if (reply.state() == HttpReplyReader::State::kBad) return Finish(false);
    }
  }

  WSAEVENT event;
  SOCKET socket = INVALID_SOCKET;
  Step step = Step::kLookingUp;
  std::shared_ptr<Lookup> lookup;
  std::vector<Address> addresses;
  std::size_t next_address = 0;
  std::string request;
  std::size_t sent = 0;
  HttpReplyReader reply;
  bool failed = false;
  bool broken = false;
  int receive_ms = 0;
  ULONGLONG deadline = 0;
};

HttpTransfer::HttpTransfer() = default;

HttpTransfer::~HttpTransfer() = default;

void HttpTransfer::set_timeouts(int connect_ms, int receive_ms) {
  connect_ms_ = connect_ms;
  receive_ms_ = receive_ms;
}

void HttpTransfer::Start(const std::string& url, const std::string& headers) {
  Cancel();
  StartWinsock();
  cancelled_ = false;
  connection_ = std::make_unique<Connection>();
  Connection& c = *connection_;
  c.receive_ms = receive_ms_;
  c.Wait(connect_ms_);
  const std::optional<HttpAddress> address = ParseHttpAddress(url);
  if (!address) return c.Finish(false);
  std::string host_line = address->host;
  if (address->port != 80) host_line += ":" + std::to_string(address->port);
  c.request = "GET " + address->path + " HTTP/1.1\r\nHost: " + host_line +
              "\r\nUser-Agent: " + agent_ +
              "\r\nAccept: */*\r\nCache-Control: no-cache\r\nPragma: no-cache\r\n"
              "Connection: close\r\n" +
              headers + "\r\n";

  std::string host = address->host;
  if (host.size() > 2 && host.front() == '[') host = host.substr(1, host.size() - 2);
  const std::string port = std::to_string(address->port);
  c.lookup = std::make_shared<Lookup>();
  addrinfo hints = StreamHints(AI_NUMERICHOST);
  addrinfo* found = nullptr;
  if (getaddrinfo(host.c_str(), port.c_str(), &hints, &found) == 0) {
    c.lookup->addresses = Addresses(found);
    c.lookup->done = true;
    freeaddrinfo(found);
  } else {
    std::thread([lookup = c.lookup, host, port] {
      addrinfo hints = StreamHints(0);
      addrinfo* found = nullptr;
      std::vector<Address> addresses;
      if (getaddrinfo(host.c_str(), port.c_str(), &hints, &found) == 0) {
        addresses = Addresses(found);
        freeaddrinfo(found);
      }
      std::lock_guard<std::mutex> lock(lookup->mutex);
      lookup->addresses = std::move(addresses);
      lookup->done = true;
    }).detach();
  }
  c.Pump();
}

bool HttpTransfer::AwaitingReply() {
  if (!connection_ || cancelled_) return false;
  connection_->Pump();
  return connection_->step != Connection::Step::kDone && !connection_->reply.head_done();
}

int HttpTransfer::status() const {
  if (!connection_ || cancelled_ || !connection_->reply.head_done()) return 0;
  return connection_->reply.status();
}

std::string HttpTransfer::Header(const std::string& name) const {
  if (!connection_ || cancelled_ || !connection_->reply.head_done()) return "";
  return connection_->reply.Header(name).value_or("");
}

std::optional<std::string> HttpTransfer::NextPiece(std::size_t size) {
  if (!connection_ || cancelled_) return std::string();
  Connection& c = *connection_;
  c.Pump();
  if (c.reply.buffered() >= size || c.step == Connection::Step::kDone) {
    return c.reply.TakeBody(size);
  }
  return std::nullopt;
}

void HttpTransfer::WaitAndYield() {
  const DWORD kLongestWaitMs = 50;
  if (connection_ && !cancelled_ && connection_->socket != INVALID_SOCKET) {
    MsgWaitForMultipleObjects(1, &connection_->event, FALSE, kLongestWaitMs, QS_ALLINPUT);
  } else {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, kLongestWaitMs, QS_ALLINPUT);
  }
  if (connection_ && !cancelled_) connection_->Pump();
  DoEvents();
}

void HttpTransfer::Cancel() {
  if (!connection_) return;
  cancelled_ = true;
  connection_->Finish(false);
}

bool HttpTransfer::failed() const {
  return connection_ && !cancelled_ && connection_->failed;
}

}  // namespace platform
