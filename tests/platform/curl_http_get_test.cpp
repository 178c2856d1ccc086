// Plain GETs of the libcurl session against a loopback python3 http.server the test starts
// itself: bodies over HTTP and from files, and failures that name the address and the cause.
#include "platform/net/curl_http_session.h"

#include <gtest/gtest.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/errors.h"

namespace zr {
namespace {

namespace fs = std::filesystem;

// python3's http.server serving a temporary folder on a free loopback port.
class LoopbackServer {
 public:
  LoopbackServer() {
    root_ = fs::temp_directory_path() / ("zr_http_" + std::to_string(::getpid()));
    fs::create_directories(root_ / "sub");
    std::ofstream(root_ / "hello.txt", std::ios::binary) << std::string("hello\0world", 11);
    std::ofstream(root_ / "sub" / "inner.txt") << "inner";

    int out[2];
    if (::pipe(out) != 0) return;
    pid_ = ::fork();
    if (pid_ == 0) {
      ::dup2(out[1], STDOUT_FILENO);
      ::freopen("/dev/null", "w", stderr);  // the request log
      ::close(out[0]);
      ::close(out[1]);
      ::execlp("python3", "python3", "-u", "-m", "http.server", "0", "--bind", "127.0.0.1",
               "--directory", root_.c_str(), static_cast<char*>(nullptr));
      ::_exit(127);
    }
    ::close(out[1]);
    // "Serving HTTP on 127.0.0.1 port 40123 (http://127.0.0.1:40123/) ..."
    FILE* in = ::fdopen(out[0], "r");
    char line[256] = {};
    if (in && std::fgets(line, sizeof line, in))
      std::sscanf(line, "Serving HTTP on %*s port %d", &port_);
    if (in) std::fclose(in);
  }
  ~LoopbackServer() {
    if (pid_ > 0) {
      ::kill(pid_, SIGTERM);
      ::waitpid(pid_, nullptr, 0);
    }
    std::error_code ec;
    fs::remove_all(root_, ec);
  }
  LoopbackServer(const LoopbackServer&) = delete;
  LoopbackServer& operator=(const LoopbackServer&) = delete;

  int port() const { return port_; }
  std::string url(const std::string& path) const {
    return "http://127.0.0.1:" + std::to_string(port_) + path;
  }
  const fs::path& root() const { return root_; }

 private:
  fs::path root_;
  pid_t pid_ = -1;
  int port_ = 0;
};

// A loopback port nobody listens on: bound once, then released.
int closed_port() {
  int s = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  ::bind(s, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
  socklen_t len = sizeof addr;
  ::getsockname(s, reinterpret_cast<sockaddr*>(&addr), &len);
  ::close(s);
  return ntohs(addr.sin_port);
}

// The IoError's message, or "" when none was raised.
std::string failure_of(CurlHttpSession& client, const std::string& url) {
  try {
    client.Get(url);
  } catch (const IoError& e) {
    return e.what();
  }
  return {};
}

class PlainGetTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { server_ = new LoopbackServer(); }
  static void TearDownTestSuite() {
    delete server_;
    server_ = nullptr;
  }
  void SetUp() override { ASSERT_GT(server_->port(), 0) << "python3 http.server did not start"; }
  static LoopbackServer* server_;
  CurlHttpSession client;
};
LoopbackServer* PlainGetTest::server_ = nullptr;

TEST_F(PlainGetTest, GetsBodiesOverHttpAndFromFiles) {
  EXPECT_EQ(client.Get(server_->url("/hello.txt")), std::string("hello\0world", 11));
  // "/sub" answers with a redirect to "/sub/", whose listing names the file.
  EXPECT_NE(client.Get(server_->url("/sub")).find("inner.txt"), std::string::npos);
  EXPECT_EQ(client.Get("file://" + (server_->root() / "sub" / "inner.txt").string()), "inner");
}

TEST_F(PlainGetTest, FailuresNameTheAddressAndTheCause) {
  const std::string missing = server_->url("/missing.png");
  std::string message = failure_of(client, missing);
  EXPECT_NE(message.find(missing), std::string::npos) << message;
  EXPECT_NE(message.find("404"), std::string::npos) << message;

  const std::string refused = "http://127.0.0.1:" + std::to_string(closed_port()) + "/x";
  message = failure_of(client, refused);
  EXPECT_NE(message.find(refused), std::string::npos) << message;
  EXPECT_NE(message.find("onnect"), std::string::npos) << message;

  for (const char* bad : {"file:///no/such/file", "gopher://127.0.0.1/", "not a url"})
    EXPECT_NE(failure_of(client, bad), "") << bad;
}

}  // namespace
}  // namespace zr
