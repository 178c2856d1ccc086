#include "engine/run/standalone_evaluator.h"

#include "engine/run/add_function_library.h"
#include "engine/run/constant_list.h"
#include "engine/run/std_function_library.h"
#include "platform/errors.h"

namespace zr {

// Scripts read and write the evaluator's variables and call the same functions.
class StandaloneEvaluator::Interpreter : public TvtInterpretator {
 public:
  explicit Interpreter(StandaloneEvaluator& owner) : owner_(owner) {}
  void ReadVariable(const std::string& name, Value& value) override {
    owner_.GetValue(name, value);
  }
  void WriteVariable(const std::string& name, const Value& value) override {
    owner_.variables_.SetVariable(name, value);
  }
  void CallFunction(const std::string& name, const Value& p1, const Value& p2, const Value& p3,
                    Value& value) override {
    owner_.CallFunction(name, p1, p2, p3, value);
  }

 private:
  StandaloneEvaluator& owner_;
};

StandaloneEvaluator::StandaloneEvaluator(UiServices& ui, const Clock& clock)
    : context_{parser_, ui, FormatSettings::defaults(), clock, installed_},
      registry_(context_),
      interpreter_(std::make_unique<Interpreter>(*this)) {
  FillConstantList(constants_);
  registry_.RegisterFunctionLibrary<TvtStdFunctionLibrary>();
  registry_.RegisterFunctionLibrary<TAddFunctionLibrary>();
  context_.run_script_line = [this](const std::string& line) {
    std::vector<std::string> errors = interpreter_->CompileAndRun({line});
    if (!errors.empty()) throw ZorelError(errors.front());
  };
  parser_.OnGetValue = [this](const std::string& name, Value& value) { GetValue(name, value); };
  parser_.OnFunction = [this](const std::string& name, const Value& p1, const Value& p2,
                              const Value& p3,
                              Value& value) { CallFunction(name, p1, p2, p3, value); };
}

StandaloneEvaluator::~StandaloneEvaluator() = default;

Value StandaloneEvaluator::Evaluate(std::string_view expression) {
  return parser_.Evaluate(expression);
}

std::vector<std::string> StandaloneEvaluator::RunScript(const std::vector<std::string>& source,
                                                        uint64_t step_limit) {
  interpreter_->StepLimit = step_limit;
  return interpreter_->CompileAndRun(source);
}

void StandaloneEvaluator::GetValue(const std::string& name, Value& value) const {
  if (int i = variables_.IndexOf(name); i >= 0) {
    value = variables_.ValueAt(i);
    return;
  }
  if (int i = constants_.IndexOf(name); i >= 0) {
    value = constants_.ValueAt(i);
    return;
  }
  throw ZorelError("Undefined symbol \"" + name + "\"");
}

void StandaloneEvaluator::CallFunction(const std::string& name, const Value& p1, const Value& p2,
                                       const Value& p3, Value& value) {
  if (!DispatchToLibraries(registry_, name, p1, p2, p3, value))
    throw ZorelError("Undefined function \"" + name + "\"");
}

}  // namespace zr
