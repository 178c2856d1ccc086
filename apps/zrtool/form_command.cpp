// zrtool form: builds a report form file (.zrf) from its JSON description (form_json.h) and
// dumps a form file back into that JSON; fields the engine reads back differently from the
// JSON are warnings on stderr.
#include <iostream>
#include <string>
#include <vector>

#include "arguments.h"
#include "commands.h"
#include "form_build.h"
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

int build(const FormArguments& arguments) {
  Json form = parse_json(read_file(arguments.input), arguments.input);
  ToolEngine engine;
  std::string bytes = BuildForm(
      engine, form, arguments.input, arguments.code_page,
      [](const std::string& text) { std::cerr << "zrtool form: warning: " << text << '\n'; });
  write_file(arguments.output, bytes);
  return 0;
}

int dump(const FormArguments& arguments, std::ostream& out) {
  ToolEngine engine;
  std::string text =
      DumpForm(engine, read_file(arguments.input), arguments.input, arguments.code_page).dump(2) +
      "\n";
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
