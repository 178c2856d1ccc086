#pragma once
// PrinterSystem over the CUPS server the machine is configured for (client.conf, CUPS_SERVER,
// the local socket). Every query opens its own connection with a bounded wait, so a machine
// without a running server answers "no printers" at once instead of blocking or printing
// messages. Not thread-safe; queries are made from the user-interface thread.

#include <string>
#include <utility>

#include "platform/printing/printer_system.h"

namespace zr {

class CupsPrinterSystem : public PrinterSystem {
 public:
  // `server` is "host", "host:port" or a socket path; empty means the configured server.
  // `timeout_ms` bounds connecting to the server and each of its answers.
  explicit CupsPrinterSystem(std::string server = {}, int timeout_ms = 2000)
      : server_(std::move(server)), timeout_ms_(timeout_ms) {}

  std::vector<std::string> printer_names() override;
  std::string default_printer() override;
  std::optional<PrinterCapabilities> capabilities(const std::string& name) override;

 private:
  std::string server_;
  int timeout_ms_;
};

}  // namespace zr
