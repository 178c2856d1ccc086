#include "platform/printing/memory_printer_system.h"

#include <algorithm>

#include "platform/canvas/trace_canvas.h"
#include "platform/errors.h"

namespace zr {

void MemoryPrinterSystem::add_printer(std::string name, PrinterCapabilities capabilities) {
  auto found = std::find_if(printers_.begin(), printers_.end(),
                            [&](const auto& printer) { return printer.first == name; });
  if (found != printers_.end())
    found->second = std::move(capabilities);
  else
    printers_.emplace_back(std::move(name), std::move(capabilities));
}

void MemoryPrinterSystem::remove_printer(const std::string& name) {
  std::erase_if(printers_, [&](const auto& printer) { return printer.first == name; });
}

std::vector<std::string> MemoryPrinterSystem::printer_names() {
  std::vector<std::string> names;
  for (const auto& printer : printers_) names.push_back(printer.first);
  return names;
}

std::optional<PrinterCapabilities> MemoryPrinterSystem::capabilities(const std::string& name) {
  if (silent_) return std::nullopt;
  for (const auto& printer : printers_)
    if (printer.first == name) return printer.second;
  return std::nullopt;
}

// Draws each page on a TraceCanvas and files its trace with the job's record when the page
// ends.
class MemoryPrinterSystem::Job : public PrintJob {
 public:
  Job(MemoryPrinterSystem& system, size_t index, std::shared_ptr<FontResolver> fonts)
      : system_(system), index_(index), fonts_(std::move(fonts)) {
    open_page();
  }
  ~Job() override { cancel(); }

  Canvas& canvas() override { return *page_; }
  void new_page() override {
    close_page();
    open_page();
  }
  void finish() override {
    if (record().state != MemoryPrintedJob::State::Open) return;
    close_page();
    record().state = MemoryPrintedJob::State::Finished;
  }
  void cancel() override {
    if (record().state != MemoryPrintedJob::State::Open) return;
    page_.reset();
    record().state = MemoryPrintedJob::State::Cancelled;
  }

 private:
  MemoryPrintedJob& record() { return system_.jobs_[index_]; }
  void open_page() {
    const PrintJobSettings& s = record().settings;
    auto dots = [](int32_t tenths, int32_t dpi) {
      return static_cast<int>(int64_t{tenths} * dpi / 254);
    };
    Rect paper{-s.offset_x, -s.offset_y, dots(s.paper_width, s.dpi_x) - s.offset_x,
               dots(s.paper_height, s.dpi_y) - s.offset_y};
    page_ = std::make_unique<TraceCanvas>(fonts_, paper, Resolution{s.dpi_x, s.dpi_y});
  }
  void close_page() {
    if (page_) record().pages.push_back(page_->trace());
    page_.reset();
  }

  MemoryPrinterSystem& system_;
  size_t index_;
  std::shared_ptr<FontResolver> fonts_;
  std::unique_ptr<TraceCanvas> page_;
};

std::unique_ptr<PrintJob> MemoryPrinterSystem::start_job(const PrintJobSettings& settings,
                                                         std::shared_ptr<FontResolver> fonts) {
  if (!job_refusal_.empty()) throw ZorelError(job_refusal_);
  bool installed = std::any_of(printers_.begin(), printers_.end(), [&](const auto& printer) {
    return printer.first == settings.printer;
  });
  if (!installed || silent_)
    throw ZorelError("The printer \"" + settings.printer + "\" does not answer");
  jobs_.push_back({settings, {}, MemoryPrintedJob::State::Open});
  return std::make_unique<Job>(*this, jobs_.size() - 1, std::move(fonts));
}

}  // namespace zr
