// The HTTP reply reader and the address parts.
#include "platform/http_reply.h"

#include <algorithm>

namespace platform {

namespace {

// A head larger than this is no reply the program asked for.
constexpr std::size_t kLongestHead = 64 * 1024;
constexpr std::size_t kLongestChunkLine = 1024;
// Taken bytes are dropped from the front of the body buffer in bulk.
constexpr std::size_t kCompactAfter = 64 * 1024;

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

std::string LowerText(std::string_view text) {
  std::string lower(text);
  std::transform(lower.begin(), lower.end(), lower.begin(), Lower);
  return lower;
}

std::string_view Trimmed(std::string_view text) {
  const std::size_t first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

int HexDigit(char c) {
  if (IsDigit(c)) return c - '0';
  c = Lower(c);
  return c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
}

// The size of a chunk-size line: hex digits, then optionally blanks and
// ";" extensions, which are ignored.
std::optional<std::uint64_t> ChunkSize(std::string_view line) {
  std::size_t digits = 0;
  std::uint64_t size = 0;
  while (digits < line.size() && HexDigit(line[digits]) >= 0) {
    if (digits == 15) return std::nullopt;
    size = size * 16 + static_cast<std::uint64_t>(HexDigit(line[digits]));
    ++digits;
  }
  if (digits == 0) return std::nullopt;
  const std::string_view rest = Trimmed(line.substr(digits));
  if (!rest.empty() && rest[0] != ';') return std::nullopt;
  return size;
}

bool IsTokenChar(char c) {
  return c > 32 && c < 127 && std::string_view("()<>@,;:\\\"/[]?={}").find(c) == std::string_view::npos;
}

}  // namespace

std::optional<std::uint64_t> DecimalValue(std::string_view text) {
  if (text.empty() || text.size() > 18) return std::nullopt;
  std::uint64_t value = 0;
  for (char c : text) {
    if (!IsDigit(c)) return std::nullopt;
    value = value * 10 + static_cast<std::uint64_t>(c - '0');
  }
  return value;
}

void HttpReplyReader::Feed(std::string_view bytes) {
  if (state_ == State::kComplete || state_ == State::kBad) return;
  input_.append(bytes);
  if (state_ == State::kHead) ReadHead();
  if (state_ == State::kBody) ReadBody();
  input_.erase(0, pos_);
  pos_ = 0;
  if (state_ == State::kHead && input_.size() > kLongestHead) Fail();
}

void HttpReplyReader::End(bool normally) {
  if (state_ == State::kBody && framing_ == Framing::kUntilClose && normally) {
    state_ = State::kComplete;
  } else if (state_ != State::kComplete) {
    Fail();
  }
}

std::optional<std::string> HttpReplyReader::Header(std::string_view name) const {
  const std::string wanted = LowerText(name);
  for (const auto& [header, value] : headers_) {
    if (header == wanted) return value;
  }
  return std::nullopt;
}

std::string HttpReplyReader::TakeBody(std::size_t size) {
  const std::size_t count = std::min(size, buffered());
  std::string piece = body_.substr(taken_, count);
  taken_ += count;
  if (taken_ >= kCompactAfter && taken_ * 2 >= body_.size()) {
    body_.erase(0, taken_);
    taken_ = 0;
  }
  return piece;
}

std::optional<std::string> HttpReplyReader::NextLine() {
  const std::size_t end = input_.find('\n', pos_);
  if (end == std::string::npos) return std::nullopt;
  std::size_t length = end - pos_;
  if (length > 0 && input_[end - 1] == '\r') --length;
  std::string line = input_.substr(pos_, length);
  pos_ = end + 1;
  return line;
}

void HttpReplyReader::ReadHead() {
  while (state_ == State::kHead) {
    std::optional<std::string> line = NextLine();
    if (!line) return;
    if (status_ == 0) {
      // "HTTP/1.x 200 reason"
      if (line->size() < 12 || line->compare(0, 7, "HTTP/1.") != 0 || !IsDigit((*line)[7]) ||
          (*line)[8] != ' ' || !IsDigit((*line)[9]) || !IsDigit((*line)[10]) ||
          !IsDigit((*line)[11]) || (line->size() > 12 && (*line)[12] != ' ')) {
        return Fail();
      }
      status_ = std::stoi(line->substr(9, 3));
      if (status_ < 100) return Fail();
      continue;
    }
    if (line->empty()) {
      // An interim reply (100 Continue) is followed by the real one.
      if (status_ < 200) {
        status_ = 0;
        headers_.clear();
        continue;
      }
      if (!StartBody()) return Fail();
      return;
    }
    const std::size_t colon = line->find(':');
    if (colon == std::string::npos || colon == 0) return Fail();
    const std::string_view name(line->data(), colon);
    if (!std::all_of(name.begin(), name.end(), IsTokenChar)) return Fail();
    headers_.emplace_back(LowerText(name),
                          std::string(Trimmed(std::string_view(*line).substr(colon + 1))));
  }
}

bool HttpReplyReader::StartBody() {
  std::optional<std::uint64_t> length;
  bool chunked = false;
  for (const auto& [name, value] : headers_) {
    if (name == "content-length") {
      const std::optional<std::uint64_t> this_length = DecimalValue(value);
      if (!this_length || (length && *length != *this_length)) return false;
      length = this_length;
    } else if (name == "transfer-encoding") {
      // Only the plain chunked framing, and only once.
      if (chunked || LowerText(value) != "chunked") return false;
      chunked = true;
    }
  }
  // Both framings at once leave the body's end open to two readings.
  if (chunked && length) return false;
  head_done_ = true;
  state_ = State::kBody;
  if (status_ == 204 || status_ == 304) {
    framing_ = Framing::kNone;
    state_ = State::kComplete;
  } else if (chunked) {
    framing_ = Framing::kChunked;
  } else if (length) {
    framing_ = Framing::kLength;
    remaining_ = *length;
    if (remaining_ == 0) state_ = State::kComplete;
  } else {
    framing_ = Framing::kUntilClose;
  }
  return true;
}

void HttpReplyReader::ReadBody() {
  auto take = [this](std::uint64_t at_most) {
    const std::size_t count =
        static_cast<std::size_t>(std::min<std::uint64_t>(at_most, input_.size() - pos_));
    body_.append(input_, pos_, count);
    pos_ += count;
    return count;
  };
  switch (framing_) {
    case Framing::kNone:
      return;
    case Framing::kUntilClose:
      take(input_.size() - pos_);
      return;
    case Framing::kLength:
      remaining_ -= take(remaining_);
      if (remaining_ == 0) state_ = State::kComplete;
      return;
    case Framing::kChunked:
      break;
  }
  while (state_ == State::kBody) {
    if (chunk_step_ == ChunkStep::kData) {
      remaining_ -= take(remaining_);
      if (remaining_ > 0) return;
      chunk_step_ = ChunkStep::kDataEnd;
      continue;
    }
    std::optional<std::string> line = NextLine();
    if (!line) {
      if (input_.size() - pos_ > kLongestChunkLine) Fail();
      return;
    }
    switch (chunk_step_) {
      case ChunkStep::kSize: {
        const std::optional<std::uint64_t> size = ChunkSize(*line);
        if (!size) return Fail();
        remaining_ = *size;
        chunk_step_ = *size == 0 ? ChunkStep::kTrailer : ChunkStep::kData;
        break;
      }
      case ChunkStep::kDataEnd:
        if (!line->empty()) return Fail();
        chunk_step_ = ChunkStep::kSize;
        break;
      case ChunkStep::kTrailer:
        if (line->empty()) state_ = State::kComplete;
        break;
      case ChunkStep::kData:
        break;
    }
  }
}

std::optional<HttpAddress> ParseHttpAddress(std::string_view url) {
  if (url.size() < 7 || LowerText(url.substr(0, 7)) != "http://") return std::nullopt;
  url.remove_prefix(7);
  url = url.substr(0, url.find('#'));
  const std::size_t authority_end = url.find_first_of("/?");
  const std::string_view authority = url.substr(0, authority_end);
  HttpAddress address;
  if (authority_end != std::string_view::npos) address.path = std::string(url.substr(authority_end));
  if (address.path.empty() || address.path[0] != '/') address.path.insert(0, "/");
  if (authority.find('@') != std::string_view::npos) return std::nullopt;
  std::string_view host = authority, port;
  if (!authority.empty() && authority[0] == '[') {
    const std::size_t close = authority.find(']');
    if (close == std::string_view::npos) return std::nullopt;
    host = authority.substr(0, close + 1);
    const std::string_view rest = authority.substr(close + 1);
    if (!rest.empty() && rest[0] != ':') return std::nullopt;
    if (!rest.empty()) port = rest.substr(1);
  } else if (const std::size_t colon = authority.find(':'); colon != std::string_view::npos) {
    host = authority.substr(0, colon);
    port = authority.substr(colon + 1);
  }
  if (host.empty()) return std::nullopt;
  address.host = LowerText(host);
  if (!port.empty()) {
    const std::optional<std::uint64_t> number = port.size() <= 5 ? DecimalValue(port) : std::nullopt;
    if (!number || *number == 0 || *number > 65535) return std::nullopt;
    address.port = static_cast<int>(*number);
  }
  return address;
}

}  // namespace platform
