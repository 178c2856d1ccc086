#pragma once
// A PrinterSystem over a fixed list of printers held in memory: for tests and for running
// without a print service. Printers can be added and removed between queries, which is how
// tests make printers come and go. Print jobs are kept in memory, each page as the trace of
// its drawing (TraceCanvas), so tests can read back what was printed.

#include <string>
#include <utility>
#include <vector>

#include "platform/printing/printer_system.h"

namespace zr {

// A job as the memory printer received it.
struct MemoryPrintedJob {
  enum class State { Open, Finished, Cancelled };
  PrintJobSettings settings;
  std::vector<std::string> pages;  // the trace of each page's drawing
  State state = State::Open;
};

class MemoryPrinterSystem : public PrinterSystem {
 public:
  MemoryPrinterSystem() = default;

  // Appends a printer, or replaces the one of the same name keeping its position.
  void add_printer(std::string name, PrinterCapabilities capabilities);
  void remove_printer(const std::string& name);
  // Empty: no default printer. A name that is not installed is reported as it is.
  void set_default_printer(std::string name) { default_printer_ = std::move(name); }
  // Makes capabilities() answer nullopt for every printer, as a printer that stops answering.
  void set_silent(bool silent) { silent_ = silent; }

  std::vector<std::string> printer_names() override;
  std::string default_printer() override { return default_printer_; }
  std::optional<PrinterCapabilities> capabilities(const std::string& name) override;
  std::unique_ptr<PrintJob> start_job(const PrintJobSettings& settings,
                                      std::shared_ptr<FontResolver> fonts) override;

  // Every job started so far, oldest first.
  const std::vector<MemoryPrintedJob>& jobs() const { return jobs_; }
  void clear_jobs() { jobs_.clear(); }
  // Non-empty: start_job raises ZorelError with this reason, as a printer that refuses.
  void set_job_refusal(std::string reason) { job_refusal_ = std::move(reason); }

 private:
  class Job;
  std::vector<MemoryPrintedJob> jobs_;
  std::string job_refusal_;
  std::vector<std::pair<std::string, PrinterCapabilities>> printers_;
  std::string default_printer_;
  bool silent_ = false;
};

}  // namespace zr
