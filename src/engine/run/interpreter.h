#pragma once
// TvtInterpretator compiles report scripts (band, object and page scripts) into flat line
// lists (compiled_script.h, script_compiler.h) and runs them. It knows nothing about the
// report: reading a name, writing a name and calling a function are virtual operations that
// do nothing here; the report's subclass connects them to its resolvers.
//
// Names and calls inside expressions reach ReadVariable and CallFunction through the
// interpreter's own TvtParser, so evaluation rules and errors are the parser's.
//
// Errors: compiling never raises (errors come back as lines "Line n/c: message"). Running
// lets every error of evaluation and of the three operations propagate unchanged
// (ConversionError for a condition that is not comparable with 0, errors of the parser); a
// malformed compiled line raises ZorelError; a stop requested through StepLimit or
// OnCancel raises ScriptStoppedError. Lines executed before an error keep their effects.
//
// Not thread-safe. A run may re-enter the same interpreter (a function that compiles and
// runs another script); each run keeps its own position and step count.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/model/variables.h"
#include "engine/run/parser.h"
#include "platform/errors.h"
#include "platform/value.h"

namespace zr {

// A run stopped by its host (step limit or cancel request) rather than by the script.
class ScriptStoppedError : public ZorelError {
 public:
  explicit ScriptStoppedError(const std::string& message) : ZorelError(message) {}
};

class TvtInterpretator {
 public:
  TvtInterpretator();
  virtual ~TvtInterpretator() = default;
  // The private parser's callbacks refer to this object.
  TvtInterpretator(const TvtInterpretator&) = delete;
  TvtInterpretator& operator=(const TvtInterpretator&) = delete;

  // The value of a name met in an expression: bracketed names as written, bare identifiers
  // in upper case. `value` arrives empty; leaving it empty makes the name read as empty.
  virtual void ReadVariable(const std::string& name, Value& value);
  // An assignment `name := value`; the name as written in the script.
  virtual void WriteVariable(const std::string& name, const Value& value);
  // A call of a function other than the parser's built-ins: upper-case name and the source
  // texts of the first three arguments (strings, not evaluated).
  virtual void CallFunction(const std::string& name, const Value& p1, const Value& p2,
                            const Value& p3, Value& value);

  // Replaces `compiled` and `errors`; `source` may be the same list as `compiled`. On a
  // syntax error `compiled` holds the lines before the faulty statement and `errors` one line.
  virtual void CompileScript(const std::vector<std::string>& source,
                             std::vector<std::string>& compiled, std::vector<std::string>& errors);
  // Runs the lines from the first. An `exit` statement ends the run.
  virtual void RunScript(const std::vector<std::string>& compiled);

  // Compiles `source` and runs what compiled, also when compilation stopped at an error.
  // Returns the error lines.
  std::vector<std::string> CompileAndRun(const std::vector<std::string>& source);

  // Evaluates an expression through the interpreter's own operations.
  Value Evaluate(std::string_view expression) { return parser_.Evaluate(expression); }

  // Appends to `calls` every call of a function in `function_names` (any case) found in the
  // expressions of `compiled`: conditions, evaluated expressions and assigned values. Names
  // listed in `variables` (may be null) are looked into, as their values are expressions.
  // Raises what TvtFunctionSplitter raises.
  static void ListFunctionCalls(const std::vector<std::string>& compiled,
                                const std::vector<std::string>& function_names,
                                const TvtVariables* variables, std::vector<std::string>& calls);

  // How a host stops a script that does not end by itself. Both are checked before every
  // line a run executes, and either raises ScriptStoppedError: StepLimit when a single
  // RunScript has already executed that many lines (0, the default, means no limit);
  // OnCancel when it returns true (unset, the default, never cancels).
  uint64_t StepLimit = 0;
  std::function<bool()> OnCancel;

 private:
  // Executes line `i` and returns the index of the next line; `stop` is set by `exit`.
  size_t execute(const std::string& line, size_t i, bool& stop);

  TvtParser parser_;
};

}  // namespace zr
