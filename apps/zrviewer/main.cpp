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
