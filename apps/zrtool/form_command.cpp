// zrtool form: builds a report form file (.zrf) from its JSON description and dumps a form
// file back into that JSON. A built file is what the engine reads back: the form is written,
// read and written again, and every field the engine reads differently from what the JSON
// gave is reported as a warning, so `dump` of a built file gives the JSON that builds the
// same bytes again.
#include <iostream>
#include <string>
#include <vector>

#include "arguments.h"
#include "commands.h"
#include "form_json.h"
#include "platform/byte_stream.h"
#include "platform/codepage.h"
#include "platform/errors.h"
#include "tool_engine.h"

namespace zr::tool {
namespace {

struct FormArguments {
  std::string action;  // build or dump
  std::string input;
  std::string output;
  int code_page = kDefaultAnsiCodePage;
};

FormArguments parse_arguments(const std::vector<std::string>& args) {
  FormArguments parsed;
  std::vector<std::string> rest = parse_options(
      args,
      {{"-o", [&](const std::string& v) { parsed.output = v; }},
       {"--code-page", [&](const std::string& v) { parsed.code_page = parse_code_page(v); }}});
  if (rest.empty() || (rest[0] != "build" && rest[0] != "dump"))
    throw ZorelError("give build or dump");
  if (rest.size() != 2) throw ZorelError("give one input file");
  parsed.action = rest[0];
  parsed.input = rest[1];
  if (parsed.action == "build" && parsed.output.empty())
    throw ZorelError("build needs -o FILE.zrf");
  return parsed;
}

Json parse_json(const std::string& text, const std::string& source) {
  try {
    return Json::parse(text, nullptr, true, /*ignore_comments=*/true);
  } catch (const Json::parse_error& e) {
    // The library's message starts with its own error code in brackets.
    std::string message = e.what();
    if (size_t end = message.find("] "); message.starts_with("[") && end != std::string::npos)
      message.erase(0, end + 2);
    throw FormatError("malformed JSON: " + message, source);
  }
}

// Reports every leaf where `built` and `read` differ, with its path.
void warn_differences(const Json& built, const Json& read, const std::string& path) {
  if (built.is_object() && read.is_object()) {
    for (const auto& item : built.items()) {
      std::string child = path.empty() ? item.key() : path + "." + item.key();
      if (read.contains(item.key())) warn_differences(item.value(), read[item.key()], child);
    }
    return;
  }
  if (built.is_array() && read.is_array() && built.size() == read.size()) {
    for (size_t i = 0; i < built.size(); ++i)
      warn_differences(built[i], read[i], path + "[" + std::to_string(i) + "]");
    return;
  }
  if (built != read)
    std::cerr << "zrtool form: warning: " << path << ": " << built.dump() << " reads back as "
              << read.dump() << '\n';
}

int build(const FormArguments& arguments) {
  Json form = parse_json(read_file(arguments.input), arguments.input);
  ToolEngine engine;
  TvtReport report("form");
  ReportFromJson(form, report, arguments.input, arguments.code_page);
  Json built = ReportToJson(report, arguments.code_page);
  ByteWriter first;
  report.SaveToStream(first);

  TvtReport read_back("form");
  engine.load_form(read_back, first.bytes(), arguments.output);
  warn_differences(built, ReportToJson(read_back, arguments.code_page), "");
  ByteWriter second;
  read_back.SaveToStream(second);
  write_file(arguments.output, second.bytes());
  return 0;
}

int dump(const FormArguments& arguments, std::ostream& out) {
  ToolEngine engine;
  TvtReport report("form");
  engine.load_form(report, read_file(arguments.input), arguments.input);
  std::string text = ReportToJson(report, arguments.code_page).dump(2) + "\n";
  if (!arguments.output.empty()) {
    write_file(arguments.output, text);
    return 0;
  }
  out << text;
  out.flush();
  return out ? 0 : 1;
}

}  // namespace

int run_form_command(const std::vector<std::string>& args, std::ostream& out) {
  FormArguments arguments = parse_arguments(args);
  return arguments.action == "build" ? build(arguments) : dump(arguments, out);
}

}  // namespace zr::tool
