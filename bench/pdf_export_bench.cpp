// PDF export of a long list report: 100,000 rows of three texts, prepared once and written
// page by page. Prints rows per second, pages, file size and the peak resident memory, which
// stays near that of the prepared report itself (only one page is buffered).
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <filesystem>
#include <memory>
#include <string>

#include "engine/model/band_view.h"
#include "engine/model/memo_view.h"
#include "engine/report/report.h"
#include "engine/report/tvt_globals.h"
#include "output/pdf/pdf_export.h"
#include "platform/codepage.h"
#include "platform/printing/memory_printer_system.h"
#include "platform/ui_services.h"

namespace {

constexpr int kRows = 100000;

void add_memo(zr::TvtPage& page, const std::string& name, int left, const std::string& text) {
  auto memo = std::make_unique<zr::TvtMemoView>();
  memo->Name = name;
  memo->SetBounds(left, 20, 200, 18);
  memo->Flags = 0;
  memo->Memo = {text};
  page.Add(std::move(memo));
}

long peak_kib() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

void BM_PdfExportListReport(benchmark::State& state) {
  zr::HeadlessUi ui{nullptr};
  zr::MemoryPrinterSystem printers;
  zr::TvtGlobals globals{ui, printers};
  zr::TvtReport report;
  report.ShowProgress = false;
  zr::TvtPage& page = report.Pages.Add();
  auto band = std::make_unique<zr::TvtBandView>();
  band->Name = "Rows";
  band->SetBandType(zr::btMasterData);
  band->SetBounds(0, 20, 700, 18);
  band->FormatText = std::to_string(kRows);
  page.Add(std::move(band));
  add_memo(page, "No", 20, "[LINE#]");
  add_memo(page, "Name", 240, "Row [LINE#] of the list");
  add_memo(page, "Korean", 460, zr::utf8_to_ansi("한글 행 [LINE#]"));
  report.PrepareReport();

  const auto file = std::filesystem::temp_directory_path() / "pdf_export_bench.pdf";
  zr::TOxvtPDFExport pdf;
  pdf.ShowDialog = false;
  for (auto _ : state) report.ExportReportTo(pdf, file.string());
  state.counters["rows/s"] =
      benchmark::Counter(double(state.iterations()) * kRows, benchmark::Counter::kIsRate);
  state.counters["pages"] = report.EMFPages.Count();
  state.counters["file MiB"] = double(std::filesystem::file_size(file)) / (1024.0 * 1024.0);
  state.counters["peak MiB"] = double(peak_kib()) / 1024.0;
  std::filesystem::remove(file);
}
BENCHMARK(BM_PdfExportListReport)->Unit(benchmark::kSecond)->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
