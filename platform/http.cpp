// The HTTP transfer over WinINet. WinINet's calls block, so each transfer
// has one worker thread that makes them; the user-interface thread only
// hands it requests and takes its results under a lock, and never waits for
// it. A cancelled transfer answers at once; its worker ends by itself when
// its blocking call returns (the time-outs bound that).
#include "platform/http.h"

#include <windows.h>
#include <wininet.h>

#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "platform/controls.h"

namespace platform {

struct HttpTransfer::State {
  State() : news(CreateEventW(nullptr, FALSE, FALSE, nullptr)) {}
  ~State() { CloseHandle(news); }
  HANDLE news;  // set by the worker when the headers or a piece are in
  std::mutex mutex;
  std::condition_variable wake;
  bool executing = true;
  bool cancelled = false;
  bool failed = false;
  bool finished = false;  // the worker has read its last piece
  int status = 0;
  HINTERNET request = nullptr;
  std::size_t wanted = 0;  // size of the piece asked for; 0 when none is
  std::optional<std::string> piece;
};

namespace {

const DWORD kOpenFlags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE |
                         INTERNET_FLAG_PRAGMA_NOCACHE | INTERNET_FLAG_NO_UI |
                         INTERNET_FLAG_NO_COOKIES;

void SetTimeout(HINTERNET handle, DWORD option, int ms) {
  DWORD value = static_cast<DWORD>(ms);
  InternetSetOptionW(handle, option, &value, sizeof value);
}

// Fills the piece up to size bytes, so that only the body's end is shorter.
std::string ReadPiece(HINTERNET request, std::size_t size, bool& ok) {
  std::string piece(size, '\0');
  std::size_t have = 0;
  while (have < size) {
    DWORD got = 0;
    ok = InternetReadFile(request, &piece[have], static_cast<DWORD>(size - have), &got) != FALSE;
    if (!ok || got == 0) break;
    have += got;
  }
  piece.resize(have);
  return piece;
}

void SetTimeouts(HINTERNET handle, int connect_ms, int receive_ms) {
  SetTimeout(handle, INTERNET_OPTION_CONNECT_TIMEOUT, connect_ms);
  SetTimeout(handle, INTERNET_OPTION_RECEIVE_TIMEOUT, receive_ms);
  SetTimeout(handle, INTERNET_OPTION_SEND_TIMEOUT, receive_ms);
}

// The request handle of a GET of url that has been sent and whose reply's
// headers are in; nullptr when that failed. Time-outs are set on the
// connection as well as the session: some WinINets take them only there.
HINTERNET OpenRequest(HINTERNET session, HINTERNET& connection, const std::wstring& url,
                      const std::wstring& headers, int connect_ms, int receive_ms) {
  std::wstring host(256, L'\0'), path(4096, L'\0'), extra(4096, L'\0');
  URL_COMPONENTSW parts = {};
  parts.dwStructSize = sizeof parts;
  parts.lpszHostName = &host[0];
  parts.dwHostNameLength = static_cast<DWORD>(host.size());
  parts.lpszUrlPath = &path[0];
  parts.dwUrlPathLength = static_cast<DWORD>(path.size());
  parts.lpszExtraInfo = &extra[0];
  parts.dwExtraInfoLength = static_cast<DWORD>(extra.size());
  if (!InternetCrackUrlW(url.c_str(), 0, 0, &parts)) return nullptr;
  host.resize(parts.dwHostNameLength);
  path.resize(parts.dwUrlPathLength);
  extra.resize(parts.dwExtraInfoLength);
  if (path.empty()) path = L"/";
  const DWORD secure = parts.nScheme == INTERNET_SCHEME_HTTPS ? INTERNET_FLAG_SECURE : 0;
  connection = InternetConnectW(session, host.c_str(), parts.nPort, nullptr, nullptr,
                                INTERNET_SERVICE_HTTP, 0, 0);
  if (!connection) return nullptr;
  SetTimeouts(connection, connect_ms, receive_ms);
  HINTERNET request = HttpOpenRequestW(connection, L"GET", (path + extra).c_str(), nullptr,
                                       nullptr, nullptr, kOpenFlags | secure, 0);
  if (!request) return nullptr;
  if (!HttpSendRequestW(request, headers.c_str(), static_cast<DWORD>(headers.size()), nullptr, 0)) {
    InternetCloseHandle(request);
    return nullptr;
  }
  return request;
}

void Work(std::shared_ptr<HttpTransfer::State> state, std::wstring url, std::wstring headers,
          int connect_ms, int receive_ms) {
  HINTERNET session = InternetOpenW(L"Tavrik Backup", INTERNET_OPEN_TYPE_PRECONFIG, nullptr,
                                    nullptr, 0);
  HINTERNET connection = nullptr;
  HINTERNET request = nullptr;
  DWORD status = 0;
  if (session) {
    SetTimeouts(session, connect_ms, receive_ms);
    request = OpenRequest(session, connection, url, headers, connect_ms, receive_ms);
  }
  DWORD length = sizeof status;
  if (request) {
    HttpQueryInfoW(request, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &length,
                   nullptr);
  }
  {
    std::lock_guard<std::mutex> lock(state->mutex);
    state->request = request;
    state->status = static_cast<int>(status);
    state->failed = request == nullptr;
    state->finished = request == nullptr;
    state->executing = false;
  }
  SetEvent(state->news);
  while (request) {
    std::size_t wanted = 0;
    {
      std::unique_lock<std::mutex> lock(state->mutex);
      state->wake.wait(lock, [&] { return state->cancelled || state->wanted > 0; });
      if (state->cancelled) break;
      wanted = state->wanted;
    }
    bool ok = true;
    std::string piece = ReadPiece(request, wanted, ok);
    const bool last = !ok || piece.size() < wanted;
    {
      std::lock_guard<std::mutex> lock(state->mutex);
      state->failed = state->failed || !ok;
      state->finished = last;
      state->piece = std::move(piece);
      state->wanted = 0;
    }
    SetEvent(state->news);
    if (last) break;
  }
  {
    std::lock_guard<std::mutex> lock(state->mutex);
    state->request = nullptr;
    state->finished = true;
  }
  if (request) InternetCloseHandle(request);
  if (connection) InternetCloseHandle(connection);
  if (session) InternetCloseHandle(session);
}

}  // namespace

HttpTransfer::HttpTransfer() = default;

HttpTransfer::~HttpTransfer() { Cancel(); }

void HttpTransfer::set_timeouts(int connect_ms, int receive_ms) {
  connect_ms_ = connect_ms;
  receive_ms_ = receive_ms;
}

void HttpTransfer::Execute(const std::wstring& headers) {
  Cancel();
  state_ = std::make_shared<State>();
  std::thread(Work, state_, url_, headers, connect_ms_, receive_ms_).detach();
}

bool HttpTransfer::StillExecuting() const {
  if (!state_) return false;
  std::lock_guard<std::mutex> lock(state_->mutex);
  return state_->executing && !state_->cancelled;
}

int HttpTransfer::StatusCode() const {
  if (!state_) return 0;
  std::lock_guard<std::mutex> lock(state_->mutex);
  return state_->cancelled ? 0 : state_->status;
}

std::wstring HttpTransfer::GetHeader(const std::wstring& name) const {
  if (!state_) return L"";
  std::lock_guard<std::mutex> lock(state_->mutex);
  if (state_->cancelled || !state_->request) return L"";
  // HTTP_QUERY_CUSTOM takes the header's name in the buffer it fills.
  std::wstring value = name;
  value.resize(std::max<std::size_t>(name.size() + 1, 1024));
  DWORD bytes = static_cast<DWORD>(value.size() * sizeof(wchar_t));
  if (!HttpQueryInfoW(state_->request, HTTP_QUERY_CUSTOM, &value[0], &bytes, nullptr)) return L"";
  value.resize(bytes / sizeof(wchar_t));
  return value;
}

std::optional<std::string> HttpTransfer::GetChunk(std::size_t size) {
  if (!state_) return std::string();
  std::lock_guard<std::mutex> lock(state_->mutex);
  if (state_->cancelled) return std::string();
  if (state_->piece) {
    std::string piece = std::move(*state_->piece);
    state_->piece.reset();
    return piece;
  }
  if (state_->finished) return std::string();
  if (state_->wanted == 0) {
    state_->wanted = size;
    state_->wake.notify_one();
  }
  return std::nullopt;
}

void HttpTransfer::WaitAndDoEvents() {
  const DWORD kLongestWaitMs = 50;
  if (state_) MsgWaitForMultipleObjects(1, &state_->news, FALSE, kLongestWaitMs, QS_ALLINPUT);
  DoEvents();
}

void HttpTransfer::Cancel() {
  if (!state_) return;
  std::lock_guard<std::mutex> lock(state_->mutex);
  state_->cancelled = true;
  state_->wake.notify_one();
}

bool HttpTransfer::cancelled() const {
  if (!state_) return false;
  std::lock_guard<std::mutex> lock(state_->mutex);
  return state_->cancelled;
}

bool HttpTransfer::failed() const {
  if (!state_) return false;
  std::lock_guard<std::mutex> lock(state_->mutex);
  return state_->failed;
}

}  // namespace platform
