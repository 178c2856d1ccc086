// The preview: painting one dense page (60 rows of framed text) at 100 % and at whole-page
// zoom into an off-screen surface of the window's size, and paging through a 2,000-page report
// one Ctrl+Page Down at a time, each turn painted. The pages are recreated from their streams
// as they come on screen and dropped when they leave, so memory stays flat: the counters give
// the resident size before and after the walk.
#include <benchmark/benchmark.h>

#include <fstream>
#include <memory>
#include <string>

#include "engine/model/memo_view.h"
#include "engine/report/report.h"
#include "engine/report/tvt_globals.h"
#include "output/preview/preview_model.h"
#include "platform/canvas/cairo_canvas.h"
#include "platform/graphics/bitmap.h"
#include "platform/printing/memory_printer_system.h"
#include "platform/ui_services.h"

namespace {

using namespace zr;

// Resident memory in KiB (/proc/self/statm).
long resident_kib() {
  std::ifstream statm("/proc/self/statm");
  long size = 0, resident = 0;
  statm >> size >> resident;
  return resident * 4;
}

struct Engine {
  HeadlessUi ui{nullptr};
  MemoryPrinterSystem printers;
  TvtGlobals globals{ui, printers};
  TvtReport report;
  Engine() { globals.CurReport = &report; }

  // A4 pages of 60 framed rows of text each.
  void add_pages(int count) {
    for (int p = 0; p < count; ++p) {
      TvtEMFPages& pages = report.EMFPages;
      pages.Insert(pages.Count(), TvtPage());
      TvtPreparedPage& info = pages.PageInfo(pages.Count() - 1);
      info.Page = std::make_unique<TvtPage>();
      for (int row = 0; row < 60; ++row) {
        auto memo = std::make_unique<TvtMemoView>();
        memo->Name = "Row" + std::to_string(row);
        memo->SetBounds(40, 40 + row * 16, 660, 16);
        memo->FrameTyp = kFrameAll;
        memo->Memo = {"Page " + std::to_string(p + 1) + " row " + std::to_string(row) +
                      "  Seoul  1,234,567.00  2026-12-10  customer number " +
                      std::to_string(p * 60 + row)};
        info.Page->Add(std::move(memo));
      }
      pages.PageToObjects(pages.Count() - 1);
      info.Page.reset();
    }
  }
};

void paint_once(TvtPreviewModel& model, Bitmap& surface) {
  auto canvas = CairoCanvas::for_bitmap(surface, TvtGlobals::Get().fonts);
  model.Paint(*canvas, Rect{0, 0, surface.width(), surface.height()});
  canvas->flush();
}

void BM_PaintDensePage(benchmark::State& state) {
  Engine engine;
  engine.add_pages(1);
  PreviewZoomMemory zoom;
  TvtPreviewModel model(zoom);
  model.SetBoxSize(613, 411);
  model.ShowReport(engine.report);
  model.ZoomMenuClick(static_cast<int>(state.range(0)));
  Bitmap surface(613, 411);
  for (auto _ : state) paint_once(model, surface);
  state.SetLabel(state.range(0) == kZoomWholePage ? "whole page" : "100%");
}
BENCHMARK(BM_PaintDensePage)->Arg(100)->Arg(kZoomWholePage)->Unit(benchmark::kMillisecond);

void BM_PageThrough2000Pages(benchmark::State& state) {
  Engine engine;
  engine.add_pages(2000);
  PreviewZoomMemory zoom;
  TvtPreviewModel model(zoom);
  model.SetBoxSize(613, 411);
  model.ShowReport(engine.report);
  Bitmap surface(613, 411);
  paint_once(model, surface);
  const long before = resident_kib();
  long turns = 0;
  for (auto _ : state) {
    if (model.CurPage == model.PageCount()) model.KeyDown(PreviewKey::Home, true);
    model.KeyDown(PreviewKey::PageDown, true);
    paint_once(model, surface);
    ++turns;
  }
  state.counters["rss_before_kib"] = static_cast<double>(before);
  state.counters["rss_after_kib"] = static_cast<double>(resident_kib());
  state.counters["turns"] = static_cast<double>(turns);
}
BENCHMARK(BM_PageThrough2000Pages)->Iterations(2000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
