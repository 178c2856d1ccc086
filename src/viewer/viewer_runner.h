#pragma once
// ViewerRunner: what the control's methods do. It owns the report component (`Report`), the
// run-time dataset components of the control's form, the export filters, the mail component
// and the chart object, and runs:
//   RunReport(mode)  PreviewReport (0) and PrintReport (1): reset, load, history, show/print;
//   ResetReport      empties the report and destroys the previous run's datasets;
//   LoadReport       form download, data page, sections, datasets, relations, Params,
//                    GridMeta, ImageFile, preparation;
//   SaveImage, SendEMail, GetFile, ClearHistory.
//
// Expected failures (no permission, download error, a form that does not load, timeout,
// server error, an error that stopped preparation, export errors) go to the control's Log
// (and a message box where the control shows one) and return normally; anything else raises
// and becomes the member's failure code. What Log leaves out (the address and HTTP status
// behind "SERVER ERROR.", data that no band uses) goes to the control's diagnostics.
//
// Every download of a load (form, pictures) gives up after TimeOut ticks (below 10: 600),
// the data page wait after TimeOut + 1 ticks; the work files of a load are removed on every
// way out.
//
// Preview is headless: the prepared pages stay in `report()` until the next run (no window
// is opened). Printing goes through PrintPreparedReport, which says in Log that nothing was
// printed. The engine state (TvtGlobals) must be installed for the runner's whole life.
// Single-threaded; the data page wait polls its transfer in 100 ms ticks.

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "engine/report/report.h"
#include "objects/add_in_objects.h"
#include "platform/date_time.h"
#include "platform/net/curl_http_session.h"
#include "viewer/chart_object.h"
#include "viewer/export_filter_set.h"
#include "viewer/mapi_control.h"
#include "viewer/report_runner.h"
#include "viewer/section_components.h"

namespace zr {

class TzrViewer;

// The HTTP client component's settings on the control's form.
HttpSessionOptions viewer_http_options();

// Message texts of a run (ANSI).
inline constexpr const char* kNoPermission =
    "\xB1\xC7\xC7\xD1\xC0\xCC \xBE\xF8\xBD\xC0\xB4\xCF\xB4\xD9.";  // "권한이 없습니다."
inline constexpr const char* kTimeOutNotice = "Time out.";
inline constexpr const char* kTimeOutLog = "Time out";
inline constexpr const char* kServerError = "SERVER ERROR.";
// Follows the ImageName in the notice about a folder that cannot be made.
inline constexpr const char* kBadFileName =
    " File Name\xC0\xCC \xC0\xDF\xB8\xF8\xB5\xC7\xBE\xFA\xBD\xC0\xB4\xCF\xB4\xD9.";  // "이
                                                                                     // 잘못되었습니다."
inline constexpr const char* kEmptyReportFile = "Empty Property ReportFile";
// The form download's error when there is no address to download.
inline constexpr const char* kReportFileNotSet = "ReportFile is not set";

class ViewerRunner : public ReportRunner {
 public:
  struct Services {
    CurlHttpSession& http;  // the form's HTTP client; also fetches the data page
    MailHandOff& mail;      // where SendEMail hands its message
    const Clock& clock;     // TimeStamp and history stamps
    // Length of one data page tick; 100 ms in the control.
    std::chrono::milliseconds tick = std::chrono::milliseconds(100);
  };

  // The services are not owned and must outlive the runner.
  explicit ViewerRunner(Services services);
  ~ViewerRunner() override;

  void PreviewReport(TzrViewer& viewer) override { RunReport(viewer, 0); }
  void PrintReport(TzrViewer& viewer) override { RunReport(viewer, 1); }
  void SaveImage(TzrViewer& viewer, int8_t image_type, const std::string& image_name) override;
  void SendEMail(TzrViewer& viewer, int8_t image_type, const std::string& image_name) override;
  void GetFile(TzrViewer& viewer) override;
  void ClearHistory(TzrViewer& viewer) override;

  // mode 0 shows, mode 1 prints.
  void RunReport(TzrViewer& viewer, int mode);
  void ResetReport();
  void LoadReport(TzrViewer& viewer);

  TvtReport& report() { return Report; }
  SectionComponents& components() { return components_; }
  ExportFilterSet& export_filters() { return filters_; }
  TMapiControl& mail() { return map_; }
  TvtChartObject& chart() { return chart_; }
  // The pages of the last PreviewReport stay shown (inside the control when InHtml was "1").
  bool shown() const { return shown_; }
  // Ticks the last data page wait counted (0 when the last load fetched no page).
  int wait_ticks() const { return wait_ticks_; }

  // Grid texts of GridMeta become the MetaString of every grid view of that name, and are
  // also handed here.
  std::function<void(TvtView& grid, const std::string& text)> OnGridText;

 private:
  // Downloads ReportFile and reads the form; false with Log set when the load stops (no
  // address, a download error, bytes that are no form).
  bool LoadForm(TzrViewer& viewer);
  // Fetches the data page into the work file; false when the load stops (timeout).
  bool FetchDataPage(TzrViewer& viewer, const std::filesystem::path& page_file);
  // "SERVER ERROR." in Log (and a message box unless publ is 1); `detail` (the address and
  // why) goes to the host's diagnostics.
  void ServerError(TzrViewer& viewer, const std::string& detail);
  void ApplyGridMeta(const std::string& grid_meta);
  void ConnectLinkHandlers(TzrViewer& viewer);
  void ExportReport(TzrViewer& viewer, int8_t image_type, const std::string& image_name);

  Services services_;
  TvtReport Report;
  SectionComponents components_;
  ExportFilterSet filters_;
  TMapiControl map_;
  TvtChartObject chart_;
  TvtAddInObjects add_in_objects_;
  bool shown_ = false;
  int wait_ticks_ = 0;
  std::string data_page_failure_;  // why the last data page fetch brought no page
};

}  // namespace zr
