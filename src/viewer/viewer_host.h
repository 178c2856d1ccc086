#pragma once
// A ready control for a host: MakeViewer starts the report engine, creates the control
// (TzrViewer) with its HTTP client, printers, mail hand-off and work folder, and attaches the
// runner that does the work of its methods. A host sets properties and calls methods on
// `viewer()`, or goes through the dispatch table (viewer_dispatch.h) with it.
//
//   HeadlessUi ui;                                  // or the GTK UiServices
//   std::unique_ptr<ViewerSession> session = MakeViewer(ui);
//   TzrViewer& viewer = session->viewer();
//   viewer.Set_ReportFile("http://host/r/sales.zrf");
//   viewer.Set_dataFile("http://host/r/sales_data.html");
//   viewer.SaveImage(0, "/tmp/sales.pdf");          // Log tells the outcome; "" is success
//
// One session per process at a time: the engine state is process-wide (TvtGlobals), and the
// session installs it for its life. Everything runs on the thread that made the session.

#include <memory>
#include <optional>

#include "engine/report/tvt_globals.h"
#include "platform/date_time.h"
#include "platform/net/curl_http_session.h"
#include "platform/printing/printer_system.h"
#include "platform/ui_services.h"
#include "viewer/mapi_control.h"
#include "viewer/viewer_runner.h"
#include "viewer/work_folder.h"
#include "viewer/zr_viewer.h"

namespace zr {

struct ViewerOptions {
  // Default: WorkFolder::from_environment() ($ZOREL_HOME, else ~/Zorel).
  std::optional<WorkFolder> work_folder;
  // Default: the CUPS printers (the virtual printer alone when no print service answers).
  std::unique_ptr<PrinterSystem> printers;
  // Default: xdg-email.
  std::unique_ptr<MailHandOff> mail;
  // Default: the system clock. Not owned; must outlive the session.
  const Clock* clock = nullptr;
};

class ViewerSession {
 public:
  // `ui` is not owned and must outlive the session.
  ViewerSession(UiServices& ui, ViewerOptions options);
  ~ViewerSession();
  ViewerSession(const ViewerSession&) = delete;
  ViewerSession& operator=(const ViewerSession&) = delete;

  TzrViewer& viewer() { return *viewer_; }
  ViewerRunner& runner() { return *runner_; }
  TvtGlobals& globals() { return *globals_; }
  CurlHttpSession& http() { return http_; }

 private:
  std::unique_ptr<PrinterSystem> printers_;
  std::unique_ptr<MailHandOff> mail_;
  const Clock& clock_;
  CurlHttpSession http_;
  std::unique_ptr<TvtGlobals> globals_;
  std::unique_ptr<TzrViewer> viewer_;
  ViewerRunner* runner_ = nullptr;  // owned by the viewer
};

// The control as a host gets it: engine started, runner attached.
std::unique_ptr<ViewerSession> MakeViewer(UiServices& ui, ViewerOptions options = {});

}  // namespace zr
