// Exporting the prepared pages through an export filter.
#include <fstream>

#include "engine/locale/locale_strings.h"
#include "engine/model/export_filter.h"
#include "engine/report/report.h"
#include "engine/report/tvt_globals.h"
#include "platform/errors.h"

namespace zr {

namespace {

// Puts the engine in run mode and makes `filter` the report's export target for the scope,
// also when an export raises.
class ExportScope {
 public:
  ExportScope(TvtReport& report, TvtExportFilter& filter)
      : report_(report), g_(TvtGlobals::Get()), saved_mode_(g_.mode), saved_report_(g_.CurReport) {
    g_.mode = EngineMode::Run;
    g_.CurReport = &report;  // the objects reach the filter through the current report
    report_.ExportFilter = &filter;
  }
  ~ExportScope() {
    report_.ExportFilter = nullptr;
    g_.CurReport = saved_report_;
    g_.mode = saved_mode_;
  }
  ExportScope(const ExportScope&) = delete;
  ExportScope& operator=(const ExportScope&) = delete;

 private:
  TvtReport& report_;
  TvtGlobals& g_;
  EngineMode saved_mode_;
  TvtReport* saved_report_;
};

// The filter writes into `Stream` only while the file is open.
struct StreamBinding {
  TvtExportFilter& filter;
  StreamBinding(TvtExportFilter& f, std::ostream& out) : filter(f) { filter.Stream = &out; }
  ~StreamBinding() { filter.Stream = nullptr; }
};

}  // namespace

void TvtReport::ExportReportTo(TvtExportFilter& filter, const std::string& file_name) {
  TvtGlobals& g = TvtGlobals::Get();
  filter.FileName = file_name;
  ExportScope scope(*this, filter);
  bool go_on = true;
  if (filter.OnBeforeExport) filter.OnBeforeExport(filter.FileName, go_on);
  if (!go_on || filter.ShowModal() != 1) return;

  std::ofstream out(filter.FileName, std::ios::binary | std::ios::trunc);
  if (!out) throw IoError("Cannot create file \"" + filter.FileName + "\"");
  {
    StreamBinding binding(filter, out);
    const int count = EMFPages.Count();
    g.TotalPages = count;
    filter.OnBeginDoc();
    ProgressCaption = PreparingCaption();
    ProgressStage = LoadStr(kStrProcessingPage);
    const bool window = ShowProgress && !OnProgress;
    if (window) g.ui.show_progress_window(ProgressCaption, ProgressStage);
    try {
      for (int i = 0; i < count; ++i) {
        filter.OnBeginPage();
        EMFPages.ExportPage(i);
        ReportProgress(i + 1);
        filter.OnEndPage();
      }
      filter.OnEndDoc();
    } catch (...) {
      if (window) g.ui.hide_progress_window();
      throw;
    }
    if (window) g.ui.hide_progress_window();
  }
  out.close();
  if (!out) throw IoError("Cannot write file \"" + filter.FileName + "\"");
  if (filter.OnAfterExport) filter.OnAfterExport(filter.FileName);
}

}  // namespace zr
