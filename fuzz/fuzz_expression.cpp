// Converts and evaluates arbitrary expression text, and runs arbitrary text as a postfix
// form (stray operator codes, unbalanced quotes and brackets). Names have fixed values;
// functions evaluate their argument texts through the same parser, so nested calls re-enter
// it. Errors are expected; crashes, hangs and reads outside the operand stack are not.
#include <cstdint>
#include <string>
#include <string_view>

#include "engine/model/variables.h"
#include "engine/run/function_splitter.h"
#include "engine/run/parser.h"
#include "platform/errors.h"
#include "platform/value.h"

namespace {

zr::TvtParser make_parser() {
  zr::TvtParser parser;
  parser.OnGetValue = [](const std::string& name, zr::Value& out) {
    switch (name.size() % 4) {
      case 0:
        out = zr::Value(int32_t{3});
        break;
      case 1:
        out = zr::Value(2.5);
        break;
      case 2:
        out = zr::Value(name);
        break;
      default:
        out = zr::Value::null();
        break;
    }
  };
  return parser;
}

void run(zr::TvtParser& parser, std::string_view text) {
  try {
    const std::string postfix = parser.ToPostfix(text);
    (void)parser.EvaluatePostfix(postfix);
  } catch (const zr::ZorelError&) {
  }
  try {
    (void)parser.EvaluatePostfix(text);
  } catch (const zr::ZorelError&) {
  }
}

void split(std::string_view text) {
  zr::TvtVariables variables;
  variables.SetVariable("V", zr::Value(std::string(text.substr(0, text.size() / 2))));
  zr::TvtFunctionSplitter splitter({"SUM", "F"}, &variables);
  try {
    splitter.Split(text);
  } catch (const zr::ZorelError&) {
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  zr::TvtParser parser = make_parser();
  parser.OnFunction = [&parser](const std::string&, const zr::Value& p1, const zr::Value& p2,
                                const zr::Value& p3, zr::Value& out) {
    out = parser.Evaluate(p1.raw_string()) + parser.Evaluate(p2.raw_string());
    if (!p3.raw_string().empty()) out = parser.Evaluate(p3.raw_string());
  };
  run(parser, text);
  split(text);
  return 0;
}
