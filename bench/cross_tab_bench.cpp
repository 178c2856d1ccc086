// A cross tab of 100,000 sales records into 50 regions x 24 months (sum and count per cell,
// totals): the table alone, and a whole report preparing it through its cross view. Prints
// records per second, the table's cells and the peak resident memory.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <memory>
#include <string>
#include <vector>

#include "engine/model/cross_table.h"
#include "engine/model/cross_view.h"
#include "engine/report/report.h"
#include "engine/report/tvt_globals.h"
#include "engine/run/db_dataset.h"
#include "platform/printing/memory_printer_system.h"
#include "platform/table/client_dataset.h"
#include "platform/ui_services.h"

namespace {

constexpr int kRecords = 100000;
constexpr int kRegions = 50;
constexpr int kMonths = 24;

std::string region(int i) {
  return "Region " + std::to_string(100 + i % kRegions).substr(1);
}
int month(int i) {
  return 1 + (i * 7) % kMonths;
}
double amount(int i) {
  return (i % 977) + 0.25;
}

std::string sales_packet() {
  std::string rows;
  rows.reserve(kRecords * 64);
  for (int i = 0; i < kRecords; ++i)
    rows += "<ROW Region=\"" + region(i) + "\" Month=\"" + std::to_string(month(i)) +
            "\" Amount=\"" + std::to_string(amount(i)) + "\"/>";
  return R"(<?xml version="1.0" standalone="yes"?><DATAPACKET Version="2.0"><METADATA><FIELDS>)"
         R"(<FIELD attrname="Region" fieldtype="string" WIDTH="20"/>)"
         R"(<FIELD attrname="Month" fieldtype="i4"/><FIELD attrname="Amount" fieldtype="r8"/>)"
         R"(</FIELDS><PARAMS/></METADATA><ROWDATA>)" +
         rows + "</ROWDATA></DATAPACKET>";
}

long peak_kib() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

const zr::TvtStrings kDefinition = {"datasetSales", "Region", "Month", "Amount+sum;Amount+count"};

void BM_CrossTableBuild(benchmark::State& state) {
  std::vector<zr::Value> regions, months, amounts;
  for (int i = 0; i < kRecords; ++i) {
    regions.emplace_back(region(i));
    months.emplace_back(month(i));
    amounts.emplace_back(amount(i));
  }
  int cells = 0;
  for (auto _ : state) {
    zr::TvtCross cross(*zr::TvtCrossDefinition::Parse(kDefinition));
    int at = -1;
    cross.Build([&] { return ++at < kRecords; },
                [&](const std::string& field) -> const zr::Value& {
                  if (field == "Region") return regions[static_cast<size_t>(at)];
                  if (field == "Month") return months[static_cast<size_t>(at)];
                  return amounts[static_cast<size_t>(at)];
                });
    cells = cross.RowCount() * cross.ColumnCount();
    benchmark::DoNotOptimize(cells);
  }
  state.counters["records/s"] =
      benchmark::Counter(double(state.iterations()) * kRecords, benchmark::Counter::kIsRate);
  state.counters["cells"] = cells;
  state.counters["peak MiB"] = double(peak_kib()) / 1024.0;
}
BENCHMARK(BM_CrossTableBuild)->Unit(benchmark::kMillisecond);

void BM_PrepareCrossTabReport(benchmark::State& state) {
  zr::HeadlessUi ui{nullptr};
  zr::MemoryPrinterSystem printers;
  zr::TvtGlobals globals{ui, printers};
  const std::string packet = sales_packet();
  int pages = 0;
  for (auto _ : state) {
    zr::TvtReport report;
    report.ShowProgress = false;
    globals.CurReport = &report;
    auto& sales = report.OwnerContainer().Create<zr::ClientDataset>("Sales");
    sales.load_from_bytes(packet, "Sales");
    report.OwnerContainer().Create<zr::TvtDBDataSet>("datasetSales").SetDataSet(&sales);
    zr::TvtPage& page = report.Pages.Add();
    auto cross = std::make_unique<zr::TvtCrossView>();
    cross->Name = "Cross1";
    cross->Memo = kDefinition;
    page.Add(std::move(cross));
    report.PrepareReport();
    pages = report.EMFPages.Count();
    benchmark::DoNotOptimize(pages);
  }
  state.counters["records/s"] =
      benchmark::Counter(double(state.iterations()) * kRecords, benchmark::Counter::kIsRate);
  state.counters["pages"] = pages;
  state.counters["peak MiB"] = double(peak_kib()) / 1024.0;
}
BENCHMARK(BM_PrepareCrossTabReport)->Unit(benchmark::kSecond)->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
