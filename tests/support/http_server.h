#pragma once
// An HTTP server on a free loopback port, run in-process on a thread of its own (cpp-httplib),
// for tests of the HTTP client and the load pipeline. Routes are added before requests are
// made. Every request to a route is recorded (path, user agent, accept and cookie headers). The
// "slow" routes made with add_slow hold their answer until release_slow() or the server's end, so a
// client's timeout can be tested without waiting for the server.

#include <httplib.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace zr::testing_support {

struct RecordedRequest {
  std::string path;
  std::string user_agent;
  std::string accept;
  std::string cookie;
};

class HttpTestServer {
 public:
  HttpTestServer() {
    port_ = server_.bind_to_any_port("127.0.0.1");
    // The socket listens once bound; requests made before the thread accepts them wait.
    thread_ = std::thread([this] { server_.listen_after_bind(); });
  }
  ~HttpTestServer() {
    release_slow();
    server_.stop();
    thread_.join();
  }
  HttpTestServer(const HttpTestServer&) = delete;
  HttpTestServer& operator=(const HttpTestServer&) = delete;

  // Serves `body` at `path` with `content_type`, and `set_cookie` as a Set-Cookie header
  // when not empty.
  void add(const std::string& path, std::string body, std::string content_type = "text/html",
           std::string set_cookie = {}) {
    server_.Get(path, [this, body, content_type, set_cookie](const httplib::Request& req,
                                                             httplib::Response& res) {
      record(req);
      if (!set_cookie.empty()) res.set_header("Set-Cookie", set_cookie);
      res.set_content(body, content_type.c_str());
    });
  }
  // Answers `status` with a short text.
  void add_status(const std::string& path, int status) {
    server_.Get(path, [this, status](const httplib::Request& req, httplib::Response& res) {
      record(req);
      res.status = status;
      res.set_content("error page", "text/html");
    });
  }
  // Answers only when released (or after a minute), then with `body`.
  void add_slow(const std::string& path, std::string body = "late") {
    server_.Get(path, [this, body](const httplib::Request& req, httplib::Response& res) {
      record(req);
      std::unique_lock<std::mutex> lock(slow_mutex_);
      slow_released_.wait_for(lock, std::chrono::minutes(1), [this] { return released_; });
      res.set_content(body, "text/html");
    });
  }
  void release_slow() {
    {
      std::lock_guard<std::mutex> lock(slow_mutex_);
      released_ = true;
    }
    slow_released_.notify_all();
  }

  httplib::Server& server() { return server_; }
  std::string url(const std::string& path) const {
    return "http://127.0.0.1:" + std::to_string(port_) + path;
  }
  std::vector<RecordedRequest> requests() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return requests_;
  }

 private:
  // Before the answer goes out, so a client that has its answer finds its request here.
  void record(const httplib::Request& req) {
    std::lock_guard<std::mutex> lock(mutex_);
    requests_.push_back({req.path, req.get_header_value("User-Agent"),
                         req.get_header_value("Accept"), req.get_header_value("Cookie")});
  }

  httplib::Server server_;
  int port_ = 0;
  std::thread thread_;
  mutable std::mutex mutex_;
  std::vector<RecordedRequest> requests_;
  std::mutex slow_mutex_;
  std::condition_variable slow_released_;
  bool released_ = false;
};

}  // namespace zr::testing_support
