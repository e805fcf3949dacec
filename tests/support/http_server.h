// A small HTTP server on 127.0.0.1 for tests of the downloads: it answers
// GET requests by path with the reply a test gave it (status, headers, body,
// chunked or not, a body cut short, a body that stalls until
// released, a reply that trickles out byte by byte) and keeps each request's
// header text.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace testing_support {

struct HttpReply {
  explicit HttpReply(int status = 200, std::string body = "")
      : status(status), body(std::move(body)) {}
  int status;
  std::string body;
  // The Content-Length header's value: the body's size when not given; no
  // header at all when send_length is false.
  std::optional<std::string> content_length;
  bool send_length = true;
  // Further header lines, each ending in CR LF.
  std::string headers;
  // Sends the body in chunks, with its final chunk.
  bool chunked = false;
  // Sends only this many bytes of the body as it goes on the wire (chunk
  // framing included), then closes the connection.
  std::size_t cut_after = std::string::npos;
  // Sends the whole reply one byte at a time, this many milliseconds apart,
  // until the client goes away.
  int trickle_ms = 0;
  // Sends this many bytes of the body, then waits for Release().
  std::size_t stall_after = std::string::npos;
  // Reads the request and never answers.
  bool silent = false;
};

class HttpServer {
 public:
  HttpServer();
  ~HttpServer();
  HttpServer(const HttpServer&) = delete;
  HttpServer& operator=(const HttpServer&) = delete;

  // "http://127.0.0.1:<port>", without a trailing "/".
  std::wstring base_url() const;
  void Serve(const std::string& path, const HttpReply& reply);
  // Lets stalled replies send the rest of their body.
  void Release();
  // The header lines of every request for path, in order of arrival.
  std::vector<std::string> Requests(const std::string& path);
  // Connections still open.
  std::size_t OpenConnections();

 private:
  void Accept();
  void Answer(std::uintptr_t client);

  std::uintptr_t listener_;
  int port_ = 0;
  std::mutex mutex_;
  std::condition_variable released_cv_;
  bool released_ = false;
  bool stopping_ = false;
  std::map<std::string, HttpReply> replies_;
  std::map<std::string, std::vector<std::string>> requests_;
  std::vector<std::uintptr_t> clients_;
  std::vector<std::thread> threads_;
  std::thread acceptor_;
};

// An address on 127.0.0.1 where nothing listens: connections are refused.
std::wstring RefusingUrl();

// A server of tests/support/web_fronts.py (a TLS front for an HttpServer, or
// a proxy that logs its requests), run natively beside Wine while the object
// lives: arguments are its mode and what follows the port file.
class NativeServer {
 public:
  explicit NativeServer(const std::string& mode, const std::string& arguments);
  ~NativeServer();
  NativeServer(const NativeServer&) = delete;
  NativeServer& operator=(const NativeServer&) = delete;
  int port() const { return port_; }
  // The port of an HttpServer's base_url().
  static int PortOf(const std::wstring& url) { return std::stoi(url.substr(url.rfind(L':') + 1)); }

 private:
  std::wstring port_file_;
  int port_ = 0;
};

// The Unix path of a file Wine shows under a drive letter.
std::string UnixPath(const std::wstring& path);

// A certificate (PEM file) trusted as a root by the current user of this
// Wine prefix while the object lives; made before the process first needs
// a trusted root.
class TrustedRoot {
 public:
  explicit TrustedRoot(const std::wstring& pem_file);
  ~TrustedRoot();
  TrustedRoot(const TrustedRoot&) = delete;
  TrustedRoot& operator=(const TrustedRoot&) = delete;

 private:
  std::wstring pem_file_;
};

// The current user's Internet settings name proxy ("127.0.0.1:PORT") while
// the object lives, as the settings dialog stores it; with detect, they
// also ask for "Automatically detect settings".
class UserProxy {
 public:
  explicit UserProxy(const std::string& proxy, bool detect = false);
  ~UserProxy();
  UserProxy(const UserProxy&) = delete;
  UserProxy& operator=(const UserProxy&) = delete;
};

}  // namespace testing_support
