// The printing loop: prepared pages onto print jobs of the current printer.
#include "engine/locale/locale_strings.h"
#include "engine/report/page_list.h"
#include "engine/report/report.h"
#include "engine/report/tvt_globals.h"
#include "platform/errors.h"
#include "platform/rounding.h"

namespace zr {

namespace {

PrinterOrientation orientation_of(const TvtPreparedPage& page) {
  return page.Orientation ? PrinterOrientation::Landscape : PrinterOrientation::Portrait;
}

bool prints(int number, TvtReport::WhichPages which) {
  switch (which) {
    case TvtReport::WhichPages::Odd:
      return number % 2 == 1;
    case TvtReport::WhichPages::Even:
      return number % 2 == 0;
    default:
      return true;
  }
}

int32_t scaled(int32_t margin, int32_t device, int32_t design) {
  return design > 0 ? round_half_even_to_int(static_cast<double>(margin) * device / design) : 0;
}

// Where a page goes on the printer's page, in dots from the printable area's corner: the
// whole paper for a page that lays out its own margins, else the printable area less the
// page's margins.
Rect target_rect(const TvtPreparedPage& page) {
  const PrinterInfo& p = page.PrnInfo;
  if (page.UseMargins)
    return {-p.device_offset_x, -p.device_offset_y, p.device_page_width - p.device_offset_x,
            p.device_page_height - p.device_offset_y};
  return {scaled(page.LeftMargin, p.device_printable_width, p.printable_width),
          scaled(page.TopMargin, p.device_printable_height, p.printable_height),
          p.device_printable_width -
              scaled(page.RightMargin, p.device_printable_width, p.printable_width),
          p.device_printable_height -
              scaled(page.BottomMargin, p.device_printable_height, p.printable_height)};
}

// The engine in run mode on `report` while it prints; the job is dropped when printing
// leaves by an exception, and the progress window is hidden however it ends.
class PrintScope {
 public:
  PrintScope(TvtReport& report, bool window)
      : report_(report),
        g_(TvtGlobals::Get()),
        saved_mode_(g_.mode),
        saved_report_(g_.CurReport),
        window_(window) {
    g_.mode = EngineMode::Run;
    g_.CurReport = &report;
    if (window_) g_.ui.show_progress_window(report.ProgressCaption, report.ProgressStage);
  }
  ~PrintScope() {
    g_.printer.system_printer().Abort();  // nothing when the job ended
    report_.EMFPages.PrinterCanvas = nullptr;
    if (window_) g_.ui.hide_progress_window();
    g_.CurReport = saved_report_;
    g_.mode = saved_mode_;
  }
  PrintScope(const PrintScope&) = delete;
  PrintScope& operator=(const PrintScope&) = delete;

 private:
  TvtReport& report_;
  TvtGlobals& g_;
  EngineMode saved_mode_;
  TvtReport* saved_report_;
  bool window_;
};

}  // namespace

void TvtReport::PrintPreparedReport(const std::string& page_list, int copies, bool collate,
                                    WhichPages which) {
  TvtGlobals& g = TvtGlobals::Get();
  TvtPrinter& printer = g.printer;
  ApplicationPrinter& device = printer.system_printer();
  printer.SetPrinter();
  const int count = EMFPages.Count();
  const PageList pages = PageList::Parse(page_list, count);
  copies = std::max(copies, 1);
  if (device.Printers().empty()) {
    std::string problem = device.SystemProblem();
    throw ZorelError(
        "Nothing was printed: " +
        (problem.empty() ? "no printer is installed, only the virtual printer" : problem) + " (" +
        std::to_string(count) + " pages prepared)");
  }
  if (count == 0) return;

  auto take_paper = [&](const TvtPreparedPage& page) {
    printer.SetPrinterInfo(page.PageSize, page.PageWidth, page.PageHeight, orientation_of(page),
                           page.Bin, true);
    // Taking a paper resets the driver's copy count; uncollated copies need it again.
    if (device.Mode()) {
      DeviceMode mode = *device.Mode();
      mode.copies = collate ? 1 : copies;
      device.SetMode(mode);
    }
  };
  take_paper(EMFPages.PageInfo(0));
  printer.FillPrnInfo(EMFPages.PageInfo(0).PrnInfo);
  const std::string title = Title.empty() ? LoadStr(kStrUntitled) : Title;
  if (OnPrintReport) OnPrintReport();

  Terminated = false;
  ProgressCaption = PreparingCaption();
  ProgressStage = LoadStr(kStrPrintingPage);
  PrintScope scope(*this, ShowProgress && !OnProgress);
  // The job starts with the first page that prints, so a list that selects nothing sends
  // nothing to the printer.
  bool started = false;
  for (int pass = 0; pass < (collate ? copies : 1); ++pass) {
    for (int i = 0; i < count; ++i) {
      if (!pages.contains(i + 1) || !prints(i + 1, which)) continue;
      TvtPreparedPage& page = EMFPages.PageInfo(i);
      if (printer.IsEqual(page.PageSize, page.PageWidth, page.PageHeight, orientation_of(page),
                          page.Bin)) {
        if (started) device.NewPage();
      } else {
        if (started) device.EndDoc();
        take_paper(page);
        started = false;
      }
      if (!started) device.BeginDoc(title, g.fonts);
      started = true;
      printer.FillPrnInfo(page.PrnInfo);
      page.Visible = true;
      Canvas& canvas = device.JobCanvas();
      EMFPages.PrinterCanvas = &canvas;
      EMFPages.Draw(i, canvas, target_rect(page));
      page.Visible = false;
      EMFPages.Draw(i, canvas, Rect{});  // drops the page's objects
      ReportProgress(i + 1);
      if (Terminated) return;  // the scope drops the job
    }
  }
  if (started) device.EndDoc();
}

}  // namespace zr
