// One HTTP/1.x reply read as its bytes arrive: the status line and headers,
// then the body in its framing (Content-Length, chunked, or up to the end of
// the connection). Strict on purpose: whatever does not read as a whole,
// well-formed reply ends as bad, so that a cut or garbled body is never
// taken for a complete one. No Windows here.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace platform {

class HttpReplyReader {
 public:
  enum class State { kHead, kBody, kComplete, kBad };

  // The next bytes of the connection.
  void Feed(std::string_view bytes);
  // The connection has ended: normally, or broken (reset, failed read).
  void End(bool normally);

  State state() const { return state_; }
  // The status line and headers have been read; status() and Header()
  // tell them from then on.
  bool head_done() const { return head_done_; }
  int status() const { return status_; }
  // The value of the named header (the name's letter case ignored); nothing
  // when the reply has no such header.
  std::optional<std::string> Header(std::string_view name) const;

  // Body bytes decoded so far and not yet taken.
  std::size_t buffered() const { return body_.size() - taken_; }
  // Takes up to size of them.
  std::string TakeBody(std::size_t size);

 private:
  enum class Framing { kLength, kChunked, kUntilClose, kNone };
  enum class ChunkStep { kSize, kData, kDataEnd, kTrailer };

  void ReadHead();
  bool StartBody();
  void ReadBody();
  // The next line of input_ from pos_ without its CR LF (a lone LF also
  // ends it); nothing while the line is incomplete.
  std::optional<std::string> NextLine();
  void Fail() { state_ = State::kBad; }

  State state_ = State::kHead;
  bool head_done_ = false;
  int status_ = 0;
  std::vector<std::pair<std::string, std::string>> headers_;
  std::string input_;  // bytes not yet read, from pos_
  std::size_t pos_ = 0;
  Framing framing_ = Framing::kNone;
  std::uint64_t remaining_ = 0;  // of the body (kLength) or of the chunk
  ChunkStep chunk_step_ = ChunkStep::kSize;
  std::string body_;
  std::size_t taken_ = 0;
};

// The parts of an "http://host[:port]/path" address; nothing when it is not
// one (another scheme, no host, a bad port).
struct HttpAddress {
  std::string host;  // lower case
  int port = 80;
  std::string path;  // from its "/", query included; "/" when none was given
};
std::optional<HttpAddress> ParseHttpAddress(std::string_view url);

// A plain decimal number of at most 18 digits (no sign, no blank); nothing
// for anything else.
std::optional<std::uint64_t> DecimalValue(std::string_view text);

}  // namespace platform
