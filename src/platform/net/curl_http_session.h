#pragma once
// An HTTP client component over libcurl that behaves like one long-lived client: cookies the
// servers set are kept for the session's life and sent back on later requests, every request
// carries the session's user agent and headers, and the bytes received so far are reported
// while a transfer runs. Each transfer has a connection of its own, closed when the transfer
// ends (the client is disconnected after every transfer).
//
// Two ways to fetch: Get runs a transfer to its end; Start returns an HttpTransfer that moves
// only while its owner polls it, so a caller's wait loop (the viewer's 100 ms ticks) can give
// up at any tick without a thread or a hanging call. Destroying an unfinished transfer
// aborts it and closes its connection.
//
// http, https (peer and host verified against the system's certificates) and file addresses;
// redirects followed. Not thread-safe: one session per thread, and its transfers are polled
// on that thread.

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/net/http_client.h"

namespace zr {

struct HttpSessionOptions {
  std::string user_agent;
  // Extra request headers, "Name: value".
  std::vector<std::string> headers;
  long connect_timeout_seconds = 30;
  // A transfer that receives nothing for this long fails instead of hanging (0: never).
  long stall_timeout_seconds = 30;
  size_t max_body_bytes = size_t{512} << 20;
};

// Called with the number of body bytes received so far.
using HttpWorkHandler = std::function<void(int64_t work_count)>;

class HttpTransfer {
 public:
  class Impl;
  explicit HttpTransfer(std::unique_ptr<Impl> impl);
  ~HttpTransfer();  // aborts an unfinished transfer
  HttpTransfer(const HttpTransfer&) = delete;
  HttpTransfer& operator=(const HttpTransfer&) = delete;

  // Lets the transfer move on for at most `wait`, returning earlier once it has finished.
  // True when it has finished (with or without success). Never raises for network failures.
  bool Poll(std::chrono::milliseconds wait);
  bool finished() const;
  // After finishing: the body. Raises the transfer's IoError (naming the address) when it
  // failed, ZorelError when called before the transfer has finished.
  std::string TakeBody();

 private:
  std::unique_ptr<Impl> impl_;
};

class CurlHttpSession : public HttpClient {
 public:
  explicit CurlHttpSession(HttpSessionOptions options = {});
  ~CurlHttpSession() override;
  CurlHttpSession(const CurlHttpSession&) = delete;
  CurlHttpSession& operator=(const CurlHttpSession&) = delete;

  // Runs a GET to its end, calling OnWork as bytes arrive. Raises IoError naming the address
  // with curl's message (no connection, bad address, TLS failure), the HTTP status (400 and
  // above), a body larger than max_body_bytes, or the time limit passed (after OnGiveUp).
  std::string Get(std::string_view url) override;
  // How long one Get may take in all; zero (the default) sets no limit beyond the stall
  // timeout. Transfers made with Start are timed by their owner.
  void set_time_limit(std::chrono::milliseconds limit) { time_limit_ = limit; }
  std::chrono::milliseconds time_limit() const { return time_limit_; }
  // Starts a GET that moves only while polled; `on_work` (may be empty) sees its progress.
  std::unique_ptr<HttpTransfer> Start(std::string_view url, HttpWorkHandler on_work = {});

  // Forgets every cookie of the session.
  void ClearCookies();

  HttpWorkHandler OnWork;
  // Called with the error's message when a Get gives up at the time limit, before it raises:
  // callers that swallow fetch errors (pictures) still let their owner know.
  std::function<void(const std::string& message)> OnGiveUp;

  struct Shared;  // the cookie jar (defined with the transfers)

 private:
  HttpSessionOptions options_;
  std::chrono::milliseconds time_limit_{0};
  std::shared_ptr<Shared> shared_;  // the cookie jar, kept alive by unfinished transfers
};

}  // namespace zr
