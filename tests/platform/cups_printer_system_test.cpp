#include "platform/printing/cups_printer_system.h"

#include <gtest/gtest.h>

#include <chrono>

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

}  // namespace
}  // namespace zr
