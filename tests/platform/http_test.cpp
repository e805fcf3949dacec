// The HTTP transfer against a real server on 127.0.0.1: the request it
// sends, the reply's status and headers, the body in whole pieces, and how
// failures and a cancel end it without holding up the caller.
#include "platform/http.h"

#include <gtest/gtest.h>

#include "support/http_server.h"

namespace platform {
namespace {

using testing_support::HttpReply;
using testing_support::HttpServer;

void WaitForReply(HttpTransfer& transfer) {
  while (transfer.StillExecuting()) transfer.WaitAndDoEvents();
}

std::string NextPiece(HttpTransfer& transfer) {
  std::optional<std::string> piece;
  while (!(piece = transfer.GetChunk(1024))) transfer.WaitAndDoEvents();
  return *piece;
}

std::string Body(std::size_t size) {
  std::string body(size, '\0');
  for (std::size_t i = 0; i < size; ++i) body[i] = static_cast<char>(i * 7 + i / 256);
  return body;
}

TEST(HttpTransferTest, SendsTheGivenHeaderLine) {
  HttpServer server;
  server.Serve("/download/file", HttpReply{200, "x"});
  HttpTransfer transfer;
  transfer.set_url(server.base_url() + L"/download/file");
  transfer.Execute(L"Range: bytes=0-\r\n");
  WaitForReply(transfer);
  const std::vector<std::string> requests = server.Requests("/download/file");
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_NE(requests[0].find("\r\nRange: bytes=0-\r\n"), std::string::npos) << requests[0];
}

TEST(HttpTransferTest, BodyComesInWholePiecesThenEmpty) {
  HttpServer server;
  const std::string body = Body(2500);
  server.Serve("/f", HttpReply{200, body});
  HttpTransfer transfer;
  transfer.set_url(server.base_url() + L"/f");
  transfer.Execute(L"");
  WaitForReply(transfer);
  EXPECT_EQ(transfer.StatusCode(), 200);
  EXPECT_EQ(transfer.GetHeader(L"Content-Length"), L"2500");
  EXPECT_EQ(transfer.GetHeader(L"X-Nothing"), L"");
  std::string received;
  std::vector<std::size_t> sizes;
  for (std::string piece = NextPiece(transfer);; piece = NextPiece(transfer)) {
    sizes.push_back(piece.size());
    received += piece;
    if (piece.empty()) break;
  }
  EXPECT_EQ(sizes, (std::vector<std::size_t>{1024, 1024, 452, 0}));
  EXPECT_EQ(received, body);
  EXPECT_FALSE(transfer.failed());
}

TEST(HttpTransferTest, ErrorStatusIsReported) {
  HttpServer server;
  HttpTransfer transfer;
  transfer.set_url(server.base_url() + L"/missing");
  transfer.Execute(L"");
  WaitForReply(transfer);
  EXPECT_EQ(transfer.StatusCode(), 404);
}

TEST(HttpTransferTest, RefusedConnectionFailsWithAnEmptyBody) {
  HttpTransfer transfer;
  transfer.set_url(testing_support::RefusingUrl() + L"/f");
  transfer.Execute(L"");
  WaitForReply(transfer);
  EXPECT_TRUE(transfer.failed());
  EXPECT_EQ(transfer.StatusCode(), 0);
  EXPECT_EQ(transfer.GetHeader(L"Content-Length"), L"");
  EXPECT_EQ(NextPiece(transfer), "");
}

TEST(HttpTransferTest, SilentServerEndsAtTheReceiveTimeout) {
  HttpServer server;
  HttpReply silent;
  silent.silent = true;
  server.Serve("/f", silent);
  HttpTransfer transfer;
  transfer.set_timeouts(1000, 1000);
  transfer.set_url(server.base_url() + L"/f");
  transfer.Execute(L"");
  WaitForReply(transfer);
  EXPECT_TRUE(transfer.failed());
  EXPECT_EQ(NextPiece(transfer), "");
}

TEST(HttpTransferTest, CancelAnswersAtOnceWhileTheServerStalls) {
  HttpServer server;
  HttpReply slow{200, Body(5000)};
  slow.stall_after = 1024;
  server.Serve("/f", slow);
  HttpTransfer transfer;
  transfer.set_url(server.base_url() + L"/f");
  transfer.Execute(L"");
  WaitForReply(transfer);
  EXPECT_EQ(NextPiece(transfer).size(), 1024u);
  // The next piece cannot come while the server stalls.
  EXPECT_FALSE(transfer.GetChunk(1024).has_value());
  transfer.Cancel();
  EXPECT_TRUE(transfer.cancelled());
  EXPECT_EQ(NextPiece(transfer), "");
  EXPECT_EQ(transfer.StatusCode(), 0);
  server.Release();
}

TEST(HttpTransferTest, ANewExecuteStartsAfresh) {
  HttpServer server;
  server.Serve("/a", HttpReply{200, "first"});
  server.Serve("/b", HttpReply{200, "second"});
  HttpTransfer transfer;
  transfer.set_url(server.base_url() + L"/a");
  transfer.Execute(L"");
  WaitForReply(transfer);
  transfer.Cancel();
  transfer.set_url(server.base_url() + L"/b");
  transfer.Execute(L"");
  WaitForReply(transfer);
  EXPECT_FALSE(transfer.cancelled());
  EXPECT_EQ(NextPiece(transfer), "second");
}

}  // namespace
}  // namespace platform
