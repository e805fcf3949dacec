// One file fetched over HTTP(S) into a local file, as a small state machine
// driven by the window's messages: each step of the transfer, and each tick
// of the timer that keeps its limits, moves it on; nothing waits. The body
// is written beside its destination and takes its place only when whole.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "platform/files.h"
#include "platform/form.h"
#include "platform/http.h"
#include "platform/timer.h"
#include "update/download_pace.h"

namespace update {

// How a download ended. Only a complete one reaches its destination file.
enum class Download { kComplete, kFailed, kCancelled, kProxyPassword };

struct DownloadJob {
  std::wstring url, destination;
  // The bar follows the body, once per piece of 1024 bytes.
  bool show_progress = false;
  // Bodies longer than this are refused as they arrive.
  std::int64_t size_limit = 0;
  // The whole download ends as failed after this time from its first
  // connection attempt, longer by a connection limit for each further
  // route (LimitForRoutes); 0: no limit.
  std::chrono::milliseconds time_limit{0};
  // It fails when fewer than pace_bytes come in any pace_window from the
  // body's reply headers on; 0: no rule.
  std::int64_t pace_bytes = 0;
  std::chrono::milliseconds pace_window{0};
  // Takes or refuses the written file before it replaces destination.
  std::function<bool(const std::wstring& written)> accept;
};

class FileDownload {
 public:
  FileDownload();
  FileDownload(const FileDownload&) = delete;
  FileDownload& operator=(const FileDownload&) = delete;
  ~FileDownload();

  // Starts fetching job.url; owner is the window whose messages and timer
  // drive it. A download still running is cancelled first. Redirects are
  // followed only on the same host, and from http only up to https.
  void Start(const platform::Form& owner, DownloadJob job);
  // Stops at once; the destination stays as it was and on_done is not
  // called.
  void Cancel();
  bool running() const { return running_; }

  // The bar's percentage, for each piece of a body of known length.
  std::function<void(int percent)> on_progress;
  // How the download ended; called once per Start that was not cancelled.
  std::function<void(Download)> on_done;

  // Tests set its time-outs and route finder.
  platform::HttpTransfer transfer;

 private:
  void OnTransferEvent();
  void OnTick();
  // The reply's headers are in: a redirect to follow, or the body's file.
  void OnReply();
  // Writes the body's new bytes in pieces; true when the body is whole.
  bool WritePieces(bool at_end);
  void Finish(Download result);

  bool running_ = false;
  DownloadJob job_;
  std::wstring address_;
  int redirects_ = 0;
  bool in_body_ = false;
  std::int64_t expected_ = 0, received_ = 0;
  // For a 206, the length of the whole file its range covers.
  std::optional<std::uint64_t> whole_;
  std::string pending_;
  platform::ByteFileWriter file_;
  // When the first route was tried, and the most routes a lookup gave.
  std::optional<std::chrono::steady_clock::time_point> first_attempt_;
  std::size_t routes_ = 0;
  // When the body's reply headers came.
  std::chrono::steady_clock::time_point body_started_;
  std::optional<PaceRule> pace_;
  platform::Timer clock_;
  bool clock_made_ = false;
};

}  // namespace update
