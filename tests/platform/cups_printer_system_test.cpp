#include "platform/printing/cups_printer_system.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <string>

namespace zr {
namespace {

using Clock = std::chrono::steady_clock;

// Whatever the machine has (a server or none), the queries answer within their bounds and
// never raise; a printer name that does not exist has no capabilities.
TEST(CupsPrinterSystem, AnswersQuicklyWithTheConfiguredServer) {
  CupsPrinterSystem system({}, 1000);
  auto start = Clock::now();
  std::vector<std::string> names;
  EXPECT_NO_THROW(names = system.printer_names());
  EXPECT_NO_THROW(system.default_printer());
  EXPECT_FALSE(system.capabilities("zorel-no-such-printer").has_value());
  for (const std::string& name : names) EXPECT_NO_THROW(system.capabilities(name));
  EXPECT_LT(Clock::now() - start, std::chrono::seconds(30));
}

TEST(CupsPrinterSystem, NoServerMeansNoPrinters) {
  for (const char* server : {"127.0.0.1:1", "/nonexistent/zorel/cups.sock"}) {
    SCOPED_TRACE(server);
    CupsPrinterSystem system(server, 1000);
    auto start = Clock::now();
    EXPECT_TRUE(system.printer_names().empty());
    EXPECT_EQ(system.default_printer(), "");
    EXPECT_FALSE(system.capabilities("anything").has_value());
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(5));
  }
}

// A loopback port whose connections the kernel completes but nobody ever answers.
class SilentServer {
 public:
  SilentServer() {
    fd_ = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (fd_ < 0 || bind(fd_, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
        listen(fd_, 16) != 0 ||
        getsockname(fd_, reinterpret_cast<sockaddr*>(&address), &length) != 0)
      return;
    port_ = ntohs(address.sin_port);
  }
  ~SilentServer() {
    if (fd_ >= 0) close(fd_);
  }
  int port() const { return port_; }

 private:
  int fd_ = -1;
  int port_ = 0;
};

TEST(CupsPrinterSystem, HungServerCostsOneTimeout) {
  SilentServer server;
  ASSERT_NE(server.port(), 0);
  CupsPrinterSystem system("127.0.0.1:" + std::to_string(server.port()), 500);
  auto start = Clock::now();
  EXPECT_TRUE(system.printer_names().empty());
  EXPECT_LT(Clock::now() - start, std::chrono::seconds(4));
  // Known to be silent now: the next queries do not wait.
  start = Clock::now();
  EXPECT_EQ(system.default_printer(), "");
  EXPECT_FALSE(system.capabilities("anything").has_value());
  EXPECT_LT(Clock::now() - start, std::chrono::milliseconds(300));
}

}  // namespace
}  // namespace zr
