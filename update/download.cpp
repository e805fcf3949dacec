// One file's download: the request and its redirects, the checks of the
// reply's framing, the body written beside its destination until it is
// whole, and the limits kept on each tick.
#include "update/download.h"

#include <algorithm>
#include <cassert>

#include "platform/web_address.h"
#include "update/version_check.h"

namespace update {
namespace {

constexpr int kMostRedirects = 5;
// Each piece of the body written and shown.
constexpr std::size_t kPieceSize = 1024;
constexpr int kTickMs = 250;

// A body is taken only from a reply that is one.
bool IsSuccess(int status) { return status == 200 || status == 206; }
bool IsRedirect(int status) {
  return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

}  // namespace

FileDownload::FileDownload() {
  transfer.on_event = [this] { OnTransferEvent(); };
}

FileDownload::~FileDownload() { Cancel(); }

void FileDownload::Start(const platform::Form& owner, DownloadJob job) {
  Cancel();
  if (!clock_made_) {
    clock_.Create(owner, kTickMs, false);
    clock_.on_tick = [this] { OnTick(); };
    clock_made_ = true;
  }
  job_ = std::move(job);
  address_ = job_.url;
  redirects_ = 0;
  running_ = true;
  first_attempt_.reset();
  routes_ = 0;
  pace_.reset();
  clock_.set_enabled(job_.time_limit.count() > 0 || job_.pace_bytes > 0);
  transfer.set_mailbox(owner.mailbox());
  transfer.Start(address_, L"Range: bytes=0-\r\n");
}

void FileDownload::Cancel() {
  if (!running_) return;
  running_ = false;
  clock_.set_enabled(false);
  transfer.Cancel();
  if (in_body_) {
    file_.Close();
    platform::DeleteFileAt(job_.destination + L".part");
  }
  in_body_ = false;
}

void FileDownload::OnTick() {
  if (!running_) return;
  using std::chrono::milliseconds;
  const auto now = std::chrono::steady_clock::now();
  // The time looking for the routes is the lookup's own limit's.
  if (transfer.route_count() > 0) {
    if (!first_attempt_) first_attempt_ = now;
    routes_ = std::max(routes_, transfer.route_count());
  }
  const bool too_long =
      job_.time_limit.count() > 0 && first_attempt_ &&
      now - *first_attempt_ >= LimitForRoutes(job_.time_limit, routes_, milliseconds(transfer.connect_ms()));
  if (too_long ||
      (pace_ && !pace_->Keeps(std::chrono::duration_cast<milliseconds>(now - body_started_), received_))) {
    Finish(Download::kFailed);
  }
}

void FileDownload::OnTransferEvent() {
  if (!running_) return;
  using Ending = platform::HttpTransfer::Ending;
  if (!in_body_) {
    if (transfer.ending() == Ending::kProxyPassword) return Finish(Download::kProxyPassword);
    if (transfer.ending() == Ending::kFailed && transfer.status() == 0) return Finish(Download::kFailed);
    if (transfer.awaiting_reply()) return;
    OnReply();
    if (!running_ || !in_body_) return;
  }
  const bool at_end = transfer.ending() == Ending::kComplete;
  if (!WritePieces(at_end)) return;
  if (transfer.ending() == Ending::kFailed && !(expected_ > 0 && received_ == expected_))
    return Finish(Download::kFailed);
  if (at_end || (expected_ > 0 && received_ == expected_)) Finish(Download::kComplete);
}

void FileDownload::OnReply() {
  const int status = transfer.status();
  if (IsRedirect(status)) {
    const std::wstring location = transfer.Header(L"Location");
    const std::wstring next = platform::ResolveWebAddress(address_, location);
    const std::optional<platform::WebAddress> from = platform::ParseWebAddress(address_);
    const std::optional<platform::WebAddress> to = platform::ParseWebAddress(next);
    if (location.empty() || !from || !to || !IsFollowedRedirect(*from, *to) || redirects_ == kMostRedirects)
      return Finish(Download::kFailed);
    ++redirects_;
    address_ = next;
    return transfer.Start(address_, L"Range: bytes=0-\r\n");
  }
  expected_ = ContentLengthValue(platform::ToAnsi(transfer.Header(L"Content-Length")));
  // A partial reply counts only when it covers the whole file.
  whole_.reset();
  if (status == 206) whole_ = WholeFileRange(platform::ToAnsi(transfer.Header(L"Content-Range")));
  const bool acceptable = IsSuccess(status) && (status != 206 || whole_) && expected_ <= job_.size_limit;
  if (!acceptable || !file_.Create(job_.destination + L".part")) return Finish(Download::kFailed);
  in_body_ = true;
  received_ = 0;
  pending_.clear();
  // The pace is the body's: the routes, the connection and the wait for
  // the headers have limits of their own.
  body_started_ = std::chrono::steady_clock::now();
  if (job_.pace_bytes > 0) pace_.emplace(job_.pace_bytes, job_.pace_window);
}

bool FileDownload::WritePieces(bool at_end) {
  pending_ += transfer.TakeBody();
  for (;;) {
    // A server that sends more than it announced: only the announced bytes
    // are the body. WinHTTP on Windows stops there; Wine's passes on what
    // arrived with the headers.
    if (expected_ > 0) pending_.resize(std::min<std::int64_t>(pending_.size(), expected_ - received_));
    const std::size_t wanted =
        expected_ > 0 ? std::min<std::int64_t>(kPieceSize, expected_ - received_) : kPieceSize;
    const bool last = at_end || (expected_ > 0 && received_ == expected_);
    if (pending_.size() < wanted && !last) return true;
    if (pending_.empty() && !last) return true;
    const std::string piece = pending_.substr(0, std::min(pending_.size(), kPieceSize));
    pending_.erase(0, piece.size());
    received_ += static_cast<std::int64_t>(piece.size());
    if (received_ > job_.size_limit || !file_.Write(piece)) {
      Finish(Download::kFailed);
      return false;
    }
    if (job_.show_progress && on_progress) {
      const int percent = DownloadPercent(received_, expected_);
      if (percent >= 0) on_progress(percent);
    }
    // The empty piece after the last one ends the body.
    if (piece.empty()) return true;
  }
}

void FileDownload::Finish(Download result) {
  assert(running_);
  running_ = false;
  clock_.set_enabled(false);
  transfer.Cancel();
  const std::wstring partial = job_.destination + L".part";
  if (in_body_) {
    file_.Close();
    in_body_ = false;
    if (result == Download::kComplete &&
        ((expected_ > 0 && received_ != expected_) ||
         (whole_ && static_cast<std::uint64_t>(received_) != *whole_) ||
         (job_.accept && !job_.accept(partial)) || !platform::ReplaceFileWith(job_.destination, partial))) {
      result = Download::kFailed;
    }
    if (result != Download::kComplete) platform::DeleteFileAt(partial);
  } else if (result == Download::kComplete) {
    result = Download::kFailed;
  }
  // A copy: the call may start this download again with another on_done.
  const std::function<void(Download)> done = on_done;
  if (done) done(result);
}

}  // namespace update
