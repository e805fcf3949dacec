// The HTTP transfer against a real server on 127.0.0.1: the request it
// sends, the reply's status and headers, the body in whole pieces, which
// bodies count as whole, and how failures and a cancel end it without
// holding up the caller or leaving its connection open.
#include "platform/http.h"

#include <windows.h>

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

TEST(HttpTransferTest, SendsTheGivenHeaderLineAndAgent) {
  HttpServer server;
  server.Serve("/download/file", HttpReply{200, "x"});
  HttpTransfer transfer;
  transfer.set_agent(L"Tester/1");
  transfer.set_url(server.base_url() + L"/download/file");
  transfer.Execute(L"Range: bytes=0-\r\n");
  WaitForReply(transfer);
  const std::vector<std::string> requests = server.Requests("/download/file");
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_NE(requests[0].find("\r\nRange: bytes=0-\r\n"), std::string::npos) << requests[0];
  EXPECT_NE(requests[0].find("\r\nUser-Agent: Tester/1\r\n"), std::string::npos) << requests[0];
}

// The whole body, read piece by piece, and whether the transfer failed.
std::pair<std::string, bool> WholeBody(HttpServer& server, const HttpReply& reply) {
  server.Serve("/f", reply);
  HttpTransfer transfer;
  transfer.set_timeouts(1000, 1000);
  transfer.set_url(server.base_url() + L"/f");
  transfer.Execute(L"");
  WaitForReply(transfer);
  std::string body;
  for (std::string piece = NextPiece(transfer); !piece.empty(); piece = NextPiece(transfer)) body += piece;
  return {body, transfer.failed()};
}

TEST(HttpTransferTest, BodiesCountAsWholeOnlyByTheirFraming) {
  HttpServer server;
  const std::string body = Body(2500);
  HttpReply chunked{200, body};
  chunked.chunked = true;
  EXPECT_EQ(WholeBody(server, chunked), std::make_pair(body, false));
  HttpReply to_the_end{200, body};
  to_the_end.send_length = false;
  EXPECT_EQ(WholeBody(server, to_the_end), std::make_pair(body, false));

  HttpReply short_of_length{200, body};
  short_of_length.cut_after = 2000;
  EXPECT_TRUE(WholeBody(server, short_of_length).second);
  HttpReply no_final_chunk = chunked;
  no_final_chunk.cut_after = 3 * (5 + 1000 + 2) - 500;  // the three chunks' framing, less the end
  EXPECT_TRUE(WholeBody(server, no_final_chunk).second);
  HttpReply longer_than_said{200, body};
  longer_than_said.content_length = "1000";
  EXPECT_EQ(WholeBody(server, longer_than_said), std::make_pair(body.substr(0, 1000), false));
}

TEST(HttpTransferTest, RedirectComesBackAsItsReply) {
  HttpServer server;
  HttpReply moved{302, ""};
  moved.headers = "Location: /elsewhere\r\n";
  server.Serve("/f", moved);
  HttpTransfer transfer;
  transfer.set_url(server.base_url() + L"/f");
  transfer.Execute(L"");
  WaitForReply(transfer);
  EXPECT_EQ(transfer.StatusCode(), 302);
  EXPECT_EQ(transfer.GetHeader(L"Location"), L"/elsewhere");
  EXPECT_TRUE(server.Requests("/elsewhere").empty());
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

TEST(HttpTransferTest, CancelClosesTheConnectionAtOnce) {
  HttpServer server;
  HttpReply trickle{200, Body(100)};
  trickle.trickle_ms = 5000;
  server.Serve("/f", trickle);
  HttpTransfer transfer;
  transfer.set_url(server.base_url() + L"/f");
  transfer.Execute(L"");
  for (int wait = 0; wait < 100 && server.OpenConnections() == 0; ++wait) transfer.WaitAndDoEvents();
  ASSERT_EQ(server.OpenConnections(), 1u);
  EXPECT_TRUE(transfer.StillExecuting());
  transfer.Cancel();
  for (int wait = 0; wait < 20 && server.OpenConnections() > 0; ++wait) Sleep(50);
  EXPECT_EQ(server.OpenConnections(), 0u);
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
