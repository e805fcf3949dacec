// The test HTTP server over Winsock: one thread accepts, one thread answers
// each connection, so that a stalled reply holds up nothing else.
#include "support/http_server.h"

#include <winsock2.h>
#include <ws2tcpip.h>
#include <windows.h>

#include <algorithm>
#include <cstdio>

#include "platform/files.h"

namespace testing_support {
namespace {

std::string Reason(int status) {
  switch (status) {
    case 200: return "OK";
    case 206: return "Partial Content";
    case 301: return "Moved Permanently";
    case 302: return "Found";
    case 404: return "Not Found";
    case 500: return "Internal Server Error";
    default: return "Status";
  }
}

// A socket bound to a free port of 127.0.0.1; the port comes back in port.
SOCKET BoundSocket(int& port) {
  SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  sockaddr_in address = {};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = 0;
  bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address);
  int length = sizeof address;
  getsockname(s, reinterpret_cast<sockaddr*>(&address), &length);
  port = ntohs(address.sin_port);
  return s;
}

// The body as it goes on the wire: chunked in pieces of 1000 bytes with the
// final chunk, or as it is.
std::string WireBody(const HttpReply& reply) {
  if (!reply.chunked) return reply.body;
  std::string wire;
  for (std::size_t at = 0; at < reply.body.size(); at += 1000) {
    const std::string chunk = reply.body.substr(at, 1000);
    char size[16];
    snprintf(size, sizeof size, "%zx\r\n", chunk.size());
    wire += size + chunk + "\r\n";
  }
  return wire + "0\r\n\r\n";
}

// Sends bytes one at a time, interval_ms apart, until they are all sent or
// the client has gone (its end of the connection closed).
void Trickle(SOCKET s, const std::string& bytes, int interval_ms) {
  for (char byte : bytes) {
    if (send(s, &byte, 1, 0) != 1) return;
    fd_set readable;
    FD_ZERO(&readable);
    FD_SET(s, &readable);
    timeval wait = {interval_ms / 1000, (interval_ms % 1000) * 1000};
    if (select(0, &readable, nullptr, nullptr, &wait) != 0) return;
  }
}

bool SendAll(SOCKET s, const std::string& bytes) {
  std::size_t sent = 0;
  while (sent < bytes.size()) {
    int n = send(s, bytes.data() + sent, static_cast<int>(bytes.size() - sent), 0);
    if (n <= 0) return false;
    sent += static_cast<std::size_t>(n);
  }
  return true;
}

struct WinsockScope {
  WinsockScope() {
    WSADATA data;
    WSAStartup(MAKEWORD(2, 2), &data);
  }
  ~WinsockScope() { WSACleanup(); }
};

WinsockScope& Winsock() {
  static WinsockScope scope;
  return scope;
}

}  // namespace

HttpServer::HttpServer() {
  Winsock();
  SOCKET s = BoundSocket(port_);
  listen(s, SOMAXCONN);
  listener_ = s;
  acceptor_ = std::thread([this] { Accept(); });
}

HttpServer::~HttpServer() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stopping_ = true;
    for (std::uintptr_t client : clients_) shutdown(client, SD_BOTH);
  }
  released_cv_.notify_all();
  closesocket(listener_);
  acceptor_.join();
  for (std::thread& thread : threads_) thread.join();
}

std::wstring HttpServer::base_url() const {
  return L"http://127.0.0.1:" + std::to_wstring(port_);
}

void HttpServer::Serve(const std::string& path, const HttpReply& reply) {
  std::lock_guard<std::mutex> lock(mutex_);
  replies_[path] = reply;
}

void HttpServer::Release() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    released_ = true;
  }
  released_cv_.notify_all();
}

std::vector<std::string> HttpServer::Requests(const std::string& path) {
  std::lock_guard<std::mutex> lock(mutex_);
  return requests_[path];
}

std::size_t HttpServer::OpenConnections() {
  std::lock_guard<std::mutex> lock(mutex_);
  return clients_.size();
}

void HttpServer::Accept() {
  for (;;) {
    SOCKET client = accept(listener_, nullptr, nullptr);
    if (client == INVALID_SOCKET) return;
    std::lock_guard<std::mutex> lock(mutex_);
    if (stopping_) {
      closesocket(client);
      return;
    }
    clients_.push_back(client);
    threads_.emplace_back([this, client] { Answer(client); });
  }
}

void HttpServer::Answer(std::uintptr_t client) {
  std::string request;
  char buffer[4096];
  while (request.find("\r\n\r\n") == std::string::npos) {
    int n = recv(client, buffer, sizeof buffer, 0);
    if (n <= 0) break;
    request.append(buffer, static_cast<std::size_t>(n));
  }
  const std::size_t line_end = request.find("\r\n");
  const std::string line = request.substr(0, line_end);
  const std::size_t path_start = line.find(' ') + 1;
  std::string path = line.substr(path_start, line.find(' ', path_start) - path_start);
  // A full address in the request line, as a server must take it (Wine sends
  // one through a proxy's tunnel).
  if (const std::size_t scheme = path.find("://"); scheme != std::string::npos && path[0] != '/') {
    path = path.substr(std::min(path.find('/', scheme + 3), path.size()));
  }

  HttpReply reply;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (line_end != std::string::npos) {
      requests_[path].push_back(request.substr(line_end + 2, request.find("\r\n\r\n") - line_end));
    }
    auto found = replies_.find(path);
    if (found != replies_.end()) {
      reply = found->second;
    } else {
      reply.status = 404;
      reply.body = "not here";
    }
  }
  auto wait_for_release = [this] {
    std::unique_lock<std::mutex> lock(mutex_);
    released_cv_.wait(lock, [this] { return released_ || stopping_; });
  };
  if (reply.silent) {
    wait_for_release();
  } else {
    std::string head = "HTTP/1.1 " + std::to_string(reply.status) + " " + Reason(reply.status) + "\r\n";
    if (reply.chunked) {
      head += "Transfer-Encoding: chunked\r\n";
    } else if (reply.send_length) {
      head += "Content-Length: " +
              reply.content_length.value_or(std::to_string(reply.body.size())) + "\r\n";
    }
    head += reply.headers + "Content-Type: application/octet-stream\r\nConnection: close\r\n\r\n";
    const std::string body = WireBody(reply).substr(0, reply.cut_after);
    const std::size_t first = std::min(reply.stall_after, body.size());
    if (reply.trickle_ms > 0) {
      Trickle(client, head + body, reply.trickle_ms);
    } else if (SendAll(client, head) && SendAll(client, body.substr(0, first))) {
      if (first < body.size()) {
        wait_for_release();
        SendAll(client, body.substr(first));
      }
    }
  }
  std::lock_guard<std::mutex> lock(mutex_);
  clients_.erase(std::find(clients_.begin(), clients_.end(), client));
  shutdown(client, SD_SEND);
  closesocket(client);
}

std::wstring RefusingUrl() {
  Winsock();
  int port = 0;
  closesocket(BoundSocket(port));
  return L"http://127.0.0.1:" + std::to_wstring(port);
}

std::string UnixPath(const std::wstring& path) {
  using UnixName = char*(CDECL*)(const wchar_t*);
  auto unix_name = reinterpret_cast<UnixName>(
      GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name"));
  char* name = unix_name ? unix_name(path.c_str()) : nullptr;
  if (!name) return "";
  std::string result = name;
  HeapFree(GetProcessHeap(), 0, name);
  return result;
}

NativeServer::NativeServer(const std::string& mode, const std::string& arguments) {
  static int counter = 0;
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  port_file_ = std::wstring(temp) + L"tavrik-native-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
               std::to_wstring(++counter) + L".port";
  DeleteFileW(port_file_.c_str());
  // The folder is Unix-named as it is: the file itself does not exist yet.
  const std::wstring folder = port_file_.substr(0, port_file_.rfind(L'\\'));
  const std::string file = UnixPath(folder) + "/" + platform::ToAnsi(port_file_.substr(folder.size() + 1));
  std::wstring line = L"/bin/sh -c \"exec " + platform::FromAnsi(TAVRIK_PYTHON " " TAVRIK_WEB_FRONTS " " + mode + " '" + file + "' " + arguments) + L" >/dev/null 2>&1\"";
  STARTUPINFOW startup{sizeof startup};
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) return;
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  for (int wait = 0; wait < 500 && port_ == 0; ++wait) {
    const std::optional<std::string> text = platform::ReadFileBytes(port_file_);
    if (text && !text->empty()) port_ = std::stoi(*text);
    else Sleep(20);
  }
}

NativeServer::~NativeServer() { DeleteFileW(port_file_.c_str()); }

namespace {
const wchar_t kConnections[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\Connections";

// window_driver's trust or distrust of a PEM file, in a process of its own:
// a process sees the trusted roots as they were when it first looked.
void RunTrust(const char* command, const std::wstring& pem_file) {
  std::wstring driver = platform::FromAnsi(TAVRIK_WINDOW_DRIVER);
  for (wchar_t& c : driver) if (c == L'/') c = L'\\';
  if (!driver.empty() && driver[0] == L'\\') driver = L"Z:" + driver;
  std::wstring line = L"\"" + driver + L"\" " + platform::FromAnsi(command) + L" \"" + pem_file + L"\"";
  STARTUPINFOW startup{sizeof startup};
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) return;
  WaitForSingleObject(process.hProcess, 30000);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
}

}  // namespace

TrustedRoot::TrustedRoot(const std::wstring& pem_file) : pem_file_(pem_file) { RunTrust("trust", pem_file); }

TrustedRoot::~TrustedRoot() { RunTrust("distrust", pem_file_); }

UserProxy::UserProxy(const std::string& proxy, bool detect) {
  // A version, a change counter, the flags (direct | named proxy | 8 for
  // detection), then the proxy, the bypass list and the script, each as its
  // length and text.
  auto dword = [](DWORD value) { return std::string(reinterpret_cast<const char*>(&value), 4); };
  const std::string value = dword(0x46) + dword(1) + dword(detect ? 11 : 3) + dword(static_cast<DWORD>(proxy.size())) +
                            proxy + dword(0) + dword(0) + std::string(32, '\0');
  RegSetKeyValueW(HKEY_CURRENT_USER, kConnections, L"DefaultConnectionSettings", REG_BINARY, value.data(),
                  static_cast<DWORD>(value.size()));
}

UserProxy::~UserProxy() { RegDeleteKeyValueW(HKEY_CURRENT_USER, kConnections, L"DefaultConnectionSettings"); }

}  // namespace testing_support
