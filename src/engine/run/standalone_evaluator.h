#pragma once
// Expressions and scripts outside a report: the parser and the interpreter wired to a list of
// variables, the constant list and both function libraries. Names resolve to a variable, then
// to a constant; any other name raises "Undefined symbol" with the name in double quotes, as
// a report run does. Used by `zrtool eval` and by tests that need the whole language.
//
// Not thread-safe. Message and input boxes go to the UiServices given.

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "engine/model/variables.h"
#include "engine/run/function_context.h"
#include "engine/run/function_library.h"
#include "engine/run/function_registry.h"
#include "engine/run/interpreter.h"
#include "engine/run/parser.h"
#include "platform/date_time.h"
#include "platform/ui_services.h"

namespace zr {

class StandaloneEvaluator {
 public:
  // `ui` and `clock` must outlive the evaluator.
  explicit StandaloneEvaluator(UiServices& ui, const Clock& clock = Clock::system());
  ~StandaloneEvaluator();
  StandaloneEvaluator(const StandaloneEvaluator&) = delete;
  StandaloneEvaluator& operator=(const StandaloneEvaluator&) = delete;

  TvtVariables& variables() { return variables_; }
  const TvtVariables& constants() const { return constants_; }

  // Raises what evaluation raises (ConversionError, UnbalancedArgumentsError, ZorelError).
  Value Evaluate(std::string_view expression);

  // Compiles and runs a script; assignments go to variables(). Returns the compile error
  // lines ("Line n/c: message"); errors while running propagate. `step_limit` (0 = none)
  // stops a script that does not end by itself with ScriptStoppedError.
  std::vector<std::string> RunScript(const std::vector<std::string>& source,
                                     uint64_t step_limit = 0);

 private:
  class Interpreter;
  void GetValue(const std::string& name, Value& value) const;
  void CallFunction(const std::string& name, const Value& p1, const Value& p2, const Value& p3,
                    Value& value);

  TvtVariables variables_;
  TvtVariables constants_;
  TvtParser parser_;
  TvtInstalledFunctions installed_;
  FunctionContext context_;
  TvtFunctionRegistry registry_;
  std::unique_ptr<Interpreter> interpreter_;
};

}  // namespace zr
