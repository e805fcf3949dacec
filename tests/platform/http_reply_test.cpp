// The reply reader on replies no test server sends, bytes arriving one at a
// time; and the parts of an address.
#include "platform/http_reply.h"

#include <gtest/gtest.h>

namespace platform {
namespace {

HttpReplyReader Read(const std::string& bytes, bool one_at_a_time = false) {
  HttpReplyReader reader;
  if (one_at_a_time) {
    for (char c : bytes) reader.Feed(std::string_view(&c, 1));
  } else {
    reader.Feed(bytes);
  }
  return reader;
}

using State = HttpReplyReader::State;

TEST(HttpReplyReaderTest, ChunkedBodyReadByteByByte) {
  const std::string reply =
      "HTTP/1.1 200 OK\r\nTransfer-Encoding: Chunked\r\n\r\n"
      "5;name=value\r\nhello\r\n1\r\n \r\n5\r\nworld\r\n0\r\nTrailer: x\r\n\r\n";
  for (bool one_at_a_time : {false, true}) {
    HttpReplyReader reader = Read(reply, one_at_a_time);
    EXPECT_EQ(reader.state(), State::kComplete);
    EXPECT_EQ(reader.TakeBody(100), "hello world");
  }
}

TEST(HttpReplyReaderTest, AnInterimReplyIsSkipped) {
  HttpReplyReader reader = Read("HTTP/1.1 100 Continue\r\n\r\nHTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\nok");
  EXPECT_EQ(reader.status(), 200);
  EXPECT_EQ(reader.state(), State::kComplete);
  EXPECT_EQ(*reader.Header("content-length"), "2");
}

TEST(HttpReplyReaderTest, MalformedRepliesAreBad) {
  const char* bad[] = {
      "HTTP/2 200 OK\r\n\r\n",
      "HTTP/1.1 20 OK\r\n\r\n",
      "<html>\r\n\r\n",
      "HTTP/1.1 200 OK\r\nNo colon here\r\n\r\n",
      "HTTP/1.1 200 OK\r\nContent-Length: 5\r\nContent-Length: 6\r\n\r\n",
      "HTTP/1.1 200 OK\r\nContent-Length: -5\r\n\r\n",
      "HTTP/1.1 200 OK\r\nContent-Length: 5\r\nTransfer-Encoding: chunked\r\n\r\n",
      "HTTP/1.1 200 OK\r\nTransfer-Encoding: gzip, chunked\r\n\r\n",
      "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\nzz\r\n",
      "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n2\r\nabc\r\n",
      "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n1000000000000000\r\n",
  };
  for (const char* reply : bad) EXPECT_EQ(Read(reply).state(), State::kBad) << reply;
  EXPECT_EQ(Read("HTTP/1.1 200 OK\r\n" + std::string(70000, 'x')).state(), State::kBad);
}

TEST(HttpReplyReaderTest, TheEndOfTheConnectionCompletesOnlyABodyWithoutFraming) {
  // The reply, whether the connection ended cleanly, and whether it is whole.
  for (auto [reply, clean, whole] : {std::tuple{"HTTP/1.1 200 OK\r\n\r\nabc", true, true},
                                     {"HTTP/1.1 200 OK\r\n\r\nabc", false, false},
                                     {"HTTP/1.1 200 OK\r\nContent-Length: 4\r\n\r\nabc", true, false},
                                     {"HTTP/1.1 200 OK\r\n", true, false}}) {
    HttpReplyReader reader = Read(reply);
    reader.End(clean);
    EXPECT_EQ(reader.state(), whole ? State::kComplete : State::kBad) << reply;
  }
}

TEST(ParseHttpAddressTest, HostPortAndPath) {
  const std::optional<HttpAddress> full = ParseHttpAddress("http://WWW.Tavrik.test:8080/a/b?c=d#e");
  ASSERT_TRUE(full);
  EXPECT_EQ(full->host, "www.tavrik.test");
  EXPECT_EQ(full->port, 8080);
  EXPECT_EQ(full->path, "/a/b?c=d");
  EXPECT_EQ(ParseHttpAddress("http://host")->path, "/");
  EXPECT_EQ(ParseHttpAddress("http://[::1]:81/x")->host, "[::1]");
  for (const char* no : {"https://host/", "http://:80/", "http://host:0/", "http://host:65536/", "http://user@host/"})
    EXPECT_FALSE(ParseHttpAddress(no)) << no;
}

}  // namespace
}  // namespace platform
