#pragma once
// PrinterSystem over the CUPS server the machine is configured for (client.conf, CUPS_SERVER,
// the local socket). Every query opens its own connection and waits at most the timeout for
// each answer, so a machine without a running server answers "no printers" at once, and one
// whose server hangs after a single timeout; such a server is then not asked again for
// kSilentPause. Jobs stream their document to the server with the same bound on each wait. Not
// thread-safe; queries are made from the user-interface thread. An explicit server becomes
// libcups's process-wide server setting.

#include <chrono>
#include <string>
#include <utility>

#include "platform/printing/printer_system.h"

namespace zr {

class CupsPrinterSystem : public PrinterSystem {
 public:
  // `server` is "host", "host:port" or a socket path; empty means the configured server.
  // `timeout_ms` bounds connecting to the server and each of its answers.
  explicit CupsPrinterSystem(std::string server = {}, int timeout_ms = 1000)
      : server_(std::move(server)), timeout_ms_(timeout_ms) {}

  std::vector<std::string> printer_names() override;
  std::string default_printer() override;
  std::optional<PrinterCapabilities> capabilities(const std::string& name) override;
  std::unique_ptr<PrintJob> start_job(const PrintJobSettings& settings,
                                      std::shared_ptr<FontResolver> fonts) override;
  std::string problem() const override { return problem_; }

 private:
  using Clock = std::chrono::steady_clock;
  static constexpr std::chrono::seconds kSilentPause{30};
  class Session;
  // False when the server is not reached or known to be silent, or does not answer now.
  bool usable(Session& session);
  // False, and the server known to be silent, when a wait of `session` ran out.
  bool answered(const Session& session);
  // Makes an explicit server libcups's server setting.
  void use_server() const;

  std::string server_;
  int timeout_ms_;
  Clock::time_point silent_until_{};
  std::string problem_;
};

}  // namespace zr
