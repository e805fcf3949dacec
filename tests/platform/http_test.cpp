// The HTTP transfer against a real server on 127.0.0.1: the reply in whole
// pieces, which bodies count as whole, failures, and a cancel that answers
// at once while the server stalls.
#include "platform/http.h"

#include <gtest/gtest.h>

#include "platform/files.h"
#include "support/http_server.h"

namespace platform {
namespace {

using testing_support::HttpReply;
using testing_support::HttpServer;

class HttpTransferTest : public testing::Test {
 protected:
  void Start(const std::string& path, const HttpReply& reply) {
    server.Serve(path, reply);
    transfer.set_timeouts(1000, 1000);
    transfer.Start(Url(path), "");
    while (transfer.AwaitingReply()) transfer.WaitAndYield();
  }
  std::string Url(const std::string& path) { return ToAnsi(server.base_url()) + path; }
  std::string NextPiece() {
    std::optional<std::string> piece;
    while (!(piece = transfer.NextPiece(1024))) transfer.WaitAndYield();
    return *piece;
  }
  // The whole body read piece by piece, and the sizes of the pieces.
  std::string Body(std::vector<std::size_t>* sizes = nullptr) {
    std::string body;
    for (std::string piece = NextPiece();; piece = NextPiece()) {
      if (sizes) sizes->push_back(piece.size());
      body += piece;
      if (piece.empty()) return body;
    }
  }

  HttpServer server;
  HttpTransfer transfer;
  const std::string body_ = std::string(2500, 'b');
};

TEST_F(HttpTransferTest, ReplyComesInWholePiecesThenEmpty) {
  Start("/f", HttpReply{200, body_});
  EXPECT_EQ(transfer.status(), 200);
  EXPECT_EQ(transfer.Header("content-length"), "2500");
  EXPECT_EQ(transfer.Header("X-Nothing"), "");
  std::vector<std::size_t> sizes;
  EXPECT_EQ(Body(&sizes), body_);
  EXPECT_EQ(sizes, (std::vector<std::size_t>{1024, 1024, 452, 0}));
  EXPECT_FALSE(transfer.failed());
}

TEST_F(HttpTransferTest, BodiesCountAsWholeOnlyByTheirFraming) {
  struct Case {
    const char* name;
    void (*change)(HttpReply&);
    std::size_t size;  // of the body taken
    bool failed;
  };
  const Case cases[] = {
      {"chunked", [](HttpReply& r) { r.chunked = true; }, 2500, false},
      {"to the end", [](HttpReply& r) { r.send_length = false; }, 2500, false},
      {"longer than said", [](HttpReply& r) { r.content_length = "1000"; }, 1000, false},
      {"short of its length", [](HttpReply& r) { r.cut_after = 2000; }, 2000, true},
      // Chunks of 1000, 1000 and 500 bytes with their framing, not the final one.
      {"no final chunk", [](HttpReply& r) { r.chunked = true, r.cut_after = 2 * 1007 + 507; }, 2500, true},
      {"silent", [](HttpReply& r) { r.silent = true; }, 0, true},
  };
  for (const Case& c : cases) {
    HttpReply reply{200, body_};
    c.change(reply);
    Start("/f", reply);
    EXPECT_EQ(Body().size(), c.size) << c.name;
    EXPECT_EQ(transfer.failed(), c.failed) << c.name;
  }
}

TEST_F(HttpTransferTest, RedirectAndErrorComeBackAsTheirReply) {
  HttpReply moved{302, ""};
  moved.headers = "Location: /elsewhere\r\n";
  Start("/f", moved);
  EXPECT_EQ(transfer.status(), 302);
  EXPECT_EQ(transfer.Header("Location"), "/elsewhere");
  EXPECT_TRUE(server.Requests("/elsewhere").empty());
  Start("/missing", HttpReply{404, ""});
  EXPECT_EQ(transfer.status(), 404);
}

TEST_F(HttpTransferTest, RefusedConnectionFailsWithNoReply) {
  transfer.Start(ToAnsi(testing_support::RefusingUrl()) + "/f", "");
  while (transfer.AwaitingReply()) transfer.WaitAndYield();
  EXPECT_TRUE(transfer.failed());
  EXPECT_EQ(transfer.status(), 0);
  EXPECT_EQ(transfer.Header("Content-Length"), "");
  EXPECT_EQ(NextPiece(), "");
}

TEST_F(HttpTransferTest, CancelAnswersAtOnceWhileTheServerStallsAndANewStartBeginsAfresh) {
  HttpReply slow{200, std::string(5000, 's')};
  slow.stall_after = 1024;
  Start("/f", slow);
  EXPECT_EQ(NextPiece().size(), 1024u);
  EXPECT_FALSE(transfer.NextPiece(1024).has_value());  // stalled
  transfer.Cancel();
  EXPECT_TRUE(transfer.cancelled());
  EXPECT_EQ(NextPiece(), "");
  EXPECT_EQ(transfer.status(), 0);
  server.Release();
  Start("/b", HttpReply{200, "second"});
  EXPECT_FALSE(transfer.cancelled());
  EXPECT_EQ(NextPiece(), "second");
}

}  // namespace
}  // namespace platform
