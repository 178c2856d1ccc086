#include "form_build.h"

#include "engine/report/report.h"
#include "form_json.h"
#include "platform/byte_stream.h"

namespace zr::tool {
namespace {

// Reports every leaf where `built` and `read` differ, with its path.
void report_differences(const Json& built, const Json& read, const std::string& path,
                        const std::function<void(const std::string&)>& warn) {
  if (built.is_object() && read.is_object()) {
    for (const auto& item : built.items()) {
      std::string child = path.empty() ? item.key() : path + "." + item.key();
      if (read.contains(item.key()))
        report_differences(item.value(), read[item.key()], child, warn);
    }
    return;
  }
  if (built.is_array() && read.is_array() && built.size() == read.size()) {
    for (size_t i = 0; i < built.size(); ++i)
      report_differences(built[i], read[i], path + "[" + std::to_string(i) + "]", warn);
    return;
  }
  if (built != read) warn(path + ": " + built.dump() + " reads back as " + read.dump());
}

}  // namespace

std::string BuildForm(ToolEngine& engine, const Json& form, const std::string& source,
                      int code_page, const std::function<void(const std::string&)>& warn) {
  TvtReport report("form");
  ReportFromJson(form, report, source, code_page);
  // The file names the printer selected when it is written.
  engine.use_printer(report.PrinterName);
  // Writing turns empty link fields into blanks; compare what was built, not what was written.
  Json built = ReportToJson(report, code_page);
  ByteWriter first;
  report.SaveToStream(first);

  TvtReport read_back("form");
  engine.load_form(read_back, first.bytes(), source);
  report_differences(built, ReportToJson(read_back, code_page), "", warn);
  ByteWriter second;
  read_back.SaveToStream(second);
  return second.take();
}

Json DumpForm(ToolEngine& engine, std::string_view bytes, const std::string& source,
              int code_page) {
  TvtReport report("form");
  engine.load_form(report, bytes, source);
  return ReportToJson(report, code_page);
}

}  // namespace zr::tool
