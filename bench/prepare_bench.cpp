// Preparation speed of a long list report: 100,000 order lines of 1,000 customers with page
// header, column header, a customer group with its SUM and COUNT footer and a page footer
// with page numbers. Prints records per second and the peak resident memory.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <memory>
#include <string>

#include "engine/model/band_view.h"
#include "engine/model/memo_view.h"
#include "engine/report/report.h"
#include "engine/report/tvt_globals.h"
#include "engine/run/db_dataset.h"
#include "platform/printing/memory_printer_system.h"
#include "platform/table/client_dataset.h"
#include "platform/ui_services.h"

namespace {

constexpr int kRecords = 100000;
constexpr int kPerCustomer = 100;

std::string order_packet() {
  std::string rows;
  rows.reserve(kRecords * 64);
  for (int i = 0; i < kRecords; ++i)
    rows += "<ROW Cust=\"" + std::to_string(i / kPerCustomer) + "\" No=\"" + std::to_string(i) +
            "\" Amount=\"" + std::to_string(i % 977) + ".25\"/>";
  return R"(<?xml version="1.0" standalone="yes"?><DATAPACKET Version="2.0"><METADATA><FIELDS>)"
         R"(<FIELD attrname="Cust" fieldtype="i4"/><FIELD attrname="No" fieldtype="i4"/>)"
         R"(<FIELD attrname="Amount" fieldtype="r8"/></FIELDS><PARAMS/></METADATA><ROWDATA>)" +
         rows + "</ROWDATA></DATAPACKET>";
}

void add_band(zr::TvtPage& page, int type, const std::string& name, int top, int height,
              const std::string& text = {}, uint16_t flags = 0) {
  auto band = std::make_unique<zr::TvtBandView>();
  band->Name = name;
  band->SetBandType(type);
  band->SetBounds(0, top, 700, height);
  band->Flags = flags;
  band->FormatText = text;
  page.Add(std::move(band));
}

void add_memo(zr::TvtPage& page, const std::string& name, int left, int top,
              const std::string& text) {
  auto memo = std::make_unique<zr::TvtMemoView>();
  memo->Name = name;
  memo->SetBounds(left, top, 150, 18);
  memo->Flags = 0;  // not stretched: the lines measure once
  memo->Memo = {text};
  page.Add(std::move(memo));
}

void build_form(zr::TvtReport& report) {
  zr::TvtPage& page = report.Pages.Add();
  add_band(page, zr::btPageHeader, "Head", 40, 20, {}, zr::kBandOnFirstPage);
  add_memo(page, "Title", 40, 41, "Orders by customer");
  add_band(page, zr::btColumnHeader, "Columns", 70, 20);
  add_memo(page, "ColNo", 40, 71, "No");
  add_memo(page, "ColAmount", 200, 71, "Amount");
  add_band(page, zr::btGroupHeader, "Customer", 100, 20, "[Orders.Cust]");
  add_memo(page, "CustNo", 40, 101, "Customer [Orders.Cust]");
  add_band(page, zr::btMasterData, "Lines", 130, 18, "datasetOrders");
  add_memo(page, "No", 40, 130, "[Orders.No]");
  add_memo(page, "Amount", 200, 130, "[Orders.Amount #N#,##0.00]");
  add_band(page, zr::btGroupFooter, "CustomerEnd", 160, 20);
  add_memo(page, "Sum", 200, 161, "[SUM([Orders.Amount]) #N#,##0.00]");
  add_memo(page, "Count", 400, 161, "[COUNT()] lines");
  add_band(page, zr::btPageFooter, "Foot", 300, 20, {}, zr::kBandOnFirstPage | zr::kBandOnLastPage);
  add_memo(page, "PageNo", 500, 301, "Page [PAGE#]");
}

long peak_kib() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

void BM_PrepareListReport(benchmark::State& state) {
  zr::HeadlessUi ui{nullptr};
  zr::MemoryPrinterSystem printers;
  zr::TvtGlobals globals{ui, printers};
  const std::string packet = order_packet();
  int pages = 0;
  for (auto _ : state) {
    zr::TvtReport report;
    report.ShowProgress = false;
    auto& orders = report.OwnerContainer().Create<zr::ClientDataset>("Orders");
    orders.load_from_bytes(packet, "Orders");
    report.OwnerContainer().Create<zr::TvtDBDataSet>("datasetOrders").SetDataSet(&orders);
    build_form(report);
    report.PrepareReport();
    pages = report.EMFPages.Count();
    benchmark::DoNotOptimize(pages);
  }
  state.counters["records/s"] =
      benchmark::Counter(double(state.iterations()) * kRecords, benchmark::Counter::kIsRate);
  state.counters["pages"] = pages;
  state.counters["peak MiB"] = double(peak_kib()) / 1024.0;
}
BENCHMARK(BM_PrepareListReport)->Unit(benchmark::kSecond)->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
