// zrviewer: the report viewer control hosted on the command line. Sets the control's
// properties, calls one of its methods and prints its Log; see --help.
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "command_line.h"
#include "host_run.h"
#include "terminal_ui.h"
#include "time_limit.h"
#include "viewer/viewer_host.h"

#ifdef ZR_HAVE_GUI
#include "gui/gtk_ui.h"
#include "gui/preview_window.h"

namespace {

// preview with a display: the control's messages and progress are windows, and the prepared
// report is shown in the preview window until the user closes it.
int run_with_window(const zr::host::CommandLine& line) {
  using namespace zr::host;
  zr::gui::GtkUi ui;
  std::optional<TimeLimit> limit;
  if (line.time_limit)
    limit.emplace(
        *line.time_limit, [&ui] { ui.cancel_progress(); }, std::cout);
  std::unique_ptr<zr::ViewerSession> session = zr::MakeViewer(ui);
  zr::TzrViewer& viewer = session->viewer();
  const int status = run_command_line(line, viewer, std::cout, std::cerr, make_host_page_window,
                                      nullptr, limit ? &*limit : nullptr);
  zr::TvtReport& report = session->runner().report();
  if (report.EMFPages.Count() > 0) {
    zr::gui::PreviewOptions options;
    options.HeaderColor = viewer.preview_colors().HeaderColor;
    options.HeaderLineColor = viewer.preview_colors().HeaderLineColor;
    options.HistoryFolder = viewer.work_folder().history();
    options.RunLog = [&viewer] { return viewer.Log; };
    zr::gui::RunPreviewWindow(ui, report, options);
  }
  return status;
}

}  // namespace
#endif

int main(int argc, char** argv) {
  using namespace zr::host;
  CommandLine line;
  try {
    line = parse_command_line(std::vector<std::string>(argv + 1, argv + argc));
  } catch (const UsageError& e) {
    std::cerr << "zrviewer: " << e.what() << "\n(zrviewer --help lists commands and options)\n";
    return kExitUsage;
  }
  if (line.help) {
    std::cout << help_text();
    return kExitOk;
  }
#ifdef ZR_HAVE_GUI
  if (!line.headless && line.command->method == "PreviewReport" && zr::gui::start_gtk())
    return run_with_window(line);
#endif
  // Message boxes go to stderr and take their default answer; the progress window is a line
  // on stderr when that is a terminal.
  TerminalUi ui(&std::cerr, stderr_terminal_columns());
  std::optional<TimeLimit> limit;
  if (line.time_limit)
    limit.emplace(
        *line.time_limit, [&ui] { ui.cancel_progress(); }, std::cout);
  std::unique_ptr<zr::ViewerSession> session = zr::MakeViewer(ui);
  return run_command_line(line, session->viewer(), std::cout, std::cerr, make_host_page_window, &ui,
                          limit ? &*limit : nullptr);
}
