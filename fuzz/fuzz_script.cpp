// Compiles arbitrary text as a script and runs what compiled under a small step budget; also
// runs the raw lines as if they were a compiled script (short jump lines, stray codes) and
// lists function calls. Names hold values of mixed kinds; functions evaluate their argument
// texts through the same interpreter, so calls re-enter it. Errors are expected; crashes,
// hangs and unbounded recursion are not.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/model/variables.h"
#include "engine/run/interpreter.h"
#include "platform/errors.h"
#include "platform/text_lines.h"
#include "platform/value.h"

namespace {

class FuzzInterpreter : public zr::TvtInterpretator {
 public:
  FuzzInterpreter() { StepLimit = 2000; }

  void ReadVariable(const std::string& name, zr::Value& value) override {
    value = variables.GetVariable(name);
    if (!value.is_null()) return;
    switch (name.size() % 3) {
      case 0:
        value = zr::Value(int32_t{3});
        break;
      case 1:
        value = zr::Value(name);
        break;
      default:
        value = zr::Value::null();
        break;
    }
  }
  void WriteVariable(const std::string& name, const zr::Value& value) override {
    if (variables.Count() < 64 || variables.IndexOf(name) >= 0) variables.SetVariable(name, value);
  }
  void CallFunction(const std::string&, const zr::Value& p1, const zr::Value& p2,
                    const zr::Value& p3, zr::Value& value) override {
    value = Evaluate(p1.raw_string());
    if (!p2.raw_string().empty()) value = Evaluate(p2.raw_string());
    if (!p3.raw_string().empty()) value = Evaluate(p3.raw_string());
  }

  zr::TvtVariables variables;
};

template <typename F>
void guarded(F&& f) {
  try {
    f();
  } catch (const zr::ZorelError&) {
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const std::vector<std::string> source = zr::split_lines(text);
  FuzzInterpreter interpreter;
  std::vector<std::string> compiled;
  std::vector<std::string> errors;
  interpreter.CompileScript(source, compiled, errors);
  guarded([&] { interpreter.RunScript(compiled); });
  guarded([&] { interpreter.RunScript(source); });
  guarded([&] {
    std::vector<std::string> calls;
    zr::TvtInterpretator::ListFunctionCalls(compiled, {"SUM", "F"}, &interpreter.variables, calls);
  });
  return 0;
}
