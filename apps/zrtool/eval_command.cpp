// zrtool eval: evaluates an expression, or runs a script and prints its variables, with the
// report language's parser, interpreter, constants and function libraries. Text arrives and
// leaves in UTF-8; the engine works in the ANSI code page.
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "arguments.h"
#include "commands.h"
#include "engine/run/parser.h"
#include "engine/run/standalone_evaluator.h"
#include "platform/codepage.h"
#include "platform/errors.h"
#include "platform/number_text.h"
#include "platform/text_lines.h"
#include "platform/ui_services.h"

namespace zr::tool {
namespace {

struct EvalArguments {
  std::string expression;
  std::vector<std::string> variables;  // NAME=VALUE
  std::string script_file;
};

EvalArguments parse_arguments(const std::vector<std::string>& args) {
  EvalArguments parsed;
  std::vector<std::string> rest =
      parse_options(args, {{"--var", [&](const std::string& v) { parsed.variables.push_back(v); }},
                           {"--script", [&](const std::string& v) { parsed.script_file = v; }}});
  if (rest.size() > 1) throw ZorelError("give one expression (quote it)");
  if (!rest.empty()) parsed.expression = rest[0];
  if (parsed.expression.empty() && parsed.script_file.empty())
    throw ZorelError("no expression or script given");
  return parsed;
}

// A --var value is a number when it reads as one, else a string.
Value variable_value(const std::string& text) {
  if (auto integer = try_str_to_int(text)) return Value(*integer);
  if (auto real = try_str_to_float(text, FormatSettings::defaults())) return Value(*real);
  return Value(text);
}

std::string shown(const Value& value) {
  return ansi_to_utf8(value.to_string()) + " (" + value_kind_name(value.kind()) + ")";
}

std::vector<std::string> read_script(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw IoError("cannot read the script " + path);
  std::stringstream text;
  text << in.rdbuf();
  return split_lines(utf8_to_ansi(text.str()));
}

}  // namespace

int run_eval_command(const std::vector<std::string>& args, std::ostream& out) {
  EvalArguments arguments = parse_arguments(args);
  HeadlessUi ui(&std::cerr);
  StandaloneEvaluator evaluator(ui);
  for (const std::string& assignment : arguments.variables) {
    size_t equals = assignment.find('=');
    if (equals == std::string::npos || equals == 0)
      throw ZorelError("--var takes NAME=VALUE, not '" + assignment + "'");
    evaluator.variables().SetVariable(utf8_to_ansi(assignment.substr(0, equals)),
                                      variable_value(utf8_to_ansi(assignment.substr(equals + 1))));
  }
  try {
    if (!arguments.script_file.empty()) {
      std::vector<std::string> errors = evaluator.RunScript(read_script(arguments.script_file));
      for (const std::string& error : errors) std::cerr << ansi_to_utf8(error) << '\n';
      if (!errors.empty()) return 1;
      for (const TVariable& variable : evaluator.variables().Items())
        out << ansi_to_utf8(variable.name) << " = " << shown(variable.value) << '\n';
    }
    if (!arguments.expression.empty())
      out << shown(evaluator.Evaluate(utf8_to_ansi(arguments.expression))) << '\n';
  } catch (const UnbalancedArgumentsError&) {
    throw ZorelError("the parentheses of a function call do not balance");
  } catch (const ZorelError& error) {
    throw ZorelError(ansi_to_utf8(error.what()));
  }
  out.flush();
  return out ? 0 : 1;
}

}  // namespace zr::tool
