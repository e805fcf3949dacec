// The About window's download of one file over HTTP(S): the request and its
// redirects, the checks of the reply's framing, and the body written beside
// its destination until it is whole.
#include "update/about_window.h"

#include <cstdint>

#include "platform/files.h"
#include "platform/message_loop.h"
#include "platform/web_address.h"
#include "update/version_check.h"

namespace update {
namespace {

constexpr int kMostRedirects = 5;
// Each piece of the body asked of the transfer.
constexpr std::size_t kPieceSize = 1024;

// A body is taken only from a reply that is one.
bool IsSuccess(int status) { return status == 200 || status == 206; }
bool IsRedirect(int status) {
  return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

// What the final reply's headers say of its body.
struct BodyFrame {
  std::int64_t expected;  // Content-Length; 0 when there is none
  // For a 206, the length of the whole file its range covers.
  std::optional<std::uint64_t> whole;
  bool acceptable;
};

BodyFrame ReadFrame(const platform::HttpTransfer& transfer, std::int64_t limit) {
  const int status = transfer.status();
  BodyFrame frame;
  frame.expected = ContentLengthValue(platform::ToAnsi(transfer.Header(L"Content-Length")));
  // A partial reply counts only when it covers the whole file.
  if (status == 206)
    frame.whole = WholeFileRange(platform::ToAnsi(transfer.Header(L"Content-Range")));
  frame.acceptable = IsSuccess(status) && (status != 206 || frame.whole) && frame.expected <= limit;
  return frame;
}

}  // namespace

Download AboutWindow::AwaitFinalReply(const std::wstring& url) {
  std::wstring address = url;
  for (int redirects = 0;; ++redirects) {
    transfer.Start(address, L"Range: bytes=0-\r\n");
    while (transfer.AwaitingReply()) transfer.WaitAndYield();
    if (transfer.cancelled()) return Download::kCancelled;
    if (!IsRedirect(transfer.status())) return Download::kComplete;
    const std::wstring location = transfer.Header(L"Location");
    const std::wstring next = platform::ResolveWebAddress(address, location);
    transfer.Cancel();
    const std::optional<platform::WebAddress> from = platform::ParseWebAddress(address);
    const std::optional<platform::WebAddress> to = platform::ParseWebAddress(next);
    if (location.empty() || !from || !to || !IsFollowedRedirect(*from, *to) ||
        redirects == kMostRedirects) {
      return Download::kFailed;
    }
    address = next;
  }
}

std::optional<std::int64_t> AboutWindow::ReceiveBody(platform::ByteFileWriter& file,
                                                     bool show_progress, std::int64_t limit,
                                                     std::int64_t expected) {
  std::int64_t received = 0;
  for (;;) {
    std::optional<std::string> piece;
    while (!(piece = transfer.NextPiece(kPieceSize))) transfer.WaitAndYield();
    // A server that sends more than it announced: only the announced bytes
    // are the body. WinHTTP on Windows stops there; Wine's passes on what
    // arrived with the headers.
    if (expected > 0 && static_cast<std::int64_t>(piece->size()) > expected - received)
      piece->resize(static_cast<std::size_t>(expected - received));
    received += static_cast<std::int64_t>(piece->size());
    if (received > limit || !file.Write(*piece)) return std::nullopt;
    if (show_progress) {
      const int percent = DownloadPercent(received, expected);
      if (percent >= 0) ShowProgress(percent);
    }
    platform::DoEvents();
    // An empty piece: the body is over, failed or cancelled; which, the
    // caller asks the transfer.
    if (piece->empty()) return received;
  }
}

Download AboutWindow::DownloadFile(const std::wstring& url, const std::wstring& destination,
                                   bool show_progress, std::int64_t limit,
                                   const std::function<bool(const std::wstring& written)>& accept) {
  platform::DoEvents();
  const Download reply = AwaitFinalReply(url);
  if (reply != Download::kComplete) return reply;
  const BodyFrame frame = ReadFrame(transfer, limit);
  platform::DoEvents();
  if (transfer.cancelled()) return Download::kCancelled;

  const std::wstring partial = destination + L".part";
  platform::ByteFileWriter file;
  if (!frame.acceptable || !file.Create(partial)) {
    transfer.Cancel();
    return Download::kFailed;
  }
  const std::optional<std::int64_t> received =
      ReceiveBody(file, show_progress, limit, frame.expected);
  file.Close();

  Download result = Download::kComplete;
  if (!received) {
    transfer.Cancel();
    result = Download::kFailed;
  } else if (transfer.cancelled()) {
    result = Download::kCancelled;
  } else if (transfer.failed() || (frame.expected > 0 && *received != frame.expected) ||
             (frame.whole && static_cast<std::uint64_t>(*received) != *frame.whole) ||
             (accept && !accept(partial)) || !platform::ReplaceFileWith(destination, partial)) {
    result = Download::kFailed;
  }
  if (result != Download::kComplete) platform::DeleteFileAt(partial);
  return result;
}

}  // namespace update
