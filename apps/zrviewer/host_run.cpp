#include "host_run.h"

#include <cstdio>
#include <filesystem>
#include <ostream>

#include "host_page_window.h"
#include "host_paths.h"
#include "platform/codepage.h"
#include "platform/number_text.h"
#include "platform/text_lines.h"
#include "viewer/export_filter_set.h"
#include "viewer/viewer_dispatch.h"

namespace zr::host {
namespace {

// "E_UNEXPECTED 0x8000FFFF", or the bare number when the code has no name.
std::string code_text(int32_t code) {
  char hex[16];
  std::snprintf(hex, sizeof hex, "0x%08X", static_cast<uint32_t>(code));
  std::string name = hresult_name(code);
  return name == hex ? name : name + " " + hex;
}

void report_failure(std::ostream& err, const std::string& what, const ComResult& result) {
  err << "zrviewer: " << what << " failed: " << result.description << " (" << code_text(result.code)
      << ")\n";
}

// The argument of a setting as the control takes it: text, or a window for a page address
// (an empty address clears the window).
DispValue setting_argument(const PropertySetting& setting, HostPageFactory make_window) {
  if (!setting.host_page) return DispValue(Value(setting.value));
  if (setting.value.empty()) return DispValue();
  return DispValue(make_window(setting.value));
}

bool is_named(const PropertySetting& setting, std::string_view name) {
  return !setting.host_page && same_text_ascii(setting.name, name);
}

bool takes_image_type(const CommandLine& line) {
  return line.command->method == "SaveImage" || line.command->method == "SendEMail";
}

// The command line's folder; empty when it is gone (relative names then stay as they are).
std::filesystem::path current_folder() {
  std::error_code ec;
  std::filesystem::path folder = std::filesystem::current_path(ec);
  return ec ? std::filesystem::path() : folder;
}

// The control exports nothing for a TYPE outside the table and calls that a success; on a
// command line that is a mistake worth stopping for. Numbers that do not fit the argument are
// left to the dispatch table's own error.
bool check_image_type(const CommandLine& line, std::ostream& err) {
  if (!takes_image_type(line) || line.arguments.empty()) return true;
  const std::optional<int32_t> type = try_str_to_int(line.arguments[0]);
  if (!type || *type < -128 || *type > 127 || image_type_info(*type)) return true;
  err << "zrviewer: " << line.command->method << " failed: TYPE " << *type
      << " has no export format; TYPE is " << image_type_list() << "\n";
  return false;
}

// Sends the control's diagnostics to the command line's stderr while a line runs.
class DiagnosticsScope {
 public:
  DiagnosticsScope(TzrViewer& viewer, std::ostream& err, TerminalUi* terminal) : viewer_(viewer) {
    viewer_.set_diagnostics([&err, terminal](DiagnosticKind kind, const std::string& text) {
      const std::string line = std::string("zrviewer: ") +
                               (kind == DiagnosticKind::Warning ? "warning: " : "") +
                               ansi_to_utf8(single_line(text));
      if (terminal) {
        terminal->print_line(line);
      } else {
        err << line << "\n";
        err.flush();
      }
    });
  }
  ~DiagnosticsScope() { viewer_.set_diagnostics(nullptr); }
  DiagnosticsScope(const DiagnosticsScope&) = delete;
  DiagnosticsScope& operator=(const DiagnosticsScope&) = delete;

 private:
  TzrViewer& viewer_;
};

std::vector<DispValue> method_arguments(const CommandLine& line, const std::filesystem::path& cwd) {
  std::vector<DispValue> args;
  for (size_t i = 0; i < line.arguments.size(); ++i) {
    const bool name = takes_image_type(line) && i == 1;
    args.emplace_back(Value(name ? output_name_for(line.arguments[i], cwd) : line.arguments[i]));
  }
  // SaveImage and SendEMail take a name; none means the default name.
  if (const DispMember* member = find_member(line.command->method))
    while (args.size() < member->params.size()) args.emplace_back(Value(std::string()));
  return args;
}

}  // namespace

std::shared_ptr<HostWindow> make_host_page_window(const std::string& url) {
  return std::make_shared<HostPageWindow>(utf8_to_ansi(url));
}

int run_command_line(const CommandLine& line, TzrViewer& viewer, std::ostream& out,
                     std::ostream& err, HostPageFactory make_window, TerminalUi* terminal,
                     TimeLimit* limit) {
  if (!check_image_type(line, err)) return kExitMemberFailed;
  DiagnosticsScope diagnostics(viewer, err, terminal);
  const std::filesystem::path cwd = current_folder();
  for (PropertySetting setting : line.settings) {
    if (is_named(setting, "ReportFile") || is_named(setting, "dataFile"))
      setting.value = address_for(setting.value, cwd);
    ComResult put =
        invoke(viewer, setting.name, DispKind::Put, {setting_argument(setting, make_window)});
    if (!put.ok()) {
      report_failure(err, "--" + setting.name, put);
      return kExitMemberFailed;
    }
  }

  const std::string method(line.command->method);
  ComResult call = invoke(viewer, method, DispKind::Call, method_arguments(line, cwd));
  if (limit && limit->finish()) {
    const std::string text = limit->log_text();
    invoke(viewer, "Log", DispKind::Put, {DispValue(Value(text))});
    out << "Log: " << text << "\n";
    return kExitLogged;
  }
  ComResult log = invoke(viewer, "Log", DispKind::Get);
  const std::string log_text = log.ok() ? log.value.raw_string() : std::string();
  if (!log_text.empty()) out << "Log: " << single_line(log_text) << "\n";
  if (!call.ok()) {
    report_failure(err, method, call);
    return kExitMemberFailed;
  }
  if (!log_text.empty()) return kExitLogged;
  if (method == "SaveImage" && !viewer.OutputFileName.empty() &&
      std::filesystem::exists(ansi_to_utf8(viewer.OutputFileName)))
    out << "Saved " << ansi_to_utf8(viewer.OutputFileName) << "\n";
  return kExitOk;
}

}  // namespace zr::host
