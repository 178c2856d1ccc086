#include "host_run.h"

#include <cstdio>
#include <filesystem>
#include <ostream>

#include "host_page_window.h"
#include "platform/codepage.h"
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

std::vector<DispValue> method_arguments(const CommandLine& line) {
  std::vector<DispValue> args;
  for (const std::string& argument : line.arguments) args.emplace_back(Value(argument));
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
                     std::ostream& err, HostPageFactory make_window, TimeLimit* limit) {
  for (const PropertySetting& setting : line.settings) {
    ComResult put =
        invoke(viewer, setting.name, DispKind::Put, {setting_argument(setting, make_window)});
    if (!put.ok()) {
      report_failure(err, "--" + setting.name, put);
      return kExitMemberFailed;
    }
  }

  const std::string method(line.command->method);
  ComResult call = invoke(viewer, method, DispKind::Call, method_arguments(line));
  if (limit && limit->finish()) {
    const std::string text = limit->log_text();
    invoke(viewer, "Log", DispKind::Put, {DispValue(Value(text))});
    out << "Log: " << text << "\n";
    return kExitLogged;
  }
  ComResult log = invoke(viewer, "Log", DispKind::Get);
  const std::string log_text = log.ok() ? log.value.raw_string() : std::string();
  if (!log_text.empty()) out << "Log: " << log_text << "\n";
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
