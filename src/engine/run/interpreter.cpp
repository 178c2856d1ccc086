#include "engine/run/interpreter.h"

#include "engine/run/compiled_script.h"
#include "engine/run/function_splitter.h"
#include "engine/run/script_compiler.h"
#include "platform/codepage.h"

namespace zr {

TvtInterpretator::TvtInterpretator() {
  parser_.OnGetValue = [this](const std::string& name, Value& value) { ReadVariable(name, value); };
  parser_.OnFunction = [this](const std::string& name, const Value& p1, const Value& p2,
                              const Value& p3,
                              Value& value) { CallFunction(name, p1, p2, p3, value); };
}

void TvtInterpretator::ReadVariable(const std::string&, Value&) {}

void TvtInterpretator::WriteVariable(const std::string&, const Value&) {}

void TvtInterpretator::CallFunction(const std::string&, const Value&, const Value&, const Value&,
                                    Value&) {}

void TvtInterpretator::CompileScript(const std::vector<std::string>& source,
                                     std::vector<std::string>& compiled,
                                     std::vector<std::string>& errors) {
  CompileScriptLines(source, compiled, errors);
}

void TvtInterpretator::RunScript(const std::vector<std::string>& compiled) {
  uint64_t steps = 0;
  bool stop = false;
  size_t i = 0;
  while (!stop && i < compiled.size()) {
    if (StepLimit != 0 && steps >= StepLimit) {
      throw ScriptStoppedError("Script stopped after " + std::to_string(steps) + " steps");
    }
    if (OnCancel && OnCancel()) throw ScriptStoppedError("Script cancelled");
    ++steps;
    // A copy: what the line calls may change the list.
    const std::string line = compiled[i];
    i = execute(line, i, stop);
  }
}

size_t TvtInterpretator::execute(const std::string& line, size_t i, bool& stop) {
  if (line.empty()) return i + 1;
  switch (line[0]) {
    case script::kConditionalJump: {
      const size_t target = script::jump_target(line);
      const Value condition = parser_.EvaluatePostfix(std::string_view(line).substr(3));
      return condition == Value(int32_t{0}) ? target : i + 1;
    }
    case script::kJump:
      return script::jump_target(line);
    case script::kEvaluate: {
      const std::string_view call = std::string_view(line).substr(1);
      if (upper_ascii(call) == "EXIT(0)") {
        stop = true;
      } else {
        (void)parser_.EvaluatePostfix(call);
      }
      return i + 1;
    }
    default: {
      const size_t blank = line.find(' ');
      const std::string name = line.substr(0, blank);
      const std::string_view value =
          blank == std::string::npos ? std::string_view() : std::string_view(line).substr(blank);
      WriteVariable(name, parser_.EvaluatePostfix(value));
      return i + 1;
    }
  }
}

std::vector<std::string> TvtInterpretator::CompileAndRun(const std::vector<std::string>& source) {
  std::vector<std::string> compiled;
  std::vector<std::string> errors;
  CompileScript(source, compiled, errors);
  RunScript(compiled);
  return errors;
}

void TvtInterpretator::ListFunctionCalls(const std::vector<std::string>& compiled,
                                         const std::vector<std::string>& function_names,
                                         const TvtVariables* variables,
                                         std::vector<std::string>& calls) {
  TvtFunctionSplitter splitter(function_names, variables);
  for (const std::string& line : compiled) {
    if (line.empty()) continue;
    switch (line[0]) {
      case script::kConditionalJump:
        if (line.size() > 3) splitter.Split(std::string_view(line).substr(3));
        break;
      case script::kJump:
        break;
      case script::kEvaluate:
        splitter.Split(std::string_view(line).substr(1));
        break;
      default: {
        const size_t blank = line.find(' ');
        if (blank != std::string::npos) splitter.Split(std::string_view(line).substr(blank));
        break;
      }
    }
  }
  calls.insert(calls.end(), splitter.SplitTo.begin(), splitter.SplitTo.end());
}

}  // namespace zr
