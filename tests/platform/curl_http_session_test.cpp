// The HTTP client component against an in-process loopback server: cookies, headers,
// progress, failures and transfers that are given up.
#include "platform/net/curl_http_session.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "platform/errors.h"
#include "support/http_server.h"
#include "support/silent_server.h"

namespace zr {
namespace {

using testing_support::HttpTestServer;

HttpSessionOptions indy_like() {
  HttpSessionOptions options;
  options.user_agent = "Mozilla/3.0 (compatible; Indy Library)";
  options.headers = {"Accept: text/html, */*"};
  return options;
}

TEST(CurlHttpSessionTest, KeepsCookiesAndSendsItsUserAgentAndHeaders) {
  HttpTestServer server;
  server.add("/login", "ok", "text/plain", "sid=abc123; Path=/");
  server.add("/page", "page");
  CurlHttpSession session(indy_like());

  EXPECT_EQ(session.Get(server.url("/login")), "ok");
  EXPECT_EQ(session.Get(server.url("/page")), "page");
  auto transfer = session.Start(server.url("/page"));
  while (!transfer->Poll(std::chrono::milliseconds(100))) {
  }
  EXPECT_EQ(transfer->TakeBody(), "page");

  std::vector<testing_support::RecordedRequest> requests = server.requests();
  ASSERT_EQ(requests.size(), 3u);
  EXPECT_EQ(requests[0].cookie, "");
  EXPECT_EQ(requests[1].cookie, "sid=abc123");
  EXPECT_EQ(requests[2].cookie, "sid=abc123");  // polled transfers share the jar
  for (const auto& request : requests) {
    EXPECT_EQ(request.user_agent, "Mozilla/3.0 (compatible; Indy Library)");
    EXPECT_EQ(request.accept, "text/html, */*");
  }

  session.ClearCookies();
  session.Get(server.url("/page"));
  EXPECT_EQ(server.requests().back().cookie, "");
}

TEST(CurlHttpSessionTest, ReportsTheBytesReceivedSoFar) {
  HttpTestServer server;
  const std::string big(300000, 'x');
  server.add("/big", big, "application/octet-stream");
  CurlHttpSession session;
  std::vector<int64_t> counts;
  session.OnWork = [&](int64_t n) { counts.push_back(n); };
  EXPECT_EQ(session.Get(server.url("/big")).size(), big.size());
  ASSERT_FALSE(counts.empty());
  EXPECT_EQ(counts.back(), static_cast<int64_t>(big.size()));
  for (size_t i = 1; i < counts.size(); ++i) EXPECT_LT(counts[i - 1], counts[i]);
}

TEST(CurlHttpSessionTest, FailuresNameTheAddressAndTheReason) {
  HttpTestServer server;
  server.add_status("/missing", 404);
  CurlHttpSession session;
  const struct {
    std::string url;
    std::string message;
  } cases[] = {
      {server.url("/missing"), "Cannot get " + server.url("/missing") + ": HTTP status 404"},
      {"nosuch://host/x", "Cannot get nosuch://host/x: "},
      {"", "Cannot get : "},
      {"http://127.0.0.1:1/closed", "Cannot get http://127.0.0.1:1/closed: "},
  };
  for (const auto& c : cases) {
    try {
      session.Get(c.url);
      ADD_FAILURE() << c.url << " did not fail";
    } catch (const IoError& e) {
      EXPECT_EQ(std::string(e.what()).substr(0, c.message.size()), c.message) << e.what();
      EXPECT_GT(std::string(e.what()).size(), c.message.size() - 1);
    }
  }
}

TEST(CurlHttpSessionTest, AnUnfinishedTransferCanBeGivenUpAtAnyPoll) {
  HttpTestServer server;
  server.add_slow("/slow");
  CurlHttpSession session;
  {
    auto transfer = session.Start(server.url("/slow"));
    for (int i = 0; i < 3; ++i) EXPECT_FALSE(transfer->Poll(std::chrono::milliseconds(20)));
    EXPECT_FALSE(transfer->finished());
    EXPECT_THROW(transfer->TakeBody(), ZorelError);
  }  // dropped while the server still holds its answer
  server.release_slow();
  EXPECT_EQ(session.Get(server.url("/slow")), "late");
}

// A server that takes the request and never answers: a Get gives up at the session's time
// limit, tells OnGiveUp, and a stalled transfer fails at the stall timeout without a limit.
TEST(CurlHttpSessionTest, AGetGivesUpAtTheTimeLimit) {
  testing_support::SilentServer silent;
  ASSERT_NE(silent.port(), 0);
  const std::string url = silent.url("/form.zrf");
  const std::string message = "Cannot get " + url + ": no answer within 0.3 s";
  {
    CurlHttpSession session;
    std::vector<std::string> given_up;
    session.OnGiveUp = [&](const std::string& text) { given_up.push_back(text); };
    session.set_time_limit(std::chrono::milliseconds(300));
    const auto start = std::chrono::steady_clock::now();
    try {
      session.Get(url);
      ADD_FAILURE() << "no error";
    } catch (const IoError& e) {
      EXPECT_EQ(std::string(e.what()), message);
    }
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(3));
    EXPECT_EQ(given_up, std::vector<std::string>{message});
  }
  HttpSessionOptions options;
  options.stall_timeout_seconds = 1;
  CurlHttpSession stalling(options);
  const auto start = std::chrono::steady_clock::now();
  EXPECT_THROW(stalling.Get(url), IoError);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
}

TEST(CurlHttpSessionTest, ARefusedConnectionFailsAtOnce) {
  CurlHttpSession session;
  session.set_time_limit(std::chrono::seconds(60));
  const auto start = std::chrono::steady_clock::now();
  EXPECT_THROW(session.Get(testing_support::refused_url("/form.zrf")), IoError);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
}

TEST(CurlHttpSessionTest, ABodyOverTheLimitFails) {
  HttpTestServer server;
  server.add("/big", std::string(5000, 'y'));
  HttpSessionOptions options;
  options.max_body_bytes = 1000;
  CurlHttpSession session(options);
  try {
    session.Get(server.url("/big"));
    FAIL() << "no error";
  } catch (const IoError& e) {
    EXPECT_EQ(std::string(e.what()), "Download of " + server.url("/big") + " is too large");
  }
}

}  // namespace
}  // namespace zr
