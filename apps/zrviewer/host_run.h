#pragma once
// Runs a parsed command line against a control: every setting is put through the control's
// dispatch table in order, then the command calls its method, then Log is printed.

#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

#include "command_line.h"
#include "terminal_ui.h"
#include "time_limit.h"
#include "viewer/zr_viewer.h"

namespace zr::host {

// Exit statuses of zrviewer.
inline constexpr int kExitOk = 0;            // Log is empty
inline constexpr int kExitLogged = 1;        // Log records a failure
inline constexpr int kExitMemberFailed = 2;  // a property put or the method failed
inline constexpr int kExitUsage = 64;        // the command line is malformed

// Makes the window a --host-page address stands for; the address is UTF-8.
using HostPageFactory = std::shared_ptr<HostWindow> (*)(const std::string& url);
std::shared_ptr<HostWindow> make_host_page_window(const std::string& url);

// Stops at the first member that fails and prints its failure code and message to `err`.
// Prints a non-empty Log to `out` as "Log: TEXT" (one line) and, after a save that wrote a
// file, where the file is. With a time limit (may be null) that ran out, the limit's text
// becomes Log and the status is kExitLogged. Returns one of the exit statuses above (never
// kExitUsage).
//
// As the host it settles what the control leaves to hosts: a save or mail TYPE without an
// export format fails before anything runs, a relative NAME is taken in the current folder
// and a plain path in ReportFile or dataFile becomes a file:// address. The control's
// diagnostics (details behind Log, warnings) go to `err` as "zrviewer: TEXT" and
// "zrviewer: warning: TEXT" while the line runs, through `terminal` when given (so its
// progress line is cleared first).
int run_command_line(const CommandLine& line, TzrViewer& viewer, std::ostream& out,
                     std::ostream& err, HostPageFactory make_window = make_host_page_window,
                     TerminalUi* terminal = nullptr, TimeLimit* limit = nullptr);

}  // namespace zr::host
